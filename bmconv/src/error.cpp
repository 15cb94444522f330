#include "mbm/error.h"

namespace mbm {

const char* describe(ErrorCode code)
{
    switch (code) {
    case ErrorCode::None: return "success";
    case ErrorCode::OutOfMemory: return "out of memory";
    case ErrorCode::BadArgument: return "bad argument";
    case ErrorCode::FileNotFound: return "file does not exist";
    case ErrorCode::BadSourceFile: return "bad source file";
    case ErrorCode::BadDestinationFile: return "bad destination file";
    case ErrorCode::BadCommandFile: return "bad command file";
    case ErrorCode::SourceTargetMismatch: return "number of sources and targets mismatch";
    case ErrorCode::TooManyArguments: return "too many arguments";
    case ErrorCode::UnknownCompression: return "unknown compression";
    case ErrorCode::CompressionError: return "compression error";
    case ErrorCode::DecompressionError: return "decompression error";
    case ErrorCode::InvalidBitmapMode: return "invalid bitmap mode";
    case ErrorCode::BadPaletteFile: return "bad palette file";
    case ErrorCode::PalettesNotSupported: return "palettes not supported";
    case ErrorCode::AlphaFileMissing: return "alpha file missing";
    case ErrorCode::AlphaDimensionsDiffer: return "alpha dimensions differ";
    case ErrorCode::AlphaNot8Bpp: return "alpha file not 8 bpp";
    case ErrorCode::TooLarge: return "bitmap larger than the limit";
    }
    return "unknown error";
}

} // namespace mbm
