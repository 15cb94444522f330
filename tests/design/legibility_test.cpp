// Legibility on sheets whose answer is known in closed form: flat colours
// give WCAG ratios that can be worked out by hand (a colour on itself is 1,
// black on white 21, grey #767676 on white 4.54 and #777777 4.48).
#include "design/colour.h"
#include "design/legibility.h"
#include "design/legibilitytext.h"
#include "design/lightnessfix.h"
#include "design/roles.h"
#include "skin/profiles.h"
#include "skin/sheet.h"
#include "datagen/icons.h"
#include "datagen/skintemplate.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

using namespace zelkor;
using namespace zelkor::design;

namespace {

constexpr QRgb kWhite = 0xffffffffu, kBlack = 0xff000000u;
const std::set<int> kTextSlots{0, 1, 2, 6, 7, 8, 9, 10, 11, 12};
const std::set<int> kDrawnTextSlots{0, 1, 2, 6, 8, 9, 10, 11, 12};  // no screen draws a group (slot 7)

// A sheet of one colour with every fill slot (3, 4, 5) in `fill` and every
// text slot in `text`, except the slots `other` names.
QImage flatSheet(int profile, QRgb fill, QRgb text, std::initializer_list<std::pair<int, QRgb>> other = {})
{
    const Profile *p = profileByIndex(profile);
    QImage sheet(p->screenWidth, p->layoutRows, QImage::Format_RGB32);
    sheet.fill(fill);
    for (int slot = 0; slot < kColourSlotCount; ++slot)
        writeColourSlot(sheet, profile, slot, kTextSlots.count(slot) ? text : fill);
    for (const auto &[slot, colour] : other)
        writeColourSlot(sheet, profile, slot, colour);
    return sheet;
}

std::set<int> failingSlots(const Legibility &m, double min)
{
    std::set<int> failing;
    for (const SlotLegibility &s : m.failingSlots(min))
        failing.insert(s.slot);
    return failing;
}

struct FlatCase {
    const char *name;
    std::vector<int> profiles;
    QRgb text;
    std::initializer_list<std::pair<int, QRgb>> other;
    const char *depth;
    std::set<int> failing;      // at 4.5
    double worst;               // the lowest contrast of all texts, to two decimals
    const char *onlyScreen;     // every failing text is on a screen of this name, when set
};

TEST(Legibility, FlatSheetsOnEveryProfile)
{
    const std::vector<int> kAll{1, 2, 3, 4, 5, 6}, kApart{1, 3, 4, 5, 6};  // kApart: no text crosses another
    const FlatCase cases[] = {
        {"text colour = background", kAll, kWhite, {}, "", kDrawnTextSlots, 1.0, nullptr},
        {"black on white", kApart, kBlack, {}, "", {}, 21.0, nullptr},
        // Other texts are background too: at 208 x 176 the status line crosses "Contact7".
        {"text over text", {2}, kBlack, {}, "", {8}, 1.0, "contacts"},
        {"one slot pale, on one screen only", kApart, kBlack, {{11, 0xffeeeeeeu}}, "", {11}, 1.16, "settings"},
        {"#767676 reaches 4.5 as it is", kApart, kBlack, {{0, 0xff767676u}}, "", {}, 4.54, nullptr},
        {"at 12 bits it becomes #777777", kApart, kBlack, {{0, 0xff767676u}}, "/c12", {0}, 4.47, "chat"},
    };
    const IconSheets noIcons;
    for (const FlatCase &c : cases) {
        for (int profile : c.profiles) {
            SCOPED_TRACE(testing::Message() << c.name << ", profile " << profile);
            const Legibility m = measureSkinLegibility(flatSheet(profile, kWhite, c.text, c.other), profile, noIcons,
                                                       QString::fromLatin1(c.depth));
            std::set<int> drawn;
            for (const SlotLegibility &s : m.perSlot)
                drawn.insert(s.slot);
            EXPECT_EQ(drawn, kDrawnTextSlots);
            EXPECT_EQ(failingSlots(m, kDefaultMinContrast), c.failing);
            EXPECT_NEAR(m.lowest(), c.worst, 0.01);
            for (int i : m.failingTexts(kDefaultMinContrast))
                if (c.onlyScreen)
                    EXPECT_TRUE(m.texts[size_t(i)].screen.startsWith(QLatin1String(c.onlyScreen)));
        }
    }
}

// The gate a generated skin passes before it is written: the save depth
// counts as much as 24 bits (#767676 reads at 4.54 : 1, but is saved at 12 bits
// as #777777, 4.47 : 1).
TEST(Legibility, RoleTargetsHoldAtTheSaveDepthToo)
{
    const int profile = 1, settingsText = 11;
    ASSERT_EQ(roleTarget(settingsText, kDefaultMinContrast), kDefaultMinContrast);
    const QImage sheet = flatSheet(profile, kWhite, kBlack, {{settingsText, 0xff767676u}});
    const struct {
        const char *depth;
        double threshold;
        bool reads;
    } cases[] = {{"", 4.5, true}, {"/c24", 4.5, true}, {"/c16", 4.5, true}, {"/c12", 4.5, false}, {"", 4.6, false}};
    const IconSheets noIcons;
    for (const auto &c : cases)
        EXPECT_EQ(readsAtRoleTargets(sheet, profile, noIcons, QString::fromLatin1(c.depth), c.threshold), c.reads)
            << c.depth << " at " << c.threshold;
}

// One drawing measures a sheet as it is and at a save depth: the same texts,
// colours, backgrounds and contrasts as drawing the quantised sheet again, on
// every template made noisy (so every depth moves the pixels), without icons
// (no text lies on one) and with them (where the depth is drawn on its own).
TEST(Legibility, OneDrawingAtTwoDepthsEqualsTwoDrawings)
{
    const IconSheets noIcons, icons{datagen::drawIconSheet(16), datagen::drawIconSheet(32)};
    int texts = 0;
    for (int profile = 1; profile <= kProfileCount; ++profile) {
        QImage sheet = datagen::drawTemplateSheet(profile).convertToFormat(QImage::Format_RGB32);
        quint32 noise = 99;
        for (int y = 0; y < sheet.height(); ++y)
            for (int x = 0; x < sheet.width(); ++x) {
                noise = noise * 1664525u + 1013904223u;
                sheet.setPixel(x, y, sheet.pixel(x, y) ^ (noise >> 8 & 0x0f0f0fu));
            }
        for (const char *depth : {"/c4", "/c8", "/c12", "/c16"})
            for (const IconSheets *with : {&noIcons, &icons}) {
                SCOPED_TRACE(testing::Message() << "profile " << profile << " " << depth << (with == &icons ? " icons" : ""));
                const QString option = QString::fromLatin1(depth);
                const LegibilityAtDepth both = measureSkinLegibilityAtDepth(sheet, profile, *with, option);
                const Legibility apart[] = {measureSkinLegibility(sheet, profile, *with),
                                            measureSkinLegibility(sheet, profile, *with, option)};
                const Legibility *one[] = {&both.asIs, &both.atDepth};
                for (size_t d = 0; d < 2; ++d) {
                    ASSERT_EQ(one[d]->texts.size(), apart[d].texts.size());
                    for (size_t i = 0; i < apart[d].texts.size(); ++i) {
                        const TextLegibility &a = one[d]->texts[i], &b = apart[d].texts[i];
                        EXPECT_EQ(a.text, b.text);
                        EXPECT_EQ(a.colour, b.colour) << qPrintable(b.text);
                        EXPECT_EQ(a.under, b.under) << qPrintable(b.text);
                        EXPECT_EQ(a.contrast, b.contrast) << qPrintable(b.text);
                    }
                    ASSERT_EQ(one[d]->perSlot.size(), apart[d].perSlot.size());
                    for (size_t i = 0; i < apart[d].perSlot.size(); ++i)
                        EXPECT_EQ(one[d]->perSlot[i].text, apart[d].perSlot[i].text);
                }
                texts += int(apart[1].texts.size());
            }
    }
    EXPECT_GT(texts, 400);
}

TEST(Legibility, FifthPercentileOfTheInk)
{
    // White text: 1 over white, 21 over black; n = 100 puts the 5th percentile at index 5.
    const auto under = [](int white, int black) {
        std::vector<QRgb> pixels(size_t(white), kWhite);
        pixels.insert(pixels.end(), size_t(black), kBlack);
        return pixels;
    };
    EXPECT_DOUBLE_EQ(inkContrast(kWhite, under(5, 95)), 21.0);   // a few pixels over a detail do not count
    EXPECT_DOUBLE_EQ(inkContrast(kWhite, under(6, 94)), 1.0);    // more do
    EXPECT_DOUBLE_EQ(inkContrast(kWhite, under(1, 0)), 1.0);
    EXPECT_DOUBLE_EQ(inkContrast(kWhite, {}), 21.0);

    // The outgoing chat line half over a black band in the chat picture.
    const int profile = 1, chatTop = 329;
    QImage sheet = flatSheet(profile, kWhite, kBlack, {{0, kWhite}});
    const IconSheets noIcons;
    const auto chatLine = [&] {
        const Legibility m = measureSkinLegibility(sheet, profile, noIcons);
        return m.texts[size_t(m.slot(0)->text)];
    };
    const QRect ink = chatLine().ink;
    ASSERT_FALSE(ink.isEmpty());
    for (int y = ink.top(); y <= ink.bottom(); ++y)
        for (int x = ink.left(); x <= ink.center().x(); ++x)
            sheet.setPixel(x, chatTop + y, kBlack);
    EXPECT_DOUBLE_EQ(chatLine().contrast, 1.0);
    for (int y = ink.top(); y <= ink.bottom(); ++y)
        for (int x = ink.left(); x <= ink.right(); ++x)
            sheet.setPixel(x, chatTop + y, kBlack);
    EXPECT_DOUBLE_EQ(chatLine().contrast, 21.0);
}

struct FixCase {
    QRgb background;
    QRgb colour;
    double min;
    LightnessFix::Outcome outcome;
    QRgb expected;  // the nearest grey that reaches `min`, worked out from the WCAG formula; 0: check the hue
};

TEST(Legibility, FixMovesLightnessTheShorterWay)
{
    const FixCase cases[] = {
        {0xff808080u, 0xff909090u, 3.0, LightnessFix::Fixed, 0xffe1e1e1u},  // lighter is nearer
        {0xff808080u, 0xff606060u, 3.0, LightnessFix::Fixed, 0xff373737u},  // darker is nearer
        {kWhite, 0xff999999u, 4.5, LightnessFix::Fixed, 0xff767676u},       // only darker can
        {kWhite, 0xff6fa0ffu, 4.5, LightnessFix::Fixed, 0},                 // a blue stays blue
        {kWhite, kBlack, 4.5, LightnessFix::AlreadyReaches, kBlack},
        {0xff808080u, 0xff909090u, 7.0, LightnessFix::Impossible, 0xff909090u},  // not even black or white
    };
    for (const FixCase &c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.colour << " on " << c.background << " at " << c.min);
        const std::vector<QRgb> under(40, c.background);
        const LightnessFix fix = fixLightness(c.colour, {&under}, c.min);
        EXPECT_EQ(fix.outcome, c.outcome);
        EXPECT_DOUBLE_EQ(fix.contrast, inkContrast(fix.colour, under));
        if (fix.outcome != LightnessFix::Impossible)
            EXPECT_GE(fix.contrast, c.min);
        if (c.expected) {
            EXPECT_EQ(fix.colour, c.expected);
            continue;
        }
        const Lab before = toLab(c.colour), after = toLab(fix.colour);
        EXPECT_NEAR(std::atan2(after.b, after.a), std::atan2(before.b, before.a), 0.03);
        // One step of L* less would fall short: the change is the smallest.
        EXPECT_LT(inkContrast(fromLab({after.L + 0.5, after.a, after.b}), under), c.min);
    }
}

// The words of the lists: Russian counts agree with their noun, and Save's
// warning gives one line per slot with its worst text and how many fail.
TEST(LegibilityWords, CountsAndSlotLines)
{
    const struct {
        int n;
        const char *expected;
    } counts[] = {{1, "1 надпись"}, {2, "2 надписи"}, {5, "5 надписей"}, {11, "11 надписей"}, {12, "12 надписей"},
                  {21, "21 надпись"}, {42, "42 надписи"}, {111, "111 надписей"}, {0, "0 надписей"}};
    for (const auto &c : counts)
        EXPECT_EQ(countText(c.n, QStringLiteral("надпись"), QStringLiteral("надписи"), QStringLiteral("надписей")),
                  QString::fromUtf8(c.expected));

    Legibility m;
    const auto text = [&m](const char *s, int slot, double contrast) {
        m.texts.push_back({QStringLiteral("chat"), QString::fromUtf8(s), slot, 0, contrast, {}, {}});
        return LostText{int(m.texts.size()) - 1, 5.0};
    };
    const std::vector<LostText> lost{text("Ник", 6, 2.1), text("Ник2", 6, 3.0), text("12:00", -1, 4.0),
                                      text("Ник3", 6, 4.2)};
    const QStringList lines = lostTextsMessage(m, lost, QStringLiteral("8 bpp"), 4.5).split(u'\n');
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[1], QStringLiteral("• «цвет ника в списке контактов» — 3 текста, хуже всех «Ник» на экране чата: "
                                       "2,1 : 1 вместо 5,0 : 1"));
    EXPECT_EQ(lines[2], QStringLiteral("• «постоянный цвет»: «12:00» на экране чата: 4,0 : 1 вместо 5,0 : 1"));
}

} // namespace
