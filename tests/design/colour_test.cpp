// The colour science the legibility measure and the generators stand on,
// against values known in closed form or from the published definitions.

#include "design/colour.h"

#include <gtest/gtest.h>

namespace zelkor::design {
namespace {

TEST(Colour, ContrastAndLabAgainstKnownValues)
{
    struct Case {
        QRgb a, b;
        double ratio;  // WCAG contrast of a and b
        Lab lab;       // CIELAB (D65) of a
    };
    const Case cases[] = {
        {qRgb(0, 0, 0), qRgb(255, 255, 255), 21.0, {0, 0, 0}},
        {qRgb(255, 255, 255), qRgb(255, 255, 255), 1.0, {100, 0, 0}},
        {qRgb(255, 0, 0), qRgb(255, 0, 0), 1.0, {53.2408, 80.0925, 67.2032}},
        {qRgb(0, 0, 255), qRgb(255, 255, 255), 8.5925, {32.2970, 79.1875, -107.8602}},
        {qRgb(119, 119, 119), qRgb(255, 255, 255), 4.4781, {50.0344, 0, 0}},  // the grey just failing 4.5
        {qRgb(0, 255, 0), qRgb(0, 0, 0), 15.304, {87.7347, -86.1827, 83.1793}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.a << " / " << c.b);
        EXPECT_NEAR(contrastRatio(c.a, c.b), c.ratio, 0.001);
        EXPECT_DOUBLE_EQ(contrastRatio(c.a, c.b), contrastRatio(c.b, c.a));
        const Lab lab = toLab(c.a);
        EXPECT_NEAR(lab.L, c.lab.L, 0.01);
        EXPECT_NEAR(lab.a, c.lab.a, 0.01);
        EXPECT_NEAR(lab.b, c.lab.b, 0.01);
        bool inGamut = false;
        EXPECT_EQ(fromLab(lab, &inGamut), c.a | 0xff000000u);
        EXPECT_TRUE(inGamut);
    }
    // Far outside sRGB: clamped, and said so.
    bool inGamut = true;
    fromLab({50, 150, -150}, &inGamut);
    EXPECT_FALSE(inGamut);
}

TEST(Colour, EverySrgbColourSurvivesTheRoundTripThroughLab)
{
    for (int r = 0; r < 256; r += 5)
        for (int g = 0; g < 256; g += 5)
            for (int b = 0; b < 256; b += 5) {
                const QRgb c = qRgb(r, g, b);
                ASSERT_EQ(fromLab(toLab(c)), c) << r << "," << g << "," << b;
            }
}

} // namespace
} // namespace zelkor::design
