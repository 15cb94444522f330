#include "skindocument.h"

#include "imaging/picturefile.h"
#include "converter.h"
#include "filedepth.h"
#include "filewrite.h"
#include "port.h"
#include "profiles.h"
#include "savedepth.h"
#include "savename.h"
#include "userfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QtEndian>
#include <QPainter>
#include <QTemporaryDir>
#include <QUndoCommand>
#include <QUndoStack>

#include <mbm/mbm.h>

#include <algorithm>
#include <span>

#include <sys/stat.h>

namespace zelkor {

namespace {

// A scratch folder for one operation below the work folder, removed when done.
Status scratchFolder(const QString &workFolder, std::unique_ptr<QTemporaryDir> &dir)
{
    const ConverterWorkGuard guard;
    if (!guard.allowed())
        return Status::failure(QStringLiteral("Программа завершается: временная папка не создана."));
    QDir().mkpath(workFolder);
    dir = std::make_unique<QTemporaryDir>(QDir(workFolder).filePath(QStringLiteral("step-XXXXXX")));
    if (dir->isValid())
        return Status::success();
    return Status::failure(QStringLiteral("Не удаётся создать временную папку в «%1»: %2")
                               .arg(native(workFolder), describeSystemWords(dir->errorString())),
                           dir->errorString());
}

QString widthsText()
{
    QStringList widths;
    for (const Profile &p : allProfiles())
        widths << QString::number(p.screenWidth);
    const QString last = widths.takeLast();
    return widths.join(QStringLiteral(", ")) + QStringLiteral(" или ") + last;
}

// The converter's output read back before it counts as a skin: a converter
// that exits 0 but leaves a cut-off or foreign file must not make a save
// look done. `bytes` gets the file.
Status readBackSkin(const QString &output, const QSize &size, const QString &shownTarget, QByteArray &bytes)
{
    QFile file(output);
    if (!file.open(QIODevice::ReadOnly))
        return Status::failure(QStringLiteral("Не удаётся прочитать файл «%1», который записал конвертер: %2.")
                                   .arg(native(output), describeSystemWords(file.errorString())),
                               file.errorString());
    bytes = file.readAll();
    const auto records = mbm::parseMbm(
        std::span(reinterpret_cast<const std::uint8_t *>(bytes.constData()), size_t(bytes.size())));
    QString why;
    if (!records)
        why = QString::fromStdString(records.error().message);
    else if (records->size() != 1 || records->front().header.width != size.width() ||
             records->front().header.height != size.height())
        why = QStringLiteral("в нём не одна картинка %1 x %2 точек").arg(size.width()).arg(size.height());
    if (why.isEmpty())
        return Status::success();
    return Status::failure(
        QStringLiteral("Конвертер выдал негодный файл скина (%1 байт) для «%2». Скин не сохранён.")
            .arg(bytes.size())
            .arg(shownTarget),
        why);
}

// A file's size and time of change in nanoseconds; a size of -1 when there
// is nothing there.
std::pair<qint64, qint64> fileStamp(const QString &path)
{
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return {-1, 0};
    return {qint64(st.st_size), qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

// How many bitmaps the multi-bitmap file at `path` holds, from its header
// and trailer alone; 0 when they cannot be read.
quint32 bitmapCount(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray header = file.read(qint64(mbm::kFileHeaderSize));
    if (header.size() != qsizetype(mbm::kFileHeaderSize))
        return 0;
    const auto word = [](const QByteArray &bytes, int at) { return qFromLittleEndian<quint32>(bytes.constData() + at); };
    if (word(header, 0) != mbm::kUid1 || word(header, 4) != mbm::kUid2 || !file.seek(word(header, 16)))
        return 0;
    const QByteArray count = file.read(4);
    return count.size() == 4 ? word(count, 0) : 0;
}

// What a file that is a skin but not a whole one must say, once; `copy`
// holds the bytes read from `path`.
QString skinNotice(const QString &path, const QString &copy, const QImage &sheet, int profile)
{
    const QString shown = native(path);
    const Profile &p = *profileByIndex(profile);
    QStringList said;
    if (sheet.height() < p.layoutRows) {
        QString text = QStringLiteral("В картинке скина из файла «%1» %2 строк, а раскладке %3 нужно %4: строк "
                                      "%2–%5 нет, эти части картинок будут белыми.")
                           .arg(shown)
                           .arg(sheet.height())
                           .arg(p.labelText())
                           .arg(p.layoutRows)
                           .arg(p.layoutRows - 1);
        if (const auto row = colourRow(profile); row && sheet.height() <= row->row)
            text += QStringLiteral(" В том числе нет строки цветов (строка %1): цвета скина не заданы.").arg(row->row);
        said << text;
    }
    if (const quint32 count = bitmapCount(copy); count > 1)
        said << QStringLiteral("В файле «%1» картинок: %2. Скин — первая из них; остальные не читаются и при "
                               "сохранении в файл не войдут.")
                    .arg(shown)
                    .arg(count);
    return said.join(u'\n');
}

} // namespace

std::int64_t maxSheetPixels()
{
    std::int64_t largest = 0;
    for (const Profile &p : allProfiles())
        largest = std::max<std::int64_t>(largest, std::int64_t(p.screenWidth) * p.layoutRows);
    // A skin may carry rows below its layout; sixteen times the largest
    // layout is far beyond any real skin and still a small image.
    return largest * 16;
}

qint64 maxSkinFileBytes()
{
    return 4 * maxSheetPixels() + (1 << 20);
}

Status readSkinFile(const ProgramFiles &files, const QString &workFolder, const QString &path, SkinImage &out,
                    ConverterProgress *progress)
{
    QByteArray bytes;
    if (Status s = readUserFile(path, maxSkinFileBytes(), bytes); !s)
        return s;
    return readSkinBytes(files, workFolder, bytes, path, out, progress);
}

Status readSkinBytes(const ProgramFiles &files, const QString &workFolder, const QByteArray &bytes,
                     const QString &path, SkinImage &out, ConverterProgress *progress)
{
    const QString shown = native(path);
    std::unique_ptr<QTemporaryDir> scratch;
    if (Status s = scratchFolder(workFolder, scratch); !s)
        return s;
    // The converter reads our copy: the user's file is read once, and what is
    // drawn and what is kept of it are the same bytes.
    const QString copy = QDir(scratch->path()).filePath(QStringLiteral("source.mbm"));
    if (Status s = writeFileWhole(copy, bytes, IfExists::Refuse); !s)
        return s;
    const QString bitmap = QDir(scratch->path()).filePath(QStringLiteral("sheet.bmp"));
    Status run = runConverter(files.converter, {unpackArguments(copy, bitmap, maxSheetPixels()), QString(),
                                                bitmap, path},
                              progress);
    if (!run) {
        run.details.replace(copy, shown);
        return run;
    }

    QImageReader reader(bitmap);
    reader.setDecideFormatFromContent(true);
    const QSize size = reader.size();
    if (size.isValid() && std::int64_t(size.width()) * size.height() > maxSheetPixels())
        return Status::failure(QStringLiteral("Картинка скина в файле «%1» слишком велика: %2 x %3 точек.")
                                   .arg(shown)
                                   .arg(size.width())
                                   .arg(size.height()));
    QString error;
    const QImage loaded = readImageFile(bitmap, error);
    if (loaded.isNull())
        return Status::failure(
            QStringLiteral("Не удаётся прочитать картинку скина из файла «%1», которую выдал конвертер.").arg(shown),
            error);
    const int profile = profileIndexByWidth(loaded.width());
    if (profile == 0)
        return Status::failure(QStringLiteral("Картинка скина в файле «%1» шириной %2 точек: такой ширины нет "
                                              "ни у одного телефона. Ширина может быть %3 точек.")
                                   .arg(shown)
                                   .arg(loaded.width())
                                   .arg(widthsText()));
    out = {normalisedSheet(loaded), profile, skinNotice(path, copy, loaded, profile), skinFileDepth(copy)};
    return Status::success();
}

QString skinFileDepth(const QString &path)
{
    const QString option = storedDepthOption(path);
    return depthItem(option) >= 0 ? option : QString();
}

Status writeSkinFile(const ProgramFiles &files, const QString &workFolder, const QImage &sheet,
                     const QString &depthOption, const QString &targetPath, ConverterProgress *progress,
                     IfExists ifExists)
{
    const QString shownTarget = native(targetPath);
    if (sheet.isNull())
        return Status::failure(
            QStringLiteral("Не удаётся записать файл «%1»: скин не создан и не загружен.").arg(shownTarget));
    // Say so before any work is done.
    const auto taken = [&] { return ifExists == IfExists::Refuse && pathTaken(targetPath); };
    if (taken())
        return Status::failure(QStringLiteral("Файл «%1» уже существует. Скин не сохранён.").arg(shownTarget));
    const QFileInfo targetDir(QFileInfo(targetPath).absolutePath());
    if (!targetDir.isDir())
        return Status::failure(QStringLiteral("Не удаётся записать файл «%1»: папка «%2» не существует.")
                                   .arg(shownTarget, native(targetDir.filePath())));

    std::unique_ptr<QTemporaryDir> scratch;
    if (Status s = scratchFolder(workFolder, scratch); !s)
        return s;
    const QDir dir(scratch->path());
    const QString local = dir.filePath(QStringLiteral("local.bmp"));
    if (!sheet.save(local, "BMP"))
        return Status::failure(QStringLiteral("Не удаётся записать временный файл «%1».").arg(native(local)));
    const QString output = dir.filePath(QStringLiteral("skin.mbm"));
    const Status run = runConverter(
        files.converter, {packArguments(QStringLiteral("skin.mbm"), depthOption), scratch->path(), output, targetPath},
        progress);
    if (!run)
        return run;
    QByteArray bytes;
    if (Status s = readBackSkin(output, sheet.size(), shownTarget, bytes); !s)
        return s;
    if (Status s = writeFileWhole(targetPath, bytes, ifExists); !s)
        return taken() ? Status::failure(QStringLiteral("Файл «%1» уже существует. Скин не сохранён.").arg(shownTarget))
                       : s;
    return Status::success();
}

QString portedName(const QString &name, int profile)
{
    QString base = QFileInfo(name).fileName();
    for (const Profile &p : allProfiles()) {
        const QString prefix = QString::fromUtf8(p.savePrefix);
        if (base.startsWith(prefix)) {
            base = base.mid(prefix.size());
            break;
        }
    }
    if (base.isEmpty())
        base = QStringLiteral("skin");
    return QFileInfo(saveTarget(base, profile).outputName).fileName();
}

Status portSkin(const ProgramFiles &files, const QString &workFolder, const SkinImage &skin, int toProfile,
                SkinImage &out, ConverterProgress *progress)
{
    const Profile *target = profileByIndex(toProfile);
    if (!target || !profileByIndex(skin.profile))
        return Status::failure(QStringLiteral("Нет такого разрешения экрана."));
    const QString templatePath = files.dataPath(QString::fromUtf8(target->templateName));
    SkinImage base;
    if (Status s = readSkinFile(files, workFolder, templatePath, base, progress); !s)
        return s;
    const QImage ported = portSheet(skin.sheet, skin.profile, base.sheet, toProfile);
    if (ported.isNull())
        return Status::failure(QStringLiteral("Шаблон «%1» сделан не для экрана %2.")
                                   .arg(native(templatePath), target->labelText()));
    out = {ported, toProfile};
    return Status::success();
}

// One edit of the sheet: the pixels of one rectangle before and after.
class SheetEditCommand : public QUndoCommand {
public:
    SheetEditCommand(SkinDocument *doc, const QPoint &at, QImage before, QImage after, const QString &text)
        : QUndoCommand(text), m_doc(doc), m_at(at), m_before(std::move(before)), m_after(std::move(after))
    {
    }
    void redo() override { m_doc->applyPixels(m_at, m_after); }
    void undo() override { m_doc->applyPixels(m_at, m_before); }

private:
    SkinDocument *m_doc;
    QPoint m_at;
    QImage m_before;
    QImage m_after;
};

class SheetSwitchCommand : public QUndoCommand {
public:
    SheetSwitchCommand(SkinDocument *doc, QImage after, int afterProfile, const QString &text)
        : QUndoCommand(text), m_doc(doc), m_before(doc->m_sheet), m_beforeProfile(doc->m_profile),
          m_after(std::move(after)), m_afterProfile(afterProfile)
    {
    }
    void redo() override { m_doc->applySheet(m_after, m_afterProfile); }
    void undo() override { m_doc->applySheet(m_before, m_beforeProfile); }

private:
    SkinDocument *m_doc;
    QImage m_before;
    int m_beforeProfile;
    QImage m_after;
    int m_afterProfile;
};

SkinDocument::SkinDocument(ProgramFiles files, QString workFolder, QObject *parent)
    : QObject(parent), m_files(std::move(files)), m_workFolder(std::move(workFolder)), m_undo(new QUndoStack(this))
{
    connect(m_undo, &QUndoStack::cleanChanged, this, &SkinDocument::reportModified);
    // A step across a size switch may change isModified() with the clean state unchanged.
    connect(m_undo, &QUndoStack::indexChanged, this, &SkinDocument::reportModified);
}

SkinDocument::~SkinDocument() = default;

bool SkinDocument::ownFileChangedOnDisk() const
{
    return hasOwnFile() && pathTaken(m_filePath) && fileStamp(m_filePath) != m_fileStamp;
}

QString SkinDocument::displayName() const
{
    return m_unsavedName.isEmpty() ? QFileInfo(m_filePath).fileName() : m_unsavedName;
}

bool SkinDocument::isModified() const
{
    if (!hasSkin())
        return false;
    if (m_unsaved)
        return true;
    // Showing the same design at another size changes nothing that is kept:
    // only the steps between the clean state and now that are not switches count.
    const int clean = m_undo->cleanIndex();
    if (clean < 0)
        return true;
    for (int i = std::min(clean, m_undo->index()); i < std::max(clean, m_undo->index()); ++i)
        if (!dynamic_cast<const SheetSwitchCommand *>(m_undo->command(i)))
            return true;
    return false;
}

void SkinDocument::reportModified()
{
    if (m_reportedModified == isModified())
        return;
    m_reportedModified = isModified();
    emit modifiedChanged(m_reportedModified);
}

void SkinDocument::replaceSkin(const QImage &sheet, int profile, const QString &filePath, bool modified,
                               const QString &unsavedName, bool ownFile, const QString &fileDepth)
{
    const Profile *p = profileByIndex(profile);
    m_trialSheet = QImage();
    m_sheet = sheet;
    m_profile = profile;
    m_screen = p ? p->screenSize() : QSize();
    m_filePath = filePath;
    m_unsavedName = unsavedName;
    m_unsaved = modified;
    m_ownFile = ownFile;
    m_fileStamp = {-1, 0};
    m_fileDepth = fileDepth;
    m_fileSmoothed = false;
    // A fresh history, announced to whoever shows it (the menu's Undo and
    // Redo). clear() leaves an empty stack as it is, a clean index below
    // zero included; setClean() puts it at the start.
    ++m_generation;
    m_undo->clear();
    m_undo->setClean();
    emit skinReplaced();
    emit sheetChanged();
    reportModified();
}

Status SkinDocument::newFromTemplate(int profile)
{
    const Profile *p = profileByIndex(profile);
    if (!p)
        return Status::failure(QStringLiteral("Нет такого разрешения экрана."));
    const QString templatePath = m_files.dataPath(QString::fromUtf8(p->templateName));
    SkinImage skin;
    if (Status s = readSkinFile(m_files, m_workFolder, templatePath, skin, m_progress); !s)
        return s;
    // The template decides the profile; a template of another width is broken.
    if (skin.profile != profile)
        return Status::failure(QStringLiteral("Шаблон «%1» сделан не для экрана %2.")
                                   .arg(native(templatePath), p->labelText()));
    replaceSkin(skin.sheet, skin.profile, templatePath, false);
    return Status::success();
}

Status SkinDocument::load(const QString &path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    // Taken before reading: a change while it is read counts as a change.
    const auto stamp = fileStamp(absolute);
    SkinImage skin;
    if (Status s = readSkinFile(m_files, m_workFolder, absolute, skin, m_progress); !s)
        return s;
    replaceSkin(skin.sheet, skin.profile, absolute, false, {}, true, skin.depth);
    m_fileStamp = stamp;
    Status done = Status::success();
    done.message = skin.notice;
    return done;
}

Status SkinDocument::save(const QString &chosenPath, const QString &depthOption, QString *savedPath)
{
    if (!hasSkin())
        return Status::failure(QStringLiteral("Скин не создан и не загружен: сохранять нечего."));
    const SaveTarget target = saveTarget(QFileInfo(chosenPath).absoluteFilePath(), m_profile);
    if (Status s = saveTo(target.targetPath, depthOption, IfExists::Refuse); !s)
        return s;
    if (savedPath)
        *savedPath = target.targetPath;
    return Status::success();
}

Status SkinDocument::saveTo(const QString &targetPath, const QString &depthOption, IfExists ifExists, bool smooth)
{
    if (!hasSkin())
        return Status::failure(QStringLiteral("Скин не создан и не загружен: сохранять нечего."));
    const QString absolute = QFileInfo(targetPath).absoluteFilePath();
    const QImage written = smooth ? smoothedSheet(m_sheet, m_profile, depthOption) : m_sheet;
    if (Status s = writeSkinFile(m_files, m_workFolder, written, depthOption, absolute, m_progress, ifExists); !s)
        return s;
    m_filePath = absolute;
    m_fileStamp = fileStamp(absolute);
    m_unsavedName.clear();
    m_ownFile = true;
    m_fileDepth = depthOption;
    m_fileSmoothed = smooth;
    m_unsaved = false;
    m_undo->setClean();
    reportModified();
    emit fileNameChanged();
    return Status::success();
}

Status SkinDocument::adoptUnsaved(const QImage &sheet, const QString &name, const QString &depthOption)
{
    const int profile = profileIndexByWidth(sheet.width());
    if (sheet.isNull() || profile == 0)
        return Status::failure(QStringLiteral("Картинка скина шириной %1 точек не подходит ни к одному телефону.")
                                   .arg(sheet.width()));
    replaceSkin(normalisedSheet(sheet), profile, QString(), true, name, false, depthOption);
    return Status::success();
}

Status SkinDocument::adoptMade(const QImage &sheet, const QString &ownFile, const QString &name)
{
    const int profile = profileIndexByWidth(sheet.width());
    if (sheet.isNull() || profile == 0)
        return Status::failure(QStringLiteral("Картинка скина шириной %1 точек не подходит ни к одному телефону.")
                                   .arg(sheet.width()));
    if (ownFile.isEmpty()) {
        replaceSkin(normalisedSheet(sheet), profile, QString(), false, name);
        return Status::success();
    }
    const QString absolute = QFileInfo(ownFile).absoluteFilePath();
    const auto stamp = fileStamp(absolute);
    replaceSkin(normalisedSheet(sheet), profile, absolute, false, {}, true);
    m_fileStamp = stamp;
    return Status::success();
}

void SkinDocument::markSaved(const QString &path)
{
    m_filePath = QFileInfo(path).absoluteFilePath();
    m_fileStamp = fileStamp(m_filePath);
    m_unsavedName.clear();
    m_ownFile = true;
    m_fileDepth.clear();
    m_fileSmoothed = false;
    m_unsaved = false;
    m_undo->setClean();
    reportModified();
    emit fileNameChanged();
}

Status SkinDocument::switchSheet(const QImage &sheet, const QString &undoText)
{
    const int profile = profileIndexByWidth(sheet.width());
    if (!hasSkin() || sheet.isNull() || profile == 0)
        return Status::failure(QStringLiteral("Картинка скина шириной %1 точек не подходит ни к одному телефону.")
                                   .arg(sheet.width()));
    m_undo->push(new SheetSwitchCommand(this, normalisedSheet(sheet), profile, undoText));
    return Status::success();
}

void SkinDocument::applySheet(const QImage &sheet, int profile)
{
    const Profile *p = profileByIndex(profile);
    m_trialSheet = QImage();
    m_sheet = sheet;
    m_profile = profile;
    m_screen = p ? p->screenSize() : QSize();
    emit skinReplaced();
    emit sheetChanged();
}

Status SkinDocument::portTo(int profile)
{
    if (!hasSkin())
        return Status::failure(QStringLiteral("Скин не создан и не загружен: переносить нечего."));
    SkinImage ported;
    if (Status s = portSkin(m_files, m_workFolder, {m_sheet, m_profile}, profile, ported, m_progress); !s)
        return s;
    return adoptUnsaved(ported.sheet, portedName(displayName(), profile), m_fileDepth);
}

Status SkinDocument::setColourSlot(int slot, QRgb colour, const QString &undoText)
{
    const auto origin = colourRow(m_profile);
    if (!origin || slot < 0 || slot >= kColourSlotCount)
        return Status::failure(QStringLiteral("Скин не создан и не загружен."));
    const QPoint at(origin->firstColumn + slot, origin->row);
    if (!m_sheet.valid(at))
        return Status::failure(QStringLiteral("Картинка скина высотой %1 строк слишком низкая: цвета хранятся "
                                              "в строке %2, которой в ней нет. Цвет не изменён.")
                                   .arg(m_sheet.height())
                                   .arg(origin->row));
    QImage after(1, 1, QImage::Format_RGB32);
    after.setPixel(0, 0, colour | 0xff000000u);
    if (m_sheet.pixel(at) == after.pixel(0, 0))
        return Status::success();
    m_undo->push(new SheetEditCommand(this, at, m_sheet.copy(QRect(at, QSize(1, 1))), after,
                                      undoText.isEmpty() ? QStringLiteral("изменение цвета") : undoText));
    return Status::success();
}

Status SkinDocument::writeBackPicture(int picture, const QImage &replacement, const QString &source)
{
    const auto r = pictureRect(picture, m_profile);
    if (!r)
        return Status::failure(QStringLiteral("Скин не создан и не загружен."));
    if (replacement.isNull())
        return Status::failure(QStringLiteral("Картинка «%1» пуста.").arg(native(source)));
    // Clipped to the picture's rectangle and the sheet, never scaled: only
    // that rectangle is copied, changed and kept for undo.
    const QRect changed = r->rect().intersected(m_sheet.rect());
    if (changed.isEmpty())
        return Status::success();
    const QImage before = m_sheet.copy(changed);
    QImage after = before;
    {
        QPainter p(&after);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(QPoint(0, r->y - changed.y()), replacement.convertToFormat(QImage::Format_RGB32));
    }
    if (before == after)
        return Status::success();
    m_undo->push(new SheetEditCommand(this, changed.topLeft(), before, after,
                                      QStringLiteral("замена картинки «%1»")
                                          .arg(QString::fromUtf8(pictureInfo(picture).caption))));
    return Status::success();
}

Status SkinDocument::replaceSheet(const QImage &sheet, const QString &undoText)
{
    if (!hasSkin())
        return Status::failure(QStringLiteral("Скин не создан и не загружен."));
    if (sheet.size() != m_sheet.size())
        return Status::failure(QStringLiteral("Картинка скина %1 x %2 не того размера: нужна %3 x %4. Скин не изменён.")
                                   .arg(sheet.width())
                                   .arg(sheet.height())
                                   .arg(m_sheet.width())
                                   .arg(m_sheet.height()));
    const QImage after = sheet.convertToFormat(QImage::Format_RGB32);
    QRect changed;
    for (int y = 0; y < after.height(); ++y) {
        const auto *a = reinterpret_cast<const QRgb *>(after.constScanLine(y));
        const auto *b = reinterpret_cast<const QRgb *>(m_sheet.constScanLine(y));
        for (int x = 0; x < after.width(); ++x)
            if (a[x] != b[x])
                changed |= QRect(x, y, 1, 1);
    }
    if (changed.isEmpty())
        return Status::success();
    m_undo->push(new SheetEditCommand(this, changed.topLeft(), m_sheet.copy(changed), after.copy(changed), undoText));
    return Status::success();
}

void SkinDocument::noteChange(const QString &undoText)
{
    if (hasSkin())
        m_undo->push(new SheetEditCommand(this, {}, {}, {}, undoText));
}

void SkinDocument::applyPixels(const QPoint &at, const QImage &pixels)
{
    for (int y = 0; y < pixels.height(); ++y) {
        const auto *src = reinterpret_cast<const QRgb *>(pixels.constScanLine(y));
        auto *dst = reinterpret_cast<QRgb *>(m_sheet.scanLine(at.y() + y)) + at.x();
        std::copy(src, src + pixels.width(), dst);
    }
    m_trialSheet = QImage();
    emit sheetChanged();
}

} // namespace zelkor
