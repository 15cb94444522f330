#pragma once
// A program folder of the tests' own (with blanks and Cyrillic letters in its
// path) holding the real converter and data, and a main window on it whose
// dialogs are answered by the test.

#include "tform1testaccess.h"
#include "skin/skindocument.h"
#include "testsupport.h"

#include <QColor>
#include <QDir>
#include <QImage>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

// Skips the test unless the build put the converter and the data of `profile`
// into the program folder.
#define NEED_DATA(profile)                                                                         \
    if (!haveData(profile))                                                                        \
        GTEST_SKIP() << "bmconv or the data of profile " << (profile) << " are missing from "      \
                     << zelkor::test::programFolder().toStdString()

namespace zelkor {
class ColourDialog;
}

namespace zelkor::test {

class FilesTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A file below the test's program folder / below its scratch folder.
    QString programFile(const QString &relative) const { return QDir(folder).filePath(relative); }
    QString scratchFile(const QString &relative) const { return QDir(scratch).filePath(relative); }

    // Skips (returns false) unless the build put the converter and the data
    // for `profile` into the program folder.
    bool haveConverter() const;
    bool haveData(int profile) const;

    // Replaces bmconv by a shell script with this body; "" removes it.
    void fakeConverter(const QByteArray &scriptBody);
    // Packs `image` into `mbmPath` with the real converter at `option` ("/c24").
    void pack(const QImage &image, const QString &mbmPath, const QString &option = QStringLiteral("/c24"));

    // Runs a command as the user would, answering the dialogs as set below.
    void newSkin(int profile);
    void load(const QString &file);
    // Save As ("Сохранить как…") under `chosen` at depth item `depthItem`.
    void save(const QString &chosen, int depthItem = 4);

    // What a failing command must leave alone.
    struct Snapshot {
        QImage sheet;
        int profile;
        QSize screen;
        QString file;
        bool modified;
        QRect paintBox;
        QImage canvas;
        QSize photo;
    };
    Snapshot snapshot() const;
    void expectUnchanged(const Snapshot &before) const;

    // Files the program folder holds besides the ones we put there (there
    // should be none: the editor writes only into its work folder).
    QStringList strayFiles() const;
    // Answers the colour dialog as colourTrials and colourAnswer say.
    int answerColourDialog(ColourDialog &dialog);

    QTemporaryDir tmp;
    QString folder;   // the program folder
    QString work;     // the document's scratch folder
    QString scratch;  // where the user's skins live
    std::unique_ptr<TForm1> form;
    QStringList errors;
    QStringList warnings;

    // Dialog answers.
    bool acceptForm2 = true;
    int form2Item = 2;
    bool acceptForm5 = true;
    int form5Item = 4;
    int form5Offered = -1;  // the item the depth dialog opened on
    QString openAnswer;  // empty: cancelled
    QString saveAnswer;  // empty: cancelled
    QColor colourAnswer; // invalid: cancelled
    int askAnswer = -1;  // the modified-skin prompt: 0 save, 1 don't save, -1/2 cancel
    QStringList asked;
    QStringList shown;   // dialogs shown, by class name
    QString openDir, openFilter;
    QColor colourOffered;
    QString colourTitle;
    QList<QColor> colourTrials;   // tried in the colour dialog before its answer
    QList<QImage> trialCanvases;  // the preview after each trial
};

// What a 24-bit colour becomes after packing at `depthBits` and unpacking.
QRgb quantised(QRgb colour, int depthBits);

} // namespace zelkor::test
