#include "profiles.h"

namespace zelkor {
namespace {

// clang-format off
const std::array<Profile, kProfileCount> kProfiles = {{
//   idx  W    H    label      template              photograph               save prefix           PaintBox1     offset      row first/y  new-skin dialog item                                                    rows
    {1, 176, 208, "176x208", "skn/176x208.mbm", "devices/176x208.jpg", "extskin_176x208_", {419,  94}, { 42,  91},  90, 232, "176 x 208 для Symbian 9 (Nokia N91, Nokia 3250 и т.д.)",     514},
    {2, 208, 176, "208x176", "skn/208x176.mbm", "devices/208x176.jpg", "extskin_208x176_", {456,  55}, { 79,  52}, 105, 202, "208 x 176 для Symbian 9 (Nokia N91, Nokia 3250 и т.д.)",     481},
    {3, 240, 320, "240x320", "skn/240x320.mbm", "devices/240x320.jpg", "extskin_240x320_", {449, 108}, { 72, 105}, 121, 348, "240 x 320 для Symbian 9 (Nokia N71, N76, 5700 и т.д.)",     740},
    {4, 320, 240, "320x240", "skn/320x240.mbm", "devices/320x240.jpg", "extskin_320x240_", {436, 124}, { 59, 121}, 161, 264, "320 x 240 для Symbian 9 (Nokia E61i, E61, E71 и т.д.)",     604},
    {5, 352, 416, "352x416", "skn/352x416.mbm", "devices/352x416.jpg", "extskin_352x416_", {454, 169}, { 77, 166}, 179, 476, "352 x 416 для Symbian 9 (Nokia N90, N80, E70, E60 и т.д.)", 1028},
    {6, 416, 352, "416x352", "skn/416x352.mbm", "devices/416x352.jpg", "extskin_416x352_", {543,  81}, {166,  78}, 209, 400, "416 x 352 для Symbian 9 (Nokia N90, N80, E70, E60 и т.д.)", 962},
}};

const std::array<PictureInfo, kPictureCount> kPictures = {{
    {"menuline",        "temp/menuline.bmp",        "Нижняя полоса"},
    {"contacts",        "temp/contacts.bmp",        "Фоновая картинка в контактах"},
    {"select1",         "temp/select1.bmp",         "Выбор контакта (1 колонка)"},
    {"select2",         "temp/select2.bmp",         "Выбор контакта (2 колонки)"},
    {"settings_top",    "temp/settings_top.bmp",    "Верняя полоса в настройках"},
    {"settings_el",     "temp/settings_el.bmp",     "Фон в настройках"},
    {"settings_select", "temp/settings_select.bmp", "Выбор в настройках"},
    {"chat",            "temp/chat.bmp",            "Фоновая картинка чата"},
    {"account_sel",     "temp/account_sel.bmp",     "Полоса выбора в списке аккаунта"},
}};

// Picture rectangles: [picture][profile - 1] = {top row, width, height}.
const PictureRect kLayout[kPictureCount][kProfileCount] = {
    //                 176x208          208x176          240x320          320x240          352x416           416x352
    /* menuline */    {{  0, 176,  20}, {  0, 208,  18}, {  0, 240,  20}, {  0, 320,  18}, {  0, 352,  40}, {  0, 416,  36}},
    /* contacts */    {{ 20, 176, 188}, { 18, 208, 160}, { 20, 240, 304}, { 18, 320, 222}, { 40, 352, 376}, { 36, 416, 320}},
    /* select1 */     {{209, 176,  18}, {179, 208,  18}, {325, 240,  18}, {241, 320,  18}, {418, 352,  36}, {358, 416,  36}},
    /* select2 */     {{228,  89,  18}, {198, 104,  18}, {344, 120,  18}, {260, 160,  18}, {456, 176,  36}, {396, 208,  36}},
    /* settings_top */{{247, 176,  16}, {217, 208,  16}, {363, 240,  16}, {279, 320,  16}, {494, 352,  32}, {434, 416,  32}},
    /* settings_el */ {{263, 176,  33}, {233, 208,  33}, {379, 240,  33}, {295, 320,  33}, {526, 352,  66}, {466, 416,  66}},
    /* settings_sel */{{296, 176,  33}, {266, 208,  33}, {412, 240,  33}, {328, 320,  33}, {592, 352,  66}, {532, 416,  66}},
    /* chat */        {{329, 176, 165}, {299, 208, 164}, {445, 240, 275}, {361, 320, 225}, {658, 352, 330}, {598, 416, 328}},
    /* account_sel */ {{494, 176,  20}, {463, 208,  18}, {720, 240,  20}, {586, 320,  18}, {988, 352,  40}, {926, 416,  36}},
};
// clang-format on

} // namespace

const Profile *profileByIndex(int index)
{
    if (index < 1 || index > kProfileCount)
        return nullptr;
    return &kProfiles[index - 1];
}

int profileIndexByLabel(const QString &label)
{
    for (const Profile &p : kProfiles)
        if (label == QLatin1String(p.label))
            return p.index;
    return 0;
}

int profileIndexByWidth(int sheetWidth)
{
    for (const Profile &p : kProfiles) {
        if (p.screenWidth == sheetWidth)
            return p.index;
    }
    return 0;
}

const PictureInfo &pictureInfo(int picture)
{
    Q_ASSERT(picture >= 0 && picture < kPictureCount);
    return kPictures[picture];
}

std::optional<PictureRect> pictureRect(int picture, int profile)
{
    if (picture < 0 || picture >= kPictureCount || !profileByIndex(profile))
        return std::nullopt;
    return kLayout[picture][profile - 1];
}

std::optional<ColourRowOrigin> colourRow(int profile)
{
    const Profile *p = profileByIndex(profile);
    if (!p)
        return std::nullopt;
    return ColourRowOrigin{p->colourRowFirstColumn, p->colourRow};
}

const std::array<Profile, kProfileCount> &allProfiles()
{
    return kProfiles;
}

} // namespace zelkor
