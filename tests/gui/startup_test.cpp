// Before the window opens: the editor's command line, and Qt's own texts in
// the interface's Russian.
#include "app/seams.h"
#include "app/startup.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

using namespace zelkor;

namespace {

struct CommandLineCase {
    QStringList arguments;  // after the program's name
    StartRequest::Mode mode;
    QString skinFile;       // relative ones are expected below the current folder
};

TEST(CommandLine, HelpVersionAndAtMostOneSkin)
{
    const CommandLineCase cases[] = {
        {{}, StartRequest::OpenWindow, {}},
        {{QStringLiteral("/tmp/Мои скины/new skin.mbm")}, StartRequest::OpenWindow,
         QStringLiteral("/tmp/Мои скины/new skin.mbm")},
        {{QStringLiteral("skins/../a.mbm")}, StartRequest::OpenWindow, QStringLiteral("a.mbm")},
        {{QStringLiteral("--help")}, StartRequest::ShowHelp, {}},
        {{QStringLiteral("-h")}, StartRequest::ShowHelp, {}},
        {{QStringLiteral("--help-all")}, StartRequest::ShowHelp, {}},
        {{QStringLiteral("--version")}, StartRequest::ShowVersion, {}},
        {{QStringLiteral("-v"), QStringLiteral("a.mbm")}, StartRequest::ShowVersion, {}},
        // A request for the version is answered even beside a mistake.
        {{QStringLiteral("--no-such-option"), QStringLiteral("--version")}, StartRequest::ShowVersion, {}},
        {{QStringLiteral("--no-such-option")}, StartRequest::UsageError, {}},
        {{QStringLiteral("a.mbm"), QStringLiteral("b.mbm")}, StartRequest::UsageError, {}},
    };
    for (const CommandLineCase &c : cases) {
        const QString shown = c.arguments.join(u' ');
        QCommandLineParser parser;
        const StartRequest r =
            readCommandLine(parser, QStringList{QStringLiteral("zelkor-skin-editor")} + c.arguments);
        EXPECT_EQ(r.mode, c.mode) << qPrintable(shown);
        const QString expected = c.skinFile.isEmpty() ? QString() : QDir::current().absoluteFilePath(c.skinFile);
        EXPECT_EQ(r.skinFile, QDir::cleanPath(expected)) << qPrintable(shown);
        EXPECT_EQ(r.error.isEmpty(), c.mode != StartRequest::UsageError) << qPrintable(shown);
    }
}

bool hasCyrillic(const QString &text)
{
    return std::any_of(text.begin(), text.end(), [](QChar ch) { return ch.script() == QChar::Script_Cyrillic; });
}

TEST(Translations, QtsOwnDialogsAndTheErrorBoxSpeakRussian)
{
    ASSERT_TRUE(installQtTranslations(*QCoreApplication::instance()))
        << "Qt's Russian translations are missing (Debian package qt6-translations-l10n)";
    for (const auto &[context, text] : {std::pair{"QColorDialog", "Select Color"}, std::pair{"QFileDialog", "Open"},
                                        std::pair{"QPlatformTheme", "Cancel"}})
        EXPECT_TRUE(hasCyrillic(QCoreApplication::translate(context, text))) << context << ": " << text;

    // The real error box has a Russian caption.
    resetSeams();
    QString caption;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        caption = box->windowTitle();
        box->accept();
    });
    seams().critical(nullptr, QStringLiteral("Не удаётся прочитать файл."), QStringLiteral("No such file"));
    EXPECT_EQ(caption, QStringLiteral("Ошибка"));
}

} // namespace
