#include "filesfixture.h"

#include "app/colourdialog.h"

#include "app/seams.h"
#include "skin/converter.h"
#include "skin/profiles.h"
#include "skin/skindocument.h"
#include "app/tform2.h"
#include "app/tform5.h"
#include "app/radiogroup.h"
#include "testsupport.h"

#include <QFile>
#include <QLabel>

namespace zelkor::test {

namespace {

const QStringList kPlanted{QStringLiteral("bmconv"),   QStringLiteral("skn"),       QStringLiteral("devices"),
                           QStringLiteral("temp"),     QStringLiteral("icons.bmp"), QStringLiteral("icons32.bmp")};

QString built(const QString &relative)
{
    return QDir(programFolder()).filePath(relative);
}

} // namespace

void FilesTest::SetUp()
{
    ASSERT_TRUE(tmp.isValid());
    QDir root(tmp.path());
    ASSERT_TRUE(root.mkpath(QStringLiteral("программа zelkor/temp")));
    ASSERT_TRUE(root.mkpath(QStringLiteral("Мои скины")));
    folder = root.filePath(QStringLiteral("программа zelkor"));
    scratch = root.filePath(QStringLiteral("Мои скины"));
    for (const QString &name : kPlanted) {
        if (name != QLatin1String("temp") && QFileInfo::exists(built(name)))
            ASSERT_TRUE(QFile::link(built(name), programFile(name))) << name.toStdString();
    }

    resetSeams();
    UiSeams &s = seams();
    s.critical = [this](QWidget *, const QString &text, const QString &details) {
        errors << (details.isEmpty() ? text : text + u'\n' + details);
    };
    s.warning = [this](QWidget *, const QString &text) { warnings << text; };
    s.execDialog = [this](QDialog *d) {
        if (auto *colour = qobject_cast<ColourDialog *>(d))
            return answerColourDialog(*colour);
        shown << QString::fromLatin1(d->metaObject()->className());
        if (auto *f2 = qobject_cast<TForm2 *>(d)) {
            f2->RadioGroup1->setItemIndex(form2Item);
            return acceptForm2 ? int(QDialog::Accepted) : int(QDialog::Rejected);
        }
        if (auto *f5 = qobject_cast<TForm5 *>(d)) {
            form5Offered = f5->colorgl->itemIndex();
            f5->colorgl->setItemIndex(form5Item);
            return acceptForm5 ? int(QDialog::Accepted) : int(QDialog::Rejected);
        }
        return int(QDialog::Rejected);
    };
    s.openFile = [this](QWidget *, const QString &, const QString &dir, const QString &filter) {
        shown << QStringLiteral("open");
        openDir = dir;
        openFilter = filter;
        return openAnswer;
    };
    s.saveFile = [this](QWidget *, const QString &, const QString &, const QString &) {
        shown << QStringLiteral("save");
        return saveAnswer;
    };
    s.ask = [this](QWidget *, const QString &text, const QStringList &) {
        shown << QStringLiteral("ask");
        asked << text;
        return askAnswer;
    };
    work = root.filePath(QStringLiteral("рабочая"));
    form = std::make_unique<TForm1>(programFilesIn(folder), work);
    errors.clear();  // start-up complaints (icon sheets) are not ours
}

int FilesTest::answerColourDialog(ColourDialog &dialog)
{
    shown << QStringLiteral("colour");
    colourOffered = QColor::fromRgb(dialog.initialColour());
    colourTitle = dialog.windowTitle();
    // The colours the user tries before answering, and what the preview showed for each.
    for (const QColor &c : colourTrials) {
        dialog.setColour(c.rgb());
        trialCanvases << ui(*form)->PaintBox1->canvasImage().copy();
    }
    if (!colourAnswer.isValid())
        return int(QDialog::Rejected);
    dialog.setColour(colourAnswer.rgb());
    return int(QDialog::Accepted);
}

void FilesTest::TearDown()
{
    form.reset();
    resetSeams();
}

bool FilesTest::haveConverter() const
{
    return QFileInfo(built(QStringLiteral("bmconv"))).isExecutable();
}

bool FilesTest::haveData(int profile) const
{
    const Profile *p = profileByIndex(profile);
    return haveConverter() && QFileInfo::exists(built(QString::fromUtf8(p->templateName)))
        && QFileInfo::exists(built(QString::fromUtf8(p->photoName)));
}

void FilesTest::fakeConverter(const QByteArray &scriptBody)
{
    const QString path = programFile(QStringLiteral("bmconv"));
    QFile::remove(path);
    if (scriptBody.isEmpty())
        return;
    QFile script(path);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\n" + scriptBody + "\n");
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void FilesTest::pack(const QImage &image, const QString &mbmPath, const QString &option)
{
    QTemporaryDir work;
    ASSERT_TRUE(image.save(QDir(work.path()).filePath(QStringLiteral("local.bmp")), "BMP"));
    const QString out = QDir(work.path()).filePath(QStringLiteral("out.mbm"));
    const Status r = runConverter(converterPath(programFolder()),
                                  {packArguments(QStringLiteral("out.mbm"), option), work.path(), out, out});
    ASSERT_TRUE(r.ok()) << r.message.toStdString();
    QFile::remove(mbmPath);
    ASSERT_TRUE(QFile::rename(out, mbmPath));
}

void FilesTest::newSkin(int profile)
{
    form2Item = profile - 1;
    ui(*form).N2Click();
}

void FilesTest::load(const QString &file)
{
    openAnswer = file;
    ui(*form).N3Click();
}

void FilesTest::save(const QString &chosen, int depthItem)
{
    saveAnswer = chosen;
    form5Item = depthItem;
    ui(*form).N10Click();
}

FilesTest::Snapshot FilesTest::snapshot() const
{
    const QPixmap photo = ui(*form)->phone->pixmap();
    const SkinDocument &doc = form->document();
    return {doc.sheet().copy(), doc.profile(), doc.screenSize(), doc.filePath(), doc.isModified(),
            ui(*form)->PaintBox1->geometry(), ui(*form)->PaintBox1->canvasImage().copy(), photo.size()};
}

void FilesTest::expectUnchanged(const Snapshot &before) const
{
    const Snapshot now = snapshot();
    EXPECT_EQ(now.sheet, before.sheet);
    EXPECT_EQ(now.profile, before.profile);
    EXPECT_EQ(now.screen, before.screen);
    EXPECT_EQ(now.file, before.file);
    EXPECT_EQ(now.modified, before.modified);
    EXPECT_EQ(now.paintBox, before.paintBox);
    EXPECT_EQ(now.canvas, before.canvas);
    EXPECT_EQ(now.photo, before.photo);
}

QStringList FilesTest::strayFiles() const
{
    QStringList names = QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::System);
    names.removeIf([](const QString &n) { return kPlanted.contains(n); });
    return names;
}

QRgb quantised(QRgb c, int depthBits)
{
    const int r = qRed(c), g = qGreen(c), b = qBlue(c);
    switch (depthBits) {
    case 12: // a nibble per channel, expanded by 17
        return qRgb((r >> 4) * 17, (g >> 4) * 17, (b >> 4) * 17);
    case 16: // RGB565, expanded by integer division
        return qRgb((r >> 3) * 255 / 31, (g >> 2) * 255 / 63, (b >> 3) * 255 / 31);
    default:
        return qRgb(r, g, b);
    }
}

} // namespace zelkor::test
