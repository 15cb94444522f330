#include "project.h"
#include "overrides.h"

#include "skin/profiles.h"
#include "skin/filewrite.h"
#include "skin/savename.h"

#include <QCryptographicHash>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <set>

namespace zelkor {

namespace {

QString colourText(QRgb c)
{
    return QStringLiteral("#%1").arg(c & 0xffffffu, 6, 16, QLatin1Char('0'));
}

std::optional<QRgb> colourFromText(const QJsonValue &v)
{
    static const QRegularExpression hex(QStringLiteral("^#[0-9a-fA-F]{6}$"));
    const QString text = v.toString();
    if (!hex.match(text).hasMatch())
        return std::nullopt;
    return 0xff000000u | text.mid(1).toUInt(nullptr, 16);
}

QString sizeLabel(int profile)
{
    return profileByIndex(profile)->labelText();
}

// `object` without the keys this version reads.
QJsonObject unknownFields(QJsonObject object, std::initializer_list<const char *> known)
{
    for (const char *key : known)
        object.remove(QLatin1String(key));
    return object;
}

const std::initializer_list<const char *> kTopKeys{"version", "name",     "size",      "colours",   "colour_overrides",
                                                   "sheets",  "pictures", "generator", "export", "threshold"};
const std::initializer_list<const char *> kPictureKeys{"source", "file", "placement", "overrides"};
const std::initializer_list<const char *> kPlacementKeys{"mode", "focus", "zoom", "margin", "scrim"};
const std::initializer_list<const char *> kExportKeys{"depth", "smooth", "sizes"};

QJsonObject placementJson(const SourcePlacement &p)
{
    QJsonObject o = p.extra;
    for (const FitModeName &m : fitModeNames())
        if (m.mode == p.mode)
            o.insert(QStringLiteral("mode"), QLatin1String(m.key));
    if (p.focus)
        o.insert(QStringLiteral("focus"), QJsonArray{p.focus->x(), p.focus->y()});
    if (p.zoom != 1.0)
        o.insert(QStringLiteral("zoom"), p.zoom);
    if (p.margin)
        o.insert(QStringLiteral("margin"), colourText(*p.margin));
    if (p.scrim > 0)
        o.insert(QStringLiteral("scrim"), p.scrim);
    return o;
}

bool readPlacement(const QJsonObject &o, SourcePlacement &p)
{
    const auto mode = fitModeByKey(o.value(QStringLiteral("mode")).toString());
    if (!mode)
        return false;
    p.mode = *mode;
    if (o.contains(QStringLiteral("focus"))) {
        const QJsonArray f = o.value(QStringLiteral("focus")).toArray();
        if (f.size() != 2 || !f[0].isDouble() || !f[1].isDouble())
            return false;
        p.focus = QPointF(f[0].toDouble(), f[1].toDouble());
    }
    p.zoom = o.value(QStringLiteral("zoom")).toDouble(1.0);
    if (!(p.zoom >= 1.0) || !std::isfinite(p.zoom))
        return false;
    if (o.contains(QStringLiteral("margin"))) {
        p.margin = colourFromText(o.value(QStringLiteral("margin")));
        if (!p.margin)
            return false;
    }
    // Projects written before scrims were kept have none.
    p.scrim = o.value(QStringLiteral("scrim")).toDouble(0.0);
    if (!(p.scrim >= 0.0 && p.scrim <= 1.0))
        return false;
    p.extra = unknownFields(o, kPlacementKeys);
    return true;
}

const char *kindKey(PictureSourceKind kind)
{
    switch (kind) {
    case PictureSourceKind::Template: return "template";
    case PictureSourceKind::Sheet: return "sheet";
    case PictureSourceKind::File: return "file";
    }
    return "template";
}

bool isHashName(const QString &hash)
{
    static const QRegularExpression hex(QStringLiteral("^[0-9a-f]{64}$"));
    return hex.match(hash).hasMatch();
}

QJsonObject sizeSourceJson(const SizeSource &source)
{
    QJsonObject p = source.extra;
    p.insert(QStringLiteral("source"), QLatin1String(kindKey(source.kind)));
    if (source.kind == PictureSourceKind::File) {
        p.insert(QStringLiteral("file"), pictureEntryName(source.file));
        p.insert(QStringLiteral("placement"), placementJson(source.placement));
    }
    return p;
}

bool readSizeSource(const QJsonObject &o, bool haveSheets, SizeSource &source)
{
    const QString kind = o.value(QStringLiteral("source")).toString(QStringLiteral("template"));
    source.extra = unknownFields(o, kPictureKeys);
    if (kind == QLatin1String("template"))
        return true;
    if (kind == QLatin1String("sheet")) {
        source.kind = PictureSourceKind::Sheet;
        return haveSheets;
    }
    const QString file = o.value(QStringLiteral("file")).toString();
    const QString hash = file.mid(int(qstrlen("pictures/")));
    source.kind = PictureSourceKind::File;
    source.file = hash;
    return kind == QLatin1String("file") && file == pictureEntryName(hash) && isHashName(hash)
           && readPlacement(o.value(QStringLiteral("placement")).toObject(), source.placement);
}

} // namespace

QPointF relativeFocus(const QPointF &pixels, const QSize &size)
{
    return {size.width() > 0 ? pixels.x() / size.width() : 0.5, size.height() > 0 ? pixels.y() / size.height() : 0.5};
}

Placement SourcePlacement::placementFor(const QSize &source, const QSize &target) const
{
    Placement p{mode, {}, margin};
    if (mode == FitMode::Cover) {
        std::optional<QPointF> at;
        // On a grid of 1/1024 pixel: a focus given in pixels comes back exactly,
        // not a hair off (which would round a half-pixel crop the other way).
        auto pixels = [](double fraction, int side) { return std::round(fraction * side * 1024.0) / 1024.0; };
        if (focus)
            at = QPointF(pixels(focus->x(), source.width()), pixels(focus->y(), source.height()));
        p.crop = coverCrop(source, target, at, zoom);
    }
    return p;
}

const SizeSource &PictureSource::at(int profile) const
{
    const auto it = overrides.find(profile);
    return it == overrides.end() ? *this : it->second;
}

QRgb SkinProject::colourAt(int profile, int slot) const
{
    if (const auto size = colourOverrides.find(profile); size != colourOverrides.end())
        if (const auto c = size->second.find(slot); c != size->second.end())
            return c->second;
    return colours[size_t(slot)];
}

ColourSlots SkinProject::coloursAt(int profile) const
{
    ColourSlots out{};
    for (int slot = 0; slot < kColourSlotCount; ++slot)
        out[size_t(slot)] = colourAt(profile, slot);
    return out;
}

const ImportedSheet *SkinProject::sheetAt(int profile) const
{
    for (const ImportedSheet &s : sheets)
        if (s.profile == profile)
            return &s;
    return nullptr;
}

QString SkinProject::addPictureFile(const QByteArray &bytes)
{
    const QString hash = sha256Hex(bytes);
    pictureFiles.emplace(hash, bytes);
    return hash;
}

void SkinProject::setColour(int slot, QRgb colour, int size)
{
    colour |= 0xff000000u;
    if (size != 0) {
        colourOverrides[size][slot] = colour;
        return;
    }
    colours[size_t(slot)] = colour;
    for (auto it = colourOverrides.begin(); it != colourOverrides.end();) {
        it->second.erase(slot);
        it = it->second.empty() ? colourOverrides.erase(it) : std::next(it);
    }
}

void SkinProject::setPictureFile(int picture, const QByteArray &bytes, const SourcePlacement &placement, int size)
{
    const QString hash = addPictureFile(bytes);
    PictureSource &source = pictures[size_t(picture)];
    const SizeSource given{PictureSourceKind::File, hash, placement, {}};
    if (size != 0) {
        source.overrides[size] = given;
    } else {
        static_cast<SizeSource &>(source) = given;
        source.overrides.clear();
    }
    dropUnusedFiles();
}

bool SkinProject::hasScrim() const
{
    for (const PictureSource &p : pictures)
        for (const Profile &size : allProfiles())
            if (const SizeSource &s = p.at(size.index); s.kind == PictureSourceKind::File && s.placement.scrim > 0)
                return true;
    return false;
}

void SkinProject::dropUnusedFiles()
{
    std::set<QString> used;
    for (const PictureSource &p : pictures) {
        used.insert(p.file);
        for (const auto &[size, source] : p.overrides)
            used.insert(source.file);
    }
    used.insert(generatorPictureHash(*this));
    std::erase_if(pictureFiles, [&](const auto &entry) { return !used.count(entry.first); });
}

SkinProject projectFromTemplate(int profile, const QImage &templateSheet, const QString &name)
{
    SkinProject p;
    p.name = name;
    p.profile = profile;
    p.colours = readColourSlots(templateSheet, profile);
    return p;
}

SkinProject projectFromSheet(int profile, const QImage &sheet, const QString &name)
{
    SkinProject p = projectFromTemplate(profile, sheet, name);
    p.sheets.push_back({profile, normalisedSheet(sheet)});
    for (PictureSource &source : p.pictures)
        source.kind = PictureSourceKind::Sheet;
    return p;
}

QString exportedSkinPath(const QString &folder, const QString &name, int profile)
{
    // A skin's name, not a chosen file name: a dot in it ("summer.v2") is no extension.
    QString file = singleEntryName(name);
    if (!file.endsWith(QLatin1String(".mbm"), Qt::CaseInsensitive))
        file += QLatin1String(".mbm");
    return saveTarget(QDir(folder).filePath(file), profile).targetPath;
}

QString generatorPictureHash(const SkinProject &project)
{
    const QString entry = project.generator.value(QStringLiteral("picture")).toString();
    const QString hash = entry.mid(int(qstrlen("pictures/")));
    return entry == pictureEntryName(hash) && isHashName(hash) ? hash : QString();
}

QString pictureEntryName(const QString &hash)
{
    return QStringLiteral("pictures/") + hash;
}

QString sheetEntryName(int profile)
{
    return QStringLiteral("sheets/%1.png").arg(sizeLabel(profile));
}

QString sha256Hex(const QByteArray &bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

QByteArray projectJson(const SkinProject &project)
{
    QJsonObject o = project.extra;
    o.insert(QStringLiteral("version"), kProjectFormatVersion);
    o.insert(QStringLiteral("name"), project.name);
    o.insert(QStringLiteral("size"), sizeLabel(project.profile));
    QJsonArray colours;
    for (QRgb c : project.colours)
        colours.append(colourText(c));
    o.insert(QStringLiteral("colours"), colours);
    QJsonObject overrides;
    for (const auto &[size, slotColours] : project.colourOverrides) {
        QJsonObject bySlot;
        for (const auto &[slot, colour] : slotColours)
            bySlot.insert(QString::number(slot), colourText(colour));
        overrides.insert(sizeLabel(size), bySlot);
    }
    if (!overrides.isEmpty())
        o.insert(QStringLiteral("colour_overrides"), overrides);
    QJsonArray sheets;
    for (const ImportedSheet &s : project.sheets)
        sheets.append(QJsonObject{{QStringLiteral("size"), sizeLabel(s.profile)},
                                  {QStringLiteral("file"), sheetEntryName(s.profile)}});
    if (!sheets.isEmpty())
        o.insert(QStringLiteral("sheets"), sheets);
    QJsonObject pictures;
    for (int i = 0; i < kPictureCount; ++i) {
        const PictureSource &source = project.pictures[size_t(i)];
        QJsonObject p = sizeSourceJson(source);
        QJsonObject bySize;
        for (const auto &[size, other] : source.overrides)
            bySize.insert(sizeLabel(size), sizeSourceJson(other));
        if (!bySize.isEmpty())
            p.insert(QStringLiteral("overrides"), bySize);
        pictures.insert(QLatin1String(pictureInfo(i).name), p);
    }
    o.insert(QStringLiteral("pictures"), pictures);
    if (!project.generator.isEmpty())
        o.insert(QStringLiteral("generator"), project.generator);
    QJsonObject exporting = project.exporting.extra;
    exporting.insert(QStringLiteral("depth"), project.exporting.depthOption.mid(1));
    exporting.insert(QStringLiteral("smooth"), project.exporting.smooth);
    QJsonArray sizes;
    for (int size : project.exporting.profiles)
        sizes.append(sizeLabel(size));
    exporting.insert(QStringLiteral("sizes"), sizes);
    o.insert(QStringLiteral("export"), exporting);
    o.insert(QStringLiteral("threshold"), project.threshold);
    return QJsonDocument(o).toJson(QJsonDocument::Indented);
}

Status parseProjectJson(const QByteArray &json, const QString &shownPath, SkinProject &out,
                        std::map<int, QString> &sheetEntries)
{
    auto broken = [&](const QString &what) {
        return Status::failure(QStringLiteral("Проект «%1» повреждён: %2.").arg(native(shownPath), what));
    };
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    if (!doc.isObject())
        return broken(QStringLiteral("project.json не читается (%1)").arg(error.errorString()));
    const QJsonObject o = doc.object();
    const int version = o.value(QStringLiteral("version")).toInt(0);
    if (version < 1)
        return broken(QStringLiteral("нет версии формата"));
    if (version > kProjectFormatVersion)
        return Status::failure(QStringLiteral("Проект «%1» записан в формате версии %2, а эта программа читает формат "
                                              "не новее версии %3. Нужна более новая версия программы.")
                                   .arg(native(shownPath))
                                   .arg(version)
                                   .arg(kProjectFormatVersion));
    SkinProject p;
    p.name = o.value(QStringLiteral("name")).toString();
    p.profile = profileIndexByLabel(o.value(QStringLiteral("size")).toString());
    if (p.profile == 0)
        return broken(QStringLiteral("неизвестный размер «%1»").arg(o.value(QStringLiteral("size")).toString()));
    const QJsonArray colours = o.value(QStringLiteral("colours")).toArray();
    if (colours.size() != kColourSlotCount)
        return broken(QStringLiteral("цветов не 13"));
    for (int i = 0; i < kColourSlotCount; ++i) {
        const auto c = colourFromText(colours[i]);
        if (!c)
            return broken(QStringLiteral("цвет %1 не в виде #rrggbb").arg(i));
        p.colours[size_t(i)] = *c;
    }
    const QJsonObject overrides = o.value(QStringLiteral("colour_overrides")).toObject();
    for (auto it = overrides.begin(); it != overrides.end(); ++it) {
        const int size = profileIndexByLabel(it.key());
        const QJsonObject slotColours = it.value().toObject();
        for (auto s = slotColours.begin(); s != slotColours.end(); ++s) {
            bool number = false;
            const int slot = s.key().toInt(&number);
            const auto c = colourFromText(s.value());
            if (!size || !number || slot < 0 || slot >= kColourSlotCount || !c)
                return broken(QStringLiteral("цвет размера «%1» не читается").arg(it.key()));
            p.colourOverrides[size][slot] = *c;
        }
    }
    for (const QJsonValue &v : o.value(QStringLiteral("sheets")).toArray()) {
        const int size = profileIndexByLabel(v.toObject().value(QStringLiteral("size")).toString());
        if (!size || sheetEntries.count(size))
            return broken(QStringLiteral("лист скина неизвестного или повторённого размера"));
        sheetEntries[size] = v.toObject().value(QStringLiteral("file")).toString();
        p.sheets.push_back({size, {}});
    }
    const QJsonObject pictures = o.value(QStringLiteral("pictures")).toObject();
    for (int i = 0; i < kPictureCount; ++i) {
        const QString name = QLatin1String(pictureInfo(i).name);
        const QJsonObject po = pictures.value(name).toObject();
        PictureSource &source = p.pictures[size_t(i)];
        if (!readSizeSource(po, !p.sheets.empty(), source))
            return broken(QStringLiteral("источник картинки %1 не читается").arg(name));
        const QJsonObject bySize = po.value(QStringLiteral("overrides")).toObject();
        for (auto it = bySize.begin(); it != bySize.end(); ++it) {
            const int size = profileIndexByLabel(it.key());
            if (!size || !readSizeSource(it.value().toObject(), !p.sheets.empty(), source.overrides[size]))
                return broken(QStringLiteral("источник картинки %1 для «%2» не читается").arg(name, it.key()));
        }
    }
    p.generator = o.value(QStringLiteral("generator")).toObject();
    const QJsonObject exporting = o.value(QStringLiteral("export")).toObject();
    if (const QString depth = depthOptionByName(exporting.value(QStringLiteral("depth")).toString()); !depth.isEmpty())
        p.exporting.depthOption = depth;
    p.exporting.smooth = exporting.value(QStringLiteral("smooth")).toBool(false);
    if (exporting.contains(QStringLiteral("sizes"))) {
        p.exporting.profiles.clear();
        for (const QJsonValue &v : exporting.value(QStringLiteral("sizes")).toArray())
            if (const int size = profileIndexByLabel(v.toString()))
                p.exporting.profiles.push_back(size);
    }
    p.exporting.extra = unknownFields(exporting, kExportKeys);
    p.threshold = o.value(QStringLiteral("threshold")).toDouble(4.5);
    if (!(p.threshold >= 1.0 && p.threshold <= 21.0))
        return broken(QStringLiteral("порог читаемости вне 1–21"));
    p.extra = unknownFields(o, kTopKeys);
    out = std::move(p);
    return Status::success();
}

bool pictureOverridden(const SkinProject &project, int picture, int profile)
{
    const PictureSource &source = project.pictures[size_t(picture)];
    return source.overrides.count(profile) && source.overrides.at(profile) != static_cast<const SizeSource &>(source);
}

bool colourOverridden(const SkinProject &project, int slot, int profile)
{
    const auto size = project.colourOverrides.find(profile);
    return size != project.colourOverrides.end() && size->second.count(slot);
}

} // namespace zelkor
