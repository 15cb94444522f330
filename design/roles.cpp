#include "roles.h"


#include <algorithm>

namespace zelkor::design {

namespace {

constexpr std::uint16_t kList = ContactsBackground | SelectionBar | MenuFill | MenuSelection;

constexpr std::array<Role, kColourSlotCount> kRoles{{
    {0, RoleKind::Text, Tint::Key, kMessageContrast, ChatBackground},
    {1, RoleKind::Text, Tint::Accent, kMessageContrast, ChatBackground},
    {2, RoleKind::Text, Tint::Accent, kDefaultMinContrast, ChatBackground},
    {3, RoleKind::Fill, Tint::Key, 0, 0},
    {4, RoleKind::Fill, Tint::Accent, 0, MenuFill},
    {5, RoleKind::Fill, Tint::Accent, 0, MenuFill},
    {6, RoleKind::Text, Tint::Key, kDefaultMinContrast, kList},
    {7, RoleKind::Text, Tint::Accent, kDefaultMinContrast, kList},
    {8, RoleKind::Text, Tint::Key, kDefaultMinContrast, ContactsBackground | OtherText},
    {9, RoleKind::Text, Tint::Key, kDefaultMinContrast, MenuBar | ChatBackground},
    {10, RoleKind::Text, Tint::Key, kDefaultMinContrast, MenuFill | MenuSelection},
    {11, RoleKind::Text, Tint::Key, kDefaultMinContrast, SettingsBackground | SelectionBar},
    {12, RoleKind::Text, Tint::Accent, kDefaultMinContrast, ContactsBackground},
}};

constexpr std::array<Apart, 5> kApart{{
    {0, 1, -1, -1, 20.0, 0.0},
    {-1, -1, Select1, Contacts, 15.0, 1.5},
    {-1, -1, Select2, Contacts, 15.0, 1.5},
    {-1, -1, AccountSel, Contacts, 15.0, 1.5},
    {-1, -1, SettingsSelect, SettingsEl, 15.0, 1.5},
}};

} // namespace

const std::array<Role, kColourSlotCount> &roles()
{
    return kRoles;
}

const std::array<Apart, 5> &apartPairs()
{
    return kApart;
}

double roleTarget(int slot, double threshold)
{
    return slot >= 0 && slot < kColourSlotCount ? std::max(threshold, kRoles[size_t(slot)].target) : threshold;
}

std::uint16_t surfaceOf(const PixelSource &source)
{
    switch (source.kind) {
    case PixelSource::Slot:
        if (source.slot == 3)
            return MenuFill;
        if (source.slot == 4 || source.slot == 5)
            return MenuSelection;
        return kRoles[size_t(source.slot)].kind == RoleKind::Text ? OtherText : 0;
    case PixelSource::Picture:
        switch (source.picture) {
        case Contacts: return ContactsBackground;
        case Chat: return ChatBackground;
        case SettingsEl: return SettingsBackground;
        case Menuline:
        case SettingsTop: return MenuBar;
        case Select1:
        case Select2:
        case SettingsSelect:
        case AccountSel: return SelectionBar;
        default: return 0;
        }
    default:
        return 0;
    }
}

bool readsAtRoleTargets(const QImage &sheet, int profile, const IconSheets &icons, const QString &depthOption,
                        double threshold)
{
    const auto reads = [&](const Legibility &measured) {
        return std::all_of(measured.texts.begin(), measured.texts.end(), [&](const TextLegibility &t) {
            return t.contrast >= (t.slot >= 0 ? roleTarget(t.slot, threshold) : threshold);
        });
    };
    if (depthOption.isEmpty())
        return reads(measureSkinLegibility(sheet, profile, icons));
    const LegibilityAtDepth measured = measureSkinLegibilityAtDepth(sheet, profile, icons, depthOption);
    return reads(measured.asIs) && reads(measured.atDepth);
}

} // namespace zelkor::design
