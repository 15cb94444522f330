#pragma once
// The preview screens as pictures of their own, for whatever shows a skin
// without the main window (the command-line program, the tests): each picture
// is exactly what PaintBox1 shows for one screen and column choice, and it can
// be placed on the profile's phone picture where the window places PaintBox1.

#include "preview.h"
#include "skin/programfiles.h"
#include "imaging/status.h"

#include <QImage>
#include <QString>

#include <array>

namespace zelkor {

// A screen by the name that files and the command line give it. The contact
// list and the popup menu over it come once per column choice; the message
// indicator draws nothing and has no picture.
struct NamedScreen {
    const char *name;   // "contacts-2": the key of the command line and of files
    const char *title;  // "Контакты, 2 колонки": what the window shows (UTF-8)
    int screen;         // a PreviewScreen
    int columns;        // the column selector's index

    QString nameText() const { return QString::fromLatin1(name); }
    QString titleText() const { return QString::fromUtf8(title); }
};

constexpr int kNamedScreenCount = 7;
// In the screen selector's order.
const std::array<NamedScreen, kNamedScreenCount> &namedScreens();
// nullptr for a name that is none of them.
const NamedScreen *findNamedScreen(const QString &name);

// An image file as the 24-bit bitmap the screens draw from; a failure names
// the file and the cause.
Status readBitmap(const QString &path, QImage &out);

// The two icon sheets, read as the main window reads them at start.
struct IconSheets {
    QImage small;  // icons.bmp
    QImage large;  // icons32.bmp
};
// Reads both from the data folder; a failure names the file and the cause.
Status readIconSheets(const ProgramFiles &files, IconSheets &out);
// The phone picture of `profile` (1..6) from the data folder.
Status readPhonePicture(const ProgramFiles &files, int profile, QImage &out);

// What a render of a skin reads once the swatches show the sheet's colour row,
// as they do from the first timer tick after a New or Load. `sheet` and
// `icons` must outlive the result, which points to them.
PreviewInput skinPreviewInput(const QImage &sheet, int profile, const IconSheets &icons, int columns);

// What PaintBox1 shows after a render of `screen`: a canvas of the screen's
// size, white before the render. The popup menu draws over the contact list
// on that same canvas, so it shows `in.columns` too.
QImage paintBoxPicture(int screen, const PreviewInput &in);
// The same for a named screen, with its column choice.
QImage paintBoxPicture(const NamedScreen &shot, PreviewInput in);

// The phone picture with `screen` where the window puts PaintBox1 on it (the
// profile's preview offset). A screen reaching past the picture extends it
// with the white of the frame behind the phone.
QImage onPhonePicture(const QImage &photo, int profile, const QImage &screen);
// How a skin is shown in small (a file manager's thumbnail, the recent files,
// the gallery's card): its contact list on the phone picture `photo`, or on
// its own when there is no photo.
QImage contactsOnPhone(const QImage &sheet, int profile, const IconSheets &icons, const QImage &photo);

// Every pixel becomes a `factor` x `factor` block of the same colour
// (nearest neighbour, no smoothing); `factor` 1 returns the image as it is.
QImage enlargedByWholePixels(const QImage &image, int factor);

} // namespace zelkor
