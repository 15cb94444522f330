// "Файл" -> "Новый из картинки…" as a user goes through it: the modified-skin
// prompt first, a broken picture refused with one message, the overview
// following the variant, and "Создать" making an unsaved skin named after the
// picture with a fresh history.
#include "filesfixture.h"

#include "app/newfrompicture.h"
#include "app/seams.h"

#include <QFile>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>

#include <functional>
#include <QUndoStack>

namespace zelkor::test {
namespace {

TEST_F(FilesTest, NewFromPictureMakesAnUnsavedSkinNamedAfterThePicture)
{
    NEED_DATA(3);
    NEED_DATA(5);
    QImage image(300, 200, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(40 + x / 2, 90, 200 - y / 2));
    const QString picture = scratchFile(QStringLiteral("закат над морем.jpg"));
    const QString broken = scratchFile(QStringLiteral("обрезанная.jpg"));
    ASSERT_TRUE(image.save(picture, "JPEG", 90));
    QFile whole(picture), cut(broken);
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly) && cut.open(QIODevice::WriteOnly));
    cut.write(whole.readAll().left(int(whole.size() / 2)));
    cut.close();

    newSkin(3);
    ASSERT_TRUE(form->document().setColourSlot(0, qRgb(1, 2, 3)).ok());
    askAnswer = 2;  // "Отмена": nothing else happens
    ui(*form).N8Click();
    EXPECT_EQ(shown.filter(QStringLiteral("NewFromPictureDialog")).size(), 0);

    askAnswer = 1;  // "Не сохранять"
    QImage dark, light;
    design::SkinFromPicture made;
    const auto answer = seams().execDialog;
    seams().execDialog = [&](QDialog *d) {
        auto *dialog = qobject_cast<NewFromPictureDialog *>(d);
        if (!dialog)
            return answer(d);
        EXPECT_EQ(dialog->profile(), 3);  // the current skin's size
        EXPECT_FALSE(dialog->setPicture(broken));
        EXPECT_FALSE(dialog->createButton->isEnabled());
        EXPECT_TRUE(dialog->setPicture(picture));
        // The overview of 240x320 at x1 fits a 1920x1080 screen whole; on a
        // smaller one the dialog stays on the screen and the overview scrolls.
        const QMargins frame(4, 32, 4, 4);
        for (const QRect area : {QRect(0, 0, 1920, 1080), QRect(30, 0, 1366, 768)}) {
            dialog->fitToArea(area, frame);
            dialog->show();
            EXPECT_TRUE(area.contains(QRect(dialog->pos(), dialog->size().grownBy(frame))));
            EXPECT_EQ(dialog->overviewArea->horizontalScrollBar()->maximum() == 0 &&
                          dialog->overviewArea->verticalScrollBar()->maximum() == 0,
                      area.width() == 1920);
            dialog->hide();
        }
        dialog->setProfile(5);
        dialog->setVariant(design::Variant::Dark);
        dark = dialog->overview();
        dialog->setVariant(design::Variant::Light);
        light = dialog->overview();
        EXPECT_TRUE(dialog->createButton->isEnabled());
        // Each choice of colours remakes the skin: a chip as the key or the
        // accent, a pixel of the photograph, the scheme; "монохромная" has
        // greys alone in its colour row.
        EXPECT_GE(std::count_if(dialog->keyChips.begin(), dialog->keyChips.end(),
                                [](QToolButton *c) { return c->isVisibleTo(c->parentWidget()); }),
                  2);
        struct Choice {
            const char *name;
            std::function<void()> make;
        };
        const std::vector<Choice> choices{
            {"key chip", [&] { dialog->keyChips[1]->click(); }},
            {"accent chip", [&] { dialog->accentChips[0]->click(); }},
            {"key from the photograph", [&] { dialog->pickFromPicture(QPoint(290, 5), false); }},
            {"scheme", [&] { dialog->setScheme(design::ColourScheme::Mono); }},
        };
        for (const Choice &c : choices) {
            SCOPED_TRACE(c.name);
            const QImage before = dialog->result()->sheet;
            c.make();
            EXPECT_TRUE(dialog->result() && !(dialog->result()->sheet == before));
        }
        EXPECT_EQ(dialog->settings().key, QImage(picture).pixel(290, 5));  // as decoded
        if (!dialog->result())
            return int(QDialog::Rejected);
        for (QRgb c : readColourSlots(dialog->result()->sheet, 5))
            EXPECT_TRUE(qRed(c) == qGreen(c) && qGreen(c) == qBlue(c)) << QColor(c).name().toStdString();
        dialog->setScheme(design::ColourScheme::Tonal);
        dialog->setKey({});
        dialog->setAccent({});
        made = *dialog->result();
        return int(QDialog::Accepted);
    };
    ui(*form).N8Click();
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors.first().contains(QStringLiteral("обрезан"))) << errors.first().toStdString();
    EXPECT_FALSE(dark.isNull() || light.isNull() || dark == light);
    EXPECT_EQ(made.variant, design::Variant::Light);

    const SkinDocument &doc = form->document();
    EXPECT_EQ(doc.profile(), 5);
    EXPECT_TRUE(doc.sheet() == made.sheet);
    EXPECT_TRUE(doc.isModified());
    EXPECT_EQ(doc.displayName(), QStringLiteral("extskin_352x416_закат над морем.mbm"));
    EXPECT_EQ(doc.fileDepth(), QStringLiteral("/c16"));  // what Save offers first
    EXPECT_EQ(doc.undoStack()->count(), 0);
}

} // namespace
} // namespace zelkor::test
