#pragma once
// What every colour slot of a generated skin is for: what its texts lie on,
// the contrast they need there, which palette colour its tone is of, and the
// slots it must stay apart from. The generator takes its targets from here;
// the screens' own drawing (preview/paintrecord.h) says where each text
// really lies, and a test holds the two together.

#include "legibility.h"
#include "preview/paintrecord.h"
#include "skin/profiles.h"

#include <array>
#include <cstdint>

namespace zelkor::design {

// The surfaces a generated skin's texts are drawn on.
enum Surface : std::uint16_t {
    ContactsBackground = 1 << 0,
    ChatBackground = 1 << 1,
    SettingsBackground = 1 << 2,
    MenuBar = 1 << 3,         // menuline (the screens' headers and soft-key bars)
    SelectionBar = 1 << 4,    // select1, select2, settings_select, account_sel
    MenuFill = 1 << 5,        // slot 3: the menu window and the account screen
    MenuSelection = 1 << 6,   // slot 4: the menu's selected row and the account title
    OtherText = 1 << 7,       // another text (208 x 176 draws the status line over the last contact)
};

enum class RoleKind : std::uint8_t { Text, Fill };
enum class Tint : std::uint8_t { Key, Accent };

struct Role {
    int slot;
    RoleKind kind;
    Tint tint;
    double target;          // the contrast its texts need against what they lie on; 0 for fills
    std::uint16_t liesOn;   // Surface bits
};

// One row per colour slot, by slot.
const std::array<Role, kColourSlotCount> &roles();
inline const Role &role(int slot)
{
    return roles()[size_t(slot)];
}

// Message texts are what the chat is read for: 7 : 1 (WCAG AAA); every
// other text the threshold, 4.5 : 1 unless the author asks for more.
inline constexpr double kMessageContrast = 7.0;
// What the texts of `slot` must reach when the skin's threshold is `threshold`.
double roleTarget(int slot, double threshold);

// The measure `check` uses, on a finished sheet: does every text of every
// screen reach its role's target, at 24 bits and, when `depthOption` names
// one ("/c16"), at the depth the skin will be saved at as well?
bool readsAtRoleTargets(const QImage &sheet, int profile, const IconSheets &icons, const QString &depthOption,
                        double threshold);

// The surface a pixel painted by `source` belongs to; 0 for what no tone of
// the skin makes (an icon, the template between pictures).
std::uint16_t surfaceOf(const PixelSource &source);

// Two colours that must be told apart: `a` and `b` are slots, or (bars) the
// sheet pictures named by `pictureA`/`pictureB`. They are apart when their
// CIELAB distance reaches `deltaE` or their contrast reaches `ratio`.
struct Apart {
    int slotA, slotB;         // -1 where a picture is meant
    int pictureA, pictureB;   // -1 where a slot is meant
    double deltaE;
    double ratio;             // 0: only the distance counts
};
// Outgoing and incoming messages (who said what); each selection bar and the
// background it moves over.
const std::array<Apart, 5> &apartPairs();

} // namespace zelkor::design
