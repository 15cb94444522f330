#include "mbm/command_line.h"

#include <algorithm>
#include <cctype>
#include <limits>
#include <string_view>

namespace mbm {
namespace {

bool isOptionChar(char c) { return c == '/' || c == '-'; }

char lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

bool endsWithMbm(const std::string& s)
{
    if (s.size() < 4)
        return false;
    std::string tail = s.substr(s.size() - 4);
    std::transform(tail.begin(), tail.end(), tail.begin(), lower);
    return tail == ".mbm";
}

// A '/' argument that continues like a path is a path; '-' never starts one
// of the editor's paths, so there the option form always wins.
bool looksLikePath(const std::string& arg)
{
    return arg[0] == '/' && (arg.find('/', 1) != std::string::npos || endsWithMbm(arg));
}

// Longest valid depth first, so "/c24a.bmp" is c24 with file "a.bmp" while
// "/c32a..." is c32 with alpha; "/c82.bmp" becomes c8 with file "2.bmp".
const char* const kDepthSpellings[] = {"c32a", "c32", "c24", "c16", "c12", "c8", "c4", "8", "4", "2", "1"};

constexpr std::string_view kMaxPixels = "--max-pixels=";

// A positive decimal count, digits only, that fits in 64 bits.
bool parseCount(std::string_view text, std::uint64_t& out)
{
    if (text.empty() || text.size() > 20)
        return false;
    std::uint64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
        const auto digit = static_cast<std::uint64_t>(c - '0');
        if (value > (std::numeric_limits<std::uint64_t>::max() - digit) / 10)
            return false;
        value = value * 10 + digit;
    }
    out = value;
    return value > 0;
}

bool parseSource(const std::string& arg, SourceArg& out)
{
    out = SourceArg{arg, Depth{2, ColourFlag::Grey}};
    if (arg.empty() || !isOptionChar(arg[0]))
        return true;
    for (const char* spelling : kDepthSpellings) {
        const std::string s = spelling;
        if (arg.size() < 1 + s.size())
            continue;
        bool match = true;
        for (std::size_t i = 0; i < s.size() && match; ++i)
            match = lower(arg[1 + i]) == s[i];
        if (match) {
            out.depth = *parseDepthOption(s);
            out.path = arg.substr(1 + s.size());
            return !out.path.empty();
        }
    }
    return true; // no depth: an absolute path at the default depth
}

} // namespace

Result<Command> parseCommandLine(const std::vector<std::string>& args)
{
    Command cmd;
    if (args.empty())
        return cmd;
    for (const std::string& a : args)
        if (a == "--help" || a == "-?" || a == "/?" || a == "-help")
            return cmd;

    bool unpack = false, list = false;
    std::size_t i = 0;
    for (; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.size() < 2 || !isOptionChar(a[0]) || looksLikePath(a))
            break;
        const char letter = lower(a[1]);
        if (a.starts_with(kMaxPixels)) {
            if (!parseCount(std::string_view(a).substr(kMaxPixels.size()), cmd.maxPixels))
                return fail(ErrorCode::BadArgument, "option " + a + " needs a positive whole number of pixels");
        } else if (a.size() == 2 && (letter == 'n' || letter == 'q' || letter == 'u' || letter == 'v')) {
            cmd.noCompression |= letter == 'n';
            cmd.quiet |= letter == 'q';
            unpack |= letter == 'u';
            list |= letter == 'v';
        } else if (a.size() == 2 && (letter == 'r' || letter == 's')) {
            return fail(ErrorCode::BadArgument, "ROM image stores (" + a + ") are not supported");
        } else if (letter == 'h') {
            return fail(ErrorCode::BadArgument, "header files (" + a + ") are not supported");
        } else if (letter == 'p') {
            if (a.size() == 2)
                return fail(ErrorCode::BadArgument, "option " + a + " needs a palette file name glued to it");
            cmd.palettePath = a.substr(2);
        } else if (a[0] == '-') {
            return fail(ErrorCode::BadArgument, "unknown option " + a);
        } else {
            break; // e.g. "/x.mbm" in the root folder: a file name
        }
    }
    if (unpack && list)
        return fail(ErrorCode::BadArgument, "/u and /v cannot be combined");
    const std::vector<std::string> rest(args.begin() + static_cast<std::ptrdiff_t>(i), args.end());

    if (unpack || list) {
        cmd.mode = unpack ? Mode::Unpack : Mode::List;
        if (rest.empty())
            return fail(ErrorCode::BadArgument, "no multi-bitmap file given");
        if (unpack && rest.size() < 2)
            return fail(ErrorCode::BadArgument, "no target bitmap given for " + rest[0]);
        if (list && rest.size() > 1)
            return fail(ErrorCode::TooManyArguments, "/v takes one multi-bitmap file");
        cmd.mbmPath = rest[0];
        cmd.bmpPaths.assign(rest.begin() + 1, rest.end());
        return cmd;
    }

    cmd.mode = Mode::Pack;
    if (rest.empty())
        return fail(ErrorCode::BadArgument, "no target multi-bitmap file given");
    if (rest.size() == 1 && i == 0)
        return fail(ErrorCode::BadCommandFile, "command files (" + rest[0] + ") are not supported");
    if (rest.size() == 1)
        return fail(ErrorCode::BadArgument, "no source bitmaps given for " + rest[0]);
    cmd.mbmPath = rest[0];
    for (std::size_t k = 1; k < rest.size(); ++k) {
        SourceArg source;
        if (!parseSource(rest[k], source))
            return fail(ErrorCode::BadArgument, "no file name after the depth option " + rest[k]);
        cmd.sources.push_back(std::move(source));
    }
    return cmd;
}

const char* usageText()
{
    return "Usage:\n"
           "  bmconv [/n] [/q] [/p<palette>] <target.mbm> [/DEPTH]<source.bmp> ...   pack\n"
           "  bmconv /u <source.mbm> <target.bmp> ...                                 unpack\n"
           "  bmconv /v <source.mbm>                                                  list\n"
           "  bmconv --help\n"
           "\n"
           "DEPTH is glued to the source name: 1 2 4 8 (grey), c4 c8 (palette), c12 c16 c24 c32,\n"
           "or c32a (alpha taken from <name>-alpha.bmp, an 8 bpp bitmap of the same size).\n"
           "A source without DEPTH is packed at 2 bpp grey. Bitmaps are compressed unless /n.\n"
           "\n"
           "--max-pixels=N (N a positive whole number), given before the first file name,\n"
           "makes pack and unpack refuse a source bitmap, or a multi-bitmap file holding a\n"
           "bitmap, of more than N pixels (width x height) before reading or writing\n"
           "anything large. /v lists such files all the same.\n"
           "\n"
           "Options may start with '/' or '-'. Global options (/n /q /u /v /p<file>\n"
           "--max-pixels=N) are recognised only in these exact forms and only before the\n"
           "first file name.\n"
           "An argument that starts with '/' and contains another '/' or ends in .mbm is a\n"
           "path, never an option: /home/me/out.mbm is a file. A source is read as\n"
           "DEPTH + name only when it starts with '/' or '-', an optional 'c' and a valid\n"
           "depth; the longest valid depth wins, and 'a' counts only after c32:\n"
           "  /c24/home/me/in.bmp   24 bpp, file /home/me/in.bmp\n"
           "  /c24agbw.bmp          24 bpp, file agbw.bmp\n"
           "  /c8256.bmp            8 bpp colour, file 256.bmp\n"
           "  /home/me/in.bmp       2 bpp grey (no depth), file /home/me/in.bmp\n"
           "For a /c32 source whose name starts with 'a', write /c32./a.bmp.\n"
           "\n"
           "Output is written to a temporary file and renamed into place: on failure no\n"
           "output file is left and an existing one is kept. Exit codes: 0 success,\n"
           "2 bad argument, 3 file does not exist, 4 bad source file, 5 bad destination file,\n"
           "7 more targets than bitmaps, 9 unknown compression, 11 decompression error,\n"
           "12 invalid bitmap mode, 13 bad palette file, 14 palettes not supported,\n"
           "15 alpha file missing, 16 alpha dimensions differ, 17 alpha file not 8 bpp,\n"
           "18 bitmap larger than --max-pixels.\n"
           "ROM image stores (/r /s), header files (/h) and command files are not supported.\n";
}

} // namespace mbm
