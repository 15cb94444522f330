#pragma once
// Names and options of saving a skin: the colour depth table of the depth
// dialog and the rule that turns the name the user chose into the converter's
// output name and the final path.

#include <QString>

#include <array>
#include <initializer_list>

namespace zelkor {

struct ColourDepth {
    const char *item;    // text in the colour depth dialog
    const char *option;  // the converter's depth option, glued to the bitmap name
};

inline constexpr std::array<ColourDepth, 5> kColourDepths{{
    {"Color 4 bpp", "/c4"},
    {"Color 8 bpp", "/c8"},
    {"Color 12 bpp", "/c12"},
    {"Color 16 bpp", "/c16"},
    {"Color 24 bpp", "/c24"},
}};
inline constexpr int kDefaultColourDepth = 4;  // 24 bpp

// The depth option of item `index`, empty for anything else.
QString depthOption(int index);
// The depth option named as the command line names it ("c8" -> "/c8"), empty for anything else.
QString depthOptionByName(const QString &name);
// The item of a depth option ("/c8" -> 1), -1 for anything else.
int depthItem(const QString &option);
// The item the depth dialog opens on: that of the first of `options` (in
// order of preference: the file's own depth, the last one saved, the
// preview's) that is a save depth, else 24 bpp.
int preselectedDepthItem(std::initializer_list<QString> options);

// The profile's save-name prefix ("extskin_176x208_"); empty with no profile.
QString savePrefix(int profile);

struct SaveTarget {
    QString outputName;  // what the converter writes in the program folder
    QString targetPath;  // where that file goes: the chosen folder
};

// A chosen "/skins/a.bin" at profile 1 gives "extskin_176x208_a.bin" in
// "/skins"; a name without an extension gets ".mbm". A name that already
// starts with the profile's prefix gets no second one.
SaveTarget saveTarget(const QString &chosenPath, int profile);

} // namespace zelkor
