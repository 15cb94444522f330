// Error codes and a small result type shared by the format library and the tool.
#pragma once

#include <string>
#include <utility>
#include <variant>

namespace mbm {

// The numbers are the process exit codes, kept equal to the ones the SDK's
// converter returns so that scripts written for it keep working.
enum class ErrorCode : int {
    None = 0,
    OutOfMemory = 1,
    BadArgument = 2,
    FileNotFound = 3,
    BadSourceFile = 4,
    BadDestinationFile = 5,
    BadCommandFile = 6,
    SourceTargetMismatch = 7,
    TooManyArguments = 8,
    UnknownCompression = 9,
    CompressionError = 10,
    DecompressionError = 11,
    InvalidBitmapMode = 12,
    BadPaletteFile = 13,
    PalettesNotSupported = 14,
    AlphaFileMissing = 15,
    AlphaDimensionsDiffer = 16,
    AlphaNot8Bpp = 17,
    // Ours: a bitmap over the size the caller allowed (--max-pixels).
    TooLarge = 18,
};

// Short generic text for a code; the message in Error says the specific cause.
const char* describe(ErrorCode code);

struct Error {
    ErrorCode code = ErrorCode::None;
    std::string message;

    explicit operator bool() const { return code != ErrorCode::None; }
};

inline Error fail(ErrorCode code, std::string message) { return Error{code, std::move(message)}; }

// Either a value or an Error. Deliberately tiny: the library needs no more.
template <class T>
class Result {
public:
    Result(T value) : v_(std::move(value)) {}
    Result(Error error) : v_(std::move(error)) {}

    bool ok() const { return v_.index() == 0; }
    explicit operator bool() const { return ok(); }
    T& value() { return std::get<0>(v_); }
    const T& value() const { return std::get<0>(v_); }
    T& operator*() { return value(); }
    const T& operator*() const { return value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    const Error& error() const { return std::get<1>(v_); }

private:
    std::variant<T, Error> v_;
};

} // namespace mbm
