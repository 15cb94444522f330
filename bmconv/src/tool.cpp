#include "mbm/tool.h"

#include "mbm/bmp.h"
#include "mbm/command_line.h"
#include "mbm/file_io.h"
#include "mbm/mbm.h"
#include "mbm/palette_file.h"

#include <filesystem>
#include <memory>
#include <ostream>
#include <sstream>

namespace mbm {
namespace {

constexpr const char* kBanner = "bmconv 1.0, Zelkor Skin Editor multi-bitmap converter";

// Collects the printed report; a failure prints its one line on stderr.
class Reporter {
public:
    Reporter(std::ostream& out, std::ostream& err, bool quiet) : out_(out), err_(err), quiet_(quiet) {}

    std::ostream& report() { return report_; }

    int failure(const std::string& file, const Error& e)
    {
        err_ << "bmconv: " << file << ": " << e.message << '\n';
        flushReport(true);
        return static_cast<int>(e.code);
    }

    int success()
    {
        report_ << "Success.\n";
        flushReport(false);
        return 0;
    }

private:
    void flushReport(bool failed)
    {
        if (!quiet_ || failed)
            out_ << report_.str() << std::flush;
    }

    std::ostream& out_;
    std::ostream& err_;
    bool quiet_;
    std::ostringstream report_;
};

// The limits a command line asks for.
Limits limitsOf(const Command& cmd)
{
    Limits limits;
    if (cmd.maxPixels != 0)
        limits.maxPixels = cmd.maxPixels;
    return limits;
}

int pack(const Command& cmd, Reporter& r)
{
    r.report() << "Compiling...\nStore type: file store\nTarget: " << cmd.mbmPath << "\n\n";
    std::unique_ptr<Inverse256> customInverse;
    if (!cmd.palettePath.empty()) {
        auto text = readFile(cmd.palettePath);
        if (!text)
            return r.failure(cmd.palettePath, fail(ErrorCode::BadCommandFile, "palette file: " + text.error().message));
        auto palette = parsePaletteFile(std::string_view(reinterpret_cast<const char*>(text->data()), text->size()));
        if (!palette)
            return r.failure(cmd.palettePath, palette.error());
        customInverse = std::make_unique<Inverse256>(buildInverse256(*palette));
    }

    std::vector<EncodedBitmap> bitmaps;
    bitmaps.reserve(cmd.sources.size());
    for (std::size_t i = 0; i < cmd.sources.size(); ++i) {
        const SourceArg& source = cmd.sources[i];
        r.report() << "Bitmap file " << i + 1 << "\t: " << source.path << '\n';
        auto bytes = readFileReversing(source.path, rowsToReverse);
        if (!bytes)
            return r.failure(source.path, bytes.error());
        auto rows = BmpRows::open(*bytes, limitsOf(cmd), rowsToReverse(*bytes, bytes->size()).count != 0);
        if (!rows)
            return r.failure(source.path, rows.error());
        std::vector<std::uint8_t> alphaPlane;
        if (hasAlpha(source.depth)) {
            const std::string alphaPath = alphaFileName(source.path);
            auto alphaBytes = readFile(alphaPath);
            if (!alphaBytes)
                return r.failure(alphaPath, fail(alphaBytes.error().code == ErrorCode::FileNotFound
                                                     ? ErrorCode::AlphaFileMissing
                                                     : alphaBytes.error().code,
                                                 "alpha file: " + alphaBytes.error().message));
            auto alpha = readAlphaBmp(*alphaBytes, rows->width, rows->height);
            if (!alpha)
                return r.failure(alphaPath, alpha.error());
            alphaPlane = std::move(*alpha);
            rows->alpha = alphaPlane;
        }
        EncodeOptions options;
        options.compress = !cmd.noCompression;
        options.inverse = customInverse.get();
        bitmaps.push_back(encodeRows(*rows, source.depth, options));
    }
    if (Error e = writeFileAtomic(cmd.mbmPath, serialiseMbm(bitmaps)))
        return r.failure(cmd.mbmPath, e);
    return r.success();
}

// A read and checked multi-bitmap file. The records point into `bytes`, whose
// memory stays put when the buffer is moved.
struct Store {
    ByteBuffer bytes;
    std::vector<BitmapRecord> records;
};

Result<Store> loadStore(const std::string& path, const Limits& limits)
{
    auto bytes = readFile(path);
    if (!bytes)
        return bytes.error();
    Store store{std::move(*bytes), {}};
    auto records = parseMbm(store.bytes, limits);
    if (!records)
        return records.error();
    store.records = std::move(*records);
    return store;
}

int unpack(const Command& cmd, Reporter& r)
{
    r.report() << "Decompiling...\nSource: " << cmd.mbmPath << "\n\n";
    const Limits limits = limitsOf(cmd);
    auto store = loadStore(cmd.mbmPath, limits);
    if (!store)
        return r.failure(cmd.mbmPath, store.error());
    const std::vector<BitmapRecord>* records = &store->records;
    for (std::size_t i = 0; i < cmd.bmpPaths.size(); ++i) {
        const std::string& target = cmd.bmpPaths[i];
        if (i >= records->size())
            return r.failure(cmd.mbmPath, fail(ErrorCode::SourceTargetMismatch,
                                               "holds " + std::to_string(records->size()) + " bitmaps, but "
                                                   + std::to_string(cmd.bmpPaths.size()) + " targets were given"));
        r.report() << "Bitmap file " << i + 1 << "\t: " << target << '\n';
        auto unpacked = unpackBitmap((*records)[i], limits);
        if (!unpacked)
            return r.failure(cmd.mbmPath, unpacked.error());
        if (Error e = writeFileAtomic(target, unpacked->picture))
            return r.failure(target, e);
        if (!unpacked->alpha.empty()) {
            const std::string alphaPath = alphaFileName(target);
            if (Error e = writeFileAtomic(alphaPath, unpacked->alpha))
                return r.failure(alphaPath, e);
        }
    }
    return r.success();
}

const char* compressionName(std::int32_t code)
{
    static const char* const names[] = {"none", "byte RLE", "12-bit RLE", "16-bit RLE",
                                        "24-bit RLE", "32-bit RLE", "32-bit alpha RLE"};
    return code >= 0 && code <= 6 ? names[code] : "unknown";
}

int list(const Command& cmd, std::ostream& out, Reporter& r)
{
    auto store = loadStore(cmd.mbmPath, Limits{}); // lists any size: listing allocates nothing large
    if (!store)
        return r.failure(cmd.mbmPath, store.error());
    const std::vector<BitmapRecord>* records = &store->records;
    out << cmd.mbmPath << " is a multiple bitmap file store containing " << records->size() << " bitmaps\n\n";
    out << "Bitmap   Width   Height  BitDepth  Colour  Size     Compression\n";
    for (std::size_t i = 0; i < records->size(); ++i) {
        const BitmapHeader& h = (*records)[i].header;
        out << i + 1 << '\t' << h.width << '\t' << h.height << '\t' << h.bitsPerPixel << "\t  "
            << h.colour << '\t' << h.bitmapSize << '\t' << compressionName(h.compression) << '\n';
    }
    return 0;
}

} // namespace

std::string alphaFileName(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return path + "-alpha";
    return path.substr(0, dot) + "-alpha" + path.substr(dot);
}

int runTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    auto parsed = parseCommandLine(args);
    if (!parsed) {
        err << "bmconv: " << parsed.error().message << " (bmconv --help shows the usage)\n";
        return static_cast<int>(parsed.error().code);
    }
    const Command& cmd = *parsed;
    if (cmd.mode == Mode::Help) {
        out << usageText();
        return 0;
    }
    Reporter r(out, err, cmd.quiet);
    r.report() << "\n\n" << kBanner << '\n';
    try {
        switch (cmd.mode) {
        case Mode::Pack: return pack(cmd, r);
        case Mode::Unpack: return unpack(cmd, r);
        case Mode::List: return list(cmd, out, r);
        case Mode::Help: break;
        }
    } catch (const std::bad_alloc&) {
        return r.failure(cmd.mbmPath, fail(ErrorCode::OutOfMemory, "out of memory"));
    }
    return 0;
}

} // namespace mbm
