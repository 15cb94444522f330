// The converter's command line.
//
// Options start with '/' or '-'. Global options are recognised only in their
// exact forms and only before the first file name, so absolute paths are never
// taken for options: /home/x/out.mbm is a file, not /h with "ome/x/out.mbm".
// A source takes a depth only when it starts with '/' or '-', an optional 'c'
// and a valid depth, glued to the file name: /c24/home/x/in.bmp is 24 bpp.
#pragma once

#include "mbm/depth.h"
#include "mbm/error.h"

#include <cstdint>
#include <string>
#include <vector>

namespace mbm {

enum class Mode { Help, Pack, Unpack, List };

struct SourceArg {
    std::string path;
    Depth depth;
};

struct Command {
    Mode mode = Mode::Help;
    bool noCompression = false;
    bool quiet = false;
    std::uint64_t maxPixels = 0;    // --max-pixels=N; 0: no limit
    std::string palettePath;        // /p<file>: custom palette for /c8
    std::string mbmPath;            // pack: target; unpack and list: source
    std::vector<SourceArg> sources; // pack
    std::vector<std::string> bmpPaths; // unpack targets
};

Result<Command> parseCommandLine(const std::vector<std::string>& args);

// The usage text printed by --help, which also states the rules above.
const char* usageText();

} // namespace mbm
