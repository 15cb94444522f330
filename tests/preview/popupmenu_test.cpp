// The popup menu screen: the contact list underneath in the chosen column
// count, the menu window, six items and the selection, drawn straight onto the
// paint box's surface whose settings stay behind.
#include "contactlist_model.h"

using namespace zelkor;
using namespace zelkor::test;

namespace {

struct MenuSteps {
    int winL, winT, winR, winB;
    int points;
    int selL, selT, selR, selB;
    int itemY[6];
};

inline constexpr MenuSteps kMenu[7] = {
    {},
    {1, 70, 120, 187, 11, 1, 89, 120, 109, {70, 90, 110, 130, 150, 170}},
    {1, 45, 120, 161, 11, 1, 64, 120, 84, {45, 65, 85, 105, 125, 145}},
    {1, 180, 120, 297, 11, 1, 199, 120, 219, {180, 200, 220, 240, 260, 280}},
    {1, 100, 120, 217, 11, 1, 119, 120, 139, {100, 120, 140, 160, 180, 200}},
    {1, 140, 220, 370, 18, 1, 179, 220, 219, {140, 180, 220, 260, 300, 340}},
    {1, 80, 220, 310, 18, 1, 119, 220, 159, {80, 120, 160, 200, 240, 280}},
};

const char *const kItems[6] = {"Статус", "Х-статус", "Прив. статус", "Фильтр", "Контакты", "Настройки"};

ScreenModel popupModel(const PreviewInput &in)
{
    ScreenModel m = contactListModel(in);
    const MenuSteps &s = kMenu[in.profile];
    m.fill(s.winL, s.winT, s.winR, s.winB, 3);
    m.text(QString::fromUtf8(kItems[0]), 3, s.itemY[0], s.points, 10);
    m.fill(s.selL, s.selT, s.selR, s.selB, 4);
    m.ring(s.selL, s.selT, s.selR, s.selB, 5);
    m.text(QString::fromUtf8(kItems[1]), 3, s.itemY[1], s.points, 10, 4);
    for (int i = 2; i < 6; ++i)
        m.text(QString::fromUtf8(kItems[i]), 3, s.itemY[i], s.points, 10, 3);
    return m;
}

struct Case {
    int profile;
    int columns;
};

class PopupMenu : public testing::TestWithParam<Case> {};

// The paint box's canvas as the previous screen left it.
QImage leftover(QSize size)
{
    QImage img(size, QImage::Format_RGB32);
    img.fill(qRgb(0x12, 0x34, 0x56));
    return img;
}

TEST_P(PopupMenu, MatchesModelAndLeavesSettings)
{
    const Case k = GetParam();
    ScreenFixture skin;
    PreviewInput in = skin.input(k.profile, k.columns);
    // The menu window colour differs from the selection ring, so a ring
    // drawn in the wrong slot shows.
    QImage canvasImage = leftover(in.screen);
    Canvas paintBox(&canvasImage);
    paintBox.setBrushClear();
    paintBox.setFontPoints(8);
    renderPreview(PopupMenuScreen, in, paintBox);
    const ScreenModel model = popupModel(in);
    model.check(canvasImage, "P" + std::to_string(k.profile) + " columns " + std::to_string(k.columns + 1));
    for (const char *item : kItems)
        EXPECT_GT(model.inkOf(QString::fromUtf8(item)), 20) << item;

    EXPECT_EQ(paintBox.penColor(), in.colours[3] | 0xff000000u);
    EXPECT_EQ(paintBox.brushColor(), in.colours[3] | 0xff000000u);
    EXPECT_TRUE(paintBox.brushSolid());
    EXPECT_EQ(paintBox.textColor(), in.colours[10]);
    EXPECT_EQ(paintBox.fontPoints(), kMenu[k.profile].points);
}

std::vector<Case> cases()
{
    std::vector<Case> v;
    for (int p = 1; p <= 6; ++p)
        for (int c = 0; c < 2; ++c)
            v.push_back({p, c});
    return v;
}

INSTANTIATE_TEST_SUITE_P(AllProfiles, PopupMenu, testing::ValuesIn(cases()),
                         [](const testing::TestParamInfo<Case> &i) {
                             return "P" + std::to_string(i.param.profile) + "_" + std::to_string(i.param.columns + 1)
                                 + "col";
                         });

TEST(PopupMenu, ItemOneIsTransparentAndTheOthersOpaque)
{
    ScreenFixture skin;
    for (int p = 1; p <= 6; ++p) {
        const PreviewInput in = skin.input(p, 0);
        QImage img = leftover(in.screen);
        Canvas paintBox(&img);
        renderPreview(PopupMenuScreen, in, paintBox);
        const MenuSteps &s = kMenu[p];
        const QFontMetrics fm(previewFont(s.points));
        // Between the letters of item 1 the window colour shows, and no
        // selection fill; in the cells of items 2 to 6 only the cell colour
        // and the text colour appear.
        for (int i = 0; i < 6; ++i) {
            const QString text = QString::fromUtf8(kItems[i]);
            const QRect cell(3, s.itemY[i], fm.horizontalAdvance(text), fm.height());
            const QRgb cellColour = i == 0 ? in.colours[3] : i == 1 ? in.colours[4] : in.colours[3];
            int text_ = 0, cellFill = 0, other = 0;
            for (int y = cell.top(); y <= cell.bottom(); ++y)
                for (int x = cell.left(); x <= cell.right(); ++x) {
                    const QRgb px = img.pixel(x, y) & 0xffffffu;
                    if (px == (in.colours[10] & 0xffffffu))
                        ++text_;
                    else if (px == (cellColour & 0xffffffu))
                        ++cellFill;
                    else
                        ++other;
                }
            EXPECT_GT(text_, 0) << "profile " << p << " item " << i + 1;
            EXPECT_GT(cellFill, text_) << "profile " << p << " item " << i + 1;
            // Item 1's cell reaches down over the selection ring (slot 5) and fill.
            if (i > 0)
                EXPECT_EQ(other, 0) << "profile " << p << " item " << i + 1;
        }
    }
}

TEST(PopupMenu, ProfileZeroDrawsNothing)
{
    ScreenFixture skin;
    PreviewInput in = skin.input(3, 1);
    in.profile = 0;
    in.screen = QSize();
    QImage img = leftover(QSize(240, 320));
    const QImage before = img.copy();
    Canvas paintBox(&img);
    renderPreview(PopupMenuScreen, in, paintBox);
    EXPECT_EQ(img, before);
}

TEST(PopupMenu, SlotFiveChangesOnlyTheSelectionRing)
{
    ScreenFixture skin;
    PreviewInput in = skin.input(4, 1);
    QImage a = leftover(in.screen), b = leftover(in.screen);
    Canvas ca(&a), cb(&b);
    renderPreview(PopupMenuScreen, in, ca);
    in.colours[5] = qRgb(1, 2, 3);
    renderPreview(PopupMenuScreen, in, cb);
    const MenuSteps &s = kMenu[4];
    const QRect ringOuter(QPoint(s.selL, s.selT), QPoint(s.selR - 1, s.selB - 1));
    const QRect ringInner = ringOuter.adjusted(1, 1, -1, -1);
    int changed = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y)) {
                ++changed;
                ASSERT_TRUE(ringOuter.contains(x, y) && !ringInner.contains(x, y)) << x << ", " << y;
            }
    EXPECT_EQ(changed, 2 * (ringOuter.width() + ringOuter.height()) - 4);
}

} // namespace
