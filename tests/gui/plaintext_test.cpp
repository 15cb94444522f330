// Names of files and skins in the editor's own boxes are text, never markup:
// a file named "<b>x<i>.mbm" reads as just that, and a folder named after an
// image tag loads nothing.
#include "app/converterprogress.h"
#include "app/seams.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QProgressDialog>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

using namespace zelkor;

namespace {

// Every label of the top-level windows showing `text` as it is written.
int labelsShowingAsIs(const QString &text)
{
    int count = 0;
    for (QWidget *top : QApplication::topLevelWidgets())
        for (const QLabel *label : top->findChildren<QLabel *>())
            if (label->isVisible() && label->text().contains(text) &&
                (label->textFormat() == Qt::PlainText ||
                 (label->textFormat() == Qt::AutoText && !Qt::mightBeRichText(label->text()))))
                ++count;
    return count;
}

TEST(PlainText, HostileNamesInBoxesAreShownAsTheyAre)
{
    resetSeams();
    const QString name = QStringLiteral("<b>BOLD<i>bad <img src=fifo>.mbm");
    const QString message = QStringLiteral("Не удаётся прочитать файл «%1».").arg(name);
    ConverterProgressDialog progress(nullptr);
    const struct {
        const char *box;
        std::function<void()> show;
    } cases[] = {
        {"error", [&] { seams().critical(nullptr, message, QStringLiteral("details")); }},
        {"warning", [&] { seams().warning(nullptr, message); }},
        {"question", [&] { seams().ask(nullptr, message, {QStringLiteral("Да"), QStringLiteral("Нет")}); }},
        {"converter at work", [&] {
             progress.show(QStringLiteral("/tmp/") + name);
             QApplication::processEvents();
         }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.box);
        int shown = -1;
        // Looked at while the box is up, then closed.
        QTimer::singleShot(50, [&] {
            shown = labelsShowingAsIs(name);
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
                box->done(0);
        });
        c.show();
        if (shown < 0) {  // a box that does not wait
            QTimer::singleShot(60, [] {});
            QApplication::processEvents(QEventLoop::AllEvents, 100);
            shown = labelsShowingAsIs(name);
        }
        EXPECT_EQ(shown, 1);
    }
    progress.hide();
}

} // namespace
