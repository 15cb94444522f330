#include "screenimage.h"

#include "imaging/picturefile.h"
#include "skin/profiles.h"
#include "skin/sheet.h"

#include <QPainter>

#include <algorithm>
#include <cstring>

namespace zelkor {

namespace {

constexpr std::array<NamedScreen, kNamedScreenCount> kNamedScreens{{
    {"account", "Выбор аккаунта", AccountSelectionScreen, 0},
    {"contacts-1", "Контакты", ContactListScreen, 0},
    {"contacts-2", "Контакты, 2 колонки", ContactListScreen, 1},
    {"popup-1", "Меню", PopupMenuScreen, 0},
    {"popup-2", "Меню, 2 колонки", PopupMenuScreen, 1},
    {"chat", "Чат", ChatScreen, 0},
    {"settings", "Настройки", SettingsScreen, 0},
}};

} // namespace

Status readBitmap(const QString &path, QImage &out)
{
    QString error;
    const QImage image = readImageFile(path, error);
    if (image.isNull())
        return Status::failure(error);
    out = image.convertToFormat(QImage::Format_RGB32);
    return Status::success();
}

const std::array<NamedScreen, kNamedScreenCount> &namedScreens()
{
    return kNamedScreens;
}

const NamedScreen *findNamedScreen(const QString &name)
{
    for (const NamedScreen &s : kNamedScreens)
        if (name == QLatin1String(s.name))
            return &s;
    return nullptr;
}

Status readIconSheets(const ProgramFiles &files, IconSheets &out)
{
    IconSheets read;
    if (Status s = readBitmap(files.dataPath(QStringLiteral("icons.bmp")), read.small); !s)
        return s;
    if (Status s = readBitmap(files.dataPath(QStringLiteral("icons32.bmp")), read.large); !s)
        return s;
    out = std::move(read);
    return Status::success();
}

Status readPhonePicture(const ProgramFiles &files, int profile, QImage &out)
{
    const Profile *p = profileByIndex(profile);
    if (!p)
        return Status::failure(QStringLiteral("Нет картинки телефона для профиля %1.").arg(profile));
    return readBitmap(files.dataPath(QString::fromUtf8(p->photoName)), out);
}

PreviewInput skinPreviewInput(const QImage &sheet, int profile, const IconSheets &icons, int columns)
{
    PreviewInput in;
    in.sheet = &sheet;
    in.profile = profile;
    if (const Profile *p = profileByIndex(profile))
        in.screen = p->screenSize();
    in.colours = readColourSlots(sheet, profile);
    in.smallIcons = &icons.small;
    in.largeIcons = &icons.large;
    in.columns = columns;
    return in;
}

QImage paintBoxPicture(int screen, const PreviewInput &in)
{
    QImage canvas = newPreviewBitmap(in.screen);
    Canvas surface(&canvas);
    renderPreview(screen, in, surface);
    return canvas;
}

QImage paintBoxPicture(const NamedScreen &shot, PreviewInput in)
{
    in.columns = shot.columns;
    return paintBoxPicture(shot.screen, in);
}

QImage onPhonePicture(const QImage &photo, int profile, const QImage &screen)
{
    const Profile *p = profileByIndex(profile);
    if (!p)
        return {};
    const QRect screenRect(p->previewOffset, screen.size());
    QImage out(std::max(photo.width(), screenRect.right() + 1), std::max(photo.height(), screenRect.bottom() + 1),
               QImage::Format_RGB32);
    out.fill(0xffffffffu);
    QPainter painter(&out);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(0, 0, photo);
    painter.drawImage(screenRect.topLeft(), screen);
    return out;
}

QImage contactsOnPhone(const QImage &sheet, int profile, const IconSheets &icons, const QImage &photo)
{
    const QImage screen =
        paintBoxPicture(*findNamedScreen(QStringLiteral("contacts-1")), skinPreviewInput(sheet, profile, icons, 0));
    return photo.isNull() ? screen : onPhonePicture(photo, profile, screen);
}

QImage enlargedByWholePixels(const QImage &image, int factor)
{
    if (factor <= 1 || image.isNull())
        return image;
    const QImage src = image.convertToFormat(QImage::Format_RGB32);
    QImage out(src.width() * factor, src.height() * factor, QImage::Format_RGB32);
    for (int y = 0; y < src.height(); ++y) {
        const auto *in = reinterpret_cast<const QRgb *>(src.constScanLine(y));
        auto *first = reinterpret_cast<QRgb *>(out.scanLine(y * factor));
        for (int x = 0; x < src.width(); ++x)
            std::fill_n(first + x * factor, factor, in[x]);
        for (int k = 1; k < factor; ++k)
            std::memcpy(out.scanLine(y * factor + k), first, out.bytesPerLine());
    }
    return out;
}

} // namespace zelkor
