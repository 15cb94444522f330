#pragma once
// Resolution profiles and the fixed layout of the skin sheet.
//
// A skin is one bitmap made for one of six phone screen sizes. Everything that
// depends on that size -- file names, where the preview sits on the phone
// picture, where each picture and each colour lies in the sheet -- is a literal
// constant here, one row per profile. Nothing is computed from the screen size.

#include <QPoint>
#include <QRect>
#include <QString>

#include <array>
#include <optional>

namespace zelkor {

constexpr int kProfileCount = 6;   // profiles are numbered 1..6; 0 means "no skin"
constexpr int kPictureCount = 9;
constexpr int kColourSlotCount = 13;

struct Profile {
    int index;                 // 1..6
    int screenWidth;
    int screenHeight;
    const char *label;         // "176x208"
    const char *templateName;  // relative to the program folder
    const char *photoName;     // relative to the program folder
    const char *savePrefix;
    QPoint paintBoxPos;        // PaintBox1 in main-window client coordinates
    QPoint previewOffset;      // where the screen lies inside the phone picture
    int colourRowFirstColumn;
    int colourRow;
    const char *dialogItem;    // text in the new-skin dialog
    int layoutRows;            // rows the sheet layout reaches (0..n-1)

    QString labelText() const { return QString::fromUtf8(label); }
    QSize screenSize() const { return {screenWidth, screenHeight}; }
};

enum Picture : int {
    Menuline = 0,
    Contacts,
    Select1,
    Select2,
    SettingsTop,
    SettingsEl,
    SettingsSelect,
    Chat,
    AccountSel,
};

struct PictureInfo {
    const char *name;         // also names the working file
    const char *workingFile;  // relative to the program folder
    const char *caption;      // shown in the picture editing dialog
};

// A picture's rectangle in the sheet; x is always 0.
struct PictureRect {
    int y;
    int width;
    int height;
    QRect rect() const { return {0, y, width, height}; }
};

struct ColourRowOrigin {
    int firstColumn;
    int row;
};

// Profile 1..6, or nullptr for 0 and anything out of range.
const Profile *profileByIndex(int index);
// 1..6 for a known sheet width, 0 for any other width.
int profileIndexByWidth(int sheetWidth);
// 1..6 for a profile's label ("240x320"), 0 for anything else.
int profileIndexByLabel(const QString &label);

const PictureInfo &pictureInfo(int picture);  // picture 0..8
std::optional<PictureRect> pictureRect(int picture, int profile);
std::optional<ColourRowOrigin> colourRow(int profile);

const std::array<Profile, kProfileCount> &allProfiles();

} // namespace zelkor
