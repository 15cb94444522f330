#include "colourpairs.h"

#include "preview.h"
#include "skin/colourslots.h"
#include "skin/depthpreview.h"
#include "skin/profiles.h"

#include <array>

namespace zelkor {

namespace {

// Probe colours: red and green fixed, the slot number in blue. Neither the
// probe sheet's colour nor the preview bitmap's white can be mistaken for one.
constexpr int kProbeRed = 0x5a, kProbeGreen = 0xc3, kProbeBlueBase = 0x10, kProbeBlueStep = 0x0b;
constexpr QRgb kProbeSheetColour = 0xff204060u;

QRgb probeColour(int slot)
{
    return qRgb(kProbeRed, kProbeGreen, kProbeBlueBase + kProbeBlueStep * slot);
}

// The slot whose probe colour the pixel has, or -1.
int probedSlot(QRgb pixel)
{
    if (qRed(pixel) != kProbeRed || qGreen(pixel) != kProbeGreen)
        return -1;
    const int offset = qBlue(pixel) - kProbeBlueBase;
    if (offset < 0 || offset % kProbeBlueStep != 0 || offset / kProbeBlueStep >= kColourSlotCount)
        return -1;
    return offset / kProbeBlueStep;
}

using Touching = std::array<std::array<bool, kColourSlotCount>, kColourSlotCount>;

void collectTouching(const QImage &screen, Touching &touching)
{
    const auto note = [&touching](int a, int b) {
        if (a >= 0 && b >= 0 && a != b)
            touching[size_t(std::min(a, b))][size_t(std::max(a, b))] = true;
    };
    for (int y = 0; y < screen.height(); ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(screen.constScanLine(y));
        const QRgb *below = y + 1 < screen.height() ? reinterpret_cast<const QRgb *>(screen.constScanLine(y + 1)) : nullptr;
        for (int x = 0; x < screen.width(); ++x) {
            const int here = probedSlot(line[x]);
            if (here < 0)
                continue;
            if (x + 1 < screen.width())
                note(here, probedSlot(line[x + 1]));
            if (below)
                note(here, probedSlot(below[x]));
        }
    }
}

Touching touchingIn(int profile)
{
    const Profile *p = profileByIndex(profile);
    QImage sheet(p->screenWidth, p->layoutRows, QImage::Format_RGB32);
    sheet.fill(kProbeSheetColour);
    PreviewInput in;
    in.sheet = &sheet;
    in.profile = profile;
    in.screen = p->screenSize();
    for (int slot = 0; slot < kColourSlotCount; ++slot)
        in.colours[size_t(slot)] = probeColour(slot);

    Touching touching{};
    for (int screen = AccountSelectionScreen; screen < MessageIndicatorScreen; ++screen) {
        for (int columns = 0; columns < 2; ++columns) {
            in.columns = columns;
            QImage paintBox = newPreviewBitmap(in.screen);
            Canvas canvas(&paintBox);
            renderPreview(screen, in, canvas);
            collectTouching(paintBox, touching);
        }
    }
    return touching;
}

std::vector<SlotPair> pairsOf(const Touching &touching)
{
    std::vector<SlotPair> pairs;
    for (int a = 0; a < kColourSlotCount; ++a)
        for (int b = a + 1; b < kColourSlotCount; ++b)
            if (touching[size_t(a)][size_t(b)])
                pairs.push_back({a, b});
    return pairs;
}

} // namespace

const std::vector<SlotPair> &drawnTogetherSlotPairs(int profile)
{
    static const auto byProfile = [] {
        std::array<std::vector<SlotPair>, kProfileCount + 1> result;
        Touching any{};
        for (int profile = 1; profile <= kProfileCount; ++profile) {
            const Touching touching = touchingIn(profile);
            result[size_t(profile)] = pairsOf(touching);
            for (int a = 0; a < kColourSlotCount; ++a)
                for (int b = 0; b < kColourSlotCount; ++b)
                    any[size_t(a)][size_t(b)] = any[size_t(a)][size_t(b)] || touching[size_t(a)][size_t(b)];
        }
        result[0] = pairsOf(any);
        return result;
    }();
    static const std::vector<SlotPair> none;
    if (profile < 0 || profile > kProfileCount)
        return none;
    return byProfile[size_t(profile)];
}

std::vector<SlotPair> mergedSlotPairs(const ColourSlots &trueColours, const QString &depthOption, int profile)
{
    if (!isPreviewDepth(depthOption))
        return {};
    const ColourSlots saved = coloursAtDepth(trueColours, depthOption);
    std::vector<SlotPair> merged;
    for (const SlotPair &pair : drawnTogetherSlotPairs(profile)) {
        const size_t a = size_t(pair.first), b = size_t(pair.second);
        if ((trueColours[a] & 0xffffffu) != (trueColours[b] & 0xffffffu) && saved[a] == saved[b])
            merged.push_back(pair);
    }
    return merged;
}

QString mergedColoursMessage(const std::vector<SlotPair> &pairs, const QString &depthName)
{
    if (pairs.empty())
        return {};
    QString text = QStringLiteral("При сохранении с глубиной «%1» совпадут цвета, которые в превью "
                                  "рисуются друг на друге или рядом:")
                       .arg(depthName);
    for (const SlotPair &pair : pairs)
        text += QStringLiteral("\n• «%1» и «%2»")
                    .arg(colourSlotLabel(pair.first).trimmed(), colourSlotLabel(pair.second).trimmed());
    return text;
}

} // namespace zelkor
