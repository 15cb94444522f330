#include "galleryskin.h"

#include "gallerysite.h"
#include "session.h"

#include "design/legibility.h"
#include "skin/filedepth.h"
#include "skin/profiles.h"
#include "skin/skindocument.h"

#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace zelkor::cli {

namespace {

// Changes whenever what a skin's files hold changes, so an older site's
// pictures are drawn again rather than reused.
constexpr char kFormat[] = "zelkor-gallery 4";

QJsonArray sizeJson(QSize s)
{
    return {s.width(), s.height()};
}

QSize sizeFromJson(const QJsonValue &v)
{
    const QJsonArray a = v.toArray();
    return a.size() == 2 ? QSize(a[0].toInt(), a[1].toInt()) : QSize();
}

} // namespace

QString galleryKey(const QString &fileName, const QByteArray &bytes)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(QByteArrayView(kFormat));
    hash.addData(QByteArrayView("\n", 1));
    hash.addData(fileName.toUtf8());
    hash.addData(QByteArrayView("\n", 1));
    hash.addData(bytes);
    return QString::fromLatin1(hash.result().toHex().left(20));
}

QString recordPath(const QString &key)
{
    return QStringLiteral(".gallery/%1.json").arg(key);
}

QByteArray skinRecord(const GallerySkin &skin)
{
    QJsonArray colours;
    for (QRgb c : skin.colours)
        colours.append(qint64(c & 0xffffffu));
    QJsonObject o{{QStringLiteral("format"), QString::fromLatin1(kFormat)},
                  {QStringLiteral("key"), skin.key},
                  {QStringLiteral("file"), skin.fileName},
                  {QStringLiteral("profile"), skin.profile},
                  {QStringLiteral("bytes"), skin.fileSize},
                  {QStringLiteral("colours"), colours},
                  {QStringLiteral("screen"), sizeJson(skin.screen)},
                  {QStringLiteral("phone"), sizeJson(skin.phone)}};
    if (skin.legibility) {
        QJsonArray worst;
        for (double w : skin.legibility->worst)
            worst.append(w);
        o.insert(QStringLiteral("lowest"), skin.legibility->lowest);
        o.insert(QStringLiteral("worst"), worst);
    }
    return QJsonDocument(o).toJson(QJsonDocument::Compact) + '\n';
}

std::optional<GallerySkin> skinFromRecord(const QByteArray &record, const QString &key)
{
    const QJsonObject o = QJsonDocument::fromJson(record).object();
    if (o.value(QStringLiteral("format")).toString() != QLatin1String(kFormat) ||
        o.value(QStringLiteral("key")).toString() != key)
        return std::nullopt;
    GallerySkin skin;
    skin.key = key;
    skin.fileName = o.value(QStringLiteral("file")).toString();
    skin.profile = o.value(QStringLiteral("profile")).toInt();
    skin.fileSize = o.value(QStringLiteral("bytes")).toInteger(-1);
    skin.screen = sizeFromJson(o.value(QStringLiteral("screen")));
    skin.phone = sizeFromJson(o.value(QStringLiteral("phone")));
    const QJsonArray colours = o.value(QStringLiteral("colours")).toArray();
    if (skin.fileName.isEmpty() || !profileByIndex(skin.profile) || skin.fileSize < 0 || skin.screen.isEmpty() ||
        skin.phone.isEmpty() ||
        colours.size() != kColourSlotCount)
        return std::nullopt;
    for (int s = 0; s < kColourSlotCount; ++s)
        skin.colours[size_t(s)] = qRgb(0, 0, 0) | QRgb(colours[s].toInteger());
    if (const QJsonArray worst = o.value(QStringLiteral("worst")).toArray(); worst.size() == kColourSlotCount) {
        GalleryLegibility l;
        l.lowest = o.value(QStringLiteral("lowest")).toDouble(21);
        for (int s = 0; s < kColourSlotCount; ++s)
            l.worst[size_t(s)] = worst[s].toDouble();
        skin.legibility = l;
    }
    return skin;
}

DrawnSkin drawGallerySkin(const GalleryDrawing &drawing, const GallerySite &site, const GalleryFile &file)
{
    DrawnSkin out;
    SkinImage image;
    out.status = readSkinBytes(drawing.files, drawing.workFolder, file.bytes, file.path, image);
    if (!out.status) {
        out.unreadable = true;
        return out;
    }
    // The download holds the skin and nothing else the file carried.
    const QByteArray copy = bareSkinFile(file.bytes);

    GallerySkin skin;
    skin.fileName = file.fileName;
    skin.key = file.key;
    skin.profile = image.profile;
    skin.colours = readColourSlots(image.sheet, image.profile);
    skin.fileSize = copy.size();

    const PreviewInput in = skinPreviewInput(image.sheet, image.profile, *drawing.icons, 0);
    std::array<QImage, kNamedScreenCount> screens;
    for (int i = 0; i < kNamedScreenCount; ++i)
        screens[size_t(i)] = paintBoxPicture(namedScreens()[size_t(i)], in);
    // The sheet as read is what the phone shows: the converter gave back the
    // colours of the depth the file was saved at.
    const design::Legibility measure = design::measureSkinLegibility(image.sheet, image.profile, *drawing.icons);
    GalleryLegibility legibility;
    legibility.lowest = measure.lowest();
    for (const design::SlotLegibility &s : measure.perSlot)
        legibility.worst[size_t(s.slot)] = s.worst;
    skin.legibility = legibility;
    skin.screen = screens[0].size();
    const QImage phone = onPhonePicture(drawing.phones[size_t(image.profile)], image.profile,
                                        paintBoxPicture(*findNamedScreen(QStringLiteral("contacts-1")), in));
    skin.phone = phone.size();

    // The record goes last: a skin whose record is there has all its files.
    std::vector<std::pair<QString, QByteArray>> files{{phonePath(skin), pngBytes(phone)}};
    for (int i = 0; i < kNamedScreenCount; ++i)
        files.emplace_back(screenPath(skin, namedScreens()[size_t(i)]), pngBytes(screens[size_t(i)]));
    files.emplace_back(copyPath(skin), copy);
    files.emplace_back(recordPath(skin.key), skinRecord(skin));
    for (const auto &[relative, bytes] : files) {
        bool written = false;
        out.status = site.makeFolder(relative.section(u'/', 0, -2));
        if (out.status)
            out.status = writeFileIfChanged(site.path(relative), bytes, &written);
        if (!out.status)
            return out;
        out.files << relative;
        if (written)
            out.written << relative;
    }
    out.skin = std::move(skin);
    return out;
}

} // namespace zelkor::cli
