#include "mbm/file_io.h"

#include "mbm/bytes.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace mbm {
namespace {

std::string systemError() { return std::strerror(errno); }

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    int release() { return std::exchange(fd_, -1); }

private:
    int fd_;
};

mode_t currentUmask()
{
    static const mode_t mask = [] {
        const mode_t m = ::umask(022);
        ::umask(m);
        return m;
    }();
    return mask;
}

// Reads [from, to) of the file into the same place of the buffer; returns
// how far it got (less at the end of a file that shrank).
Result<std::size_t> readRange(int fd, ByteBuffer& bytes, std::size_t from, std::size_t to)
{
    std::size_t done = from;
    while (done < to) {
        const ssize_t n = ::pread(fd, bytes.data() + done, to - done, static_cast<off_t>(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return fail(ErrorCode::BadSourceFile, "cannot read: " + systemError());
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}

// Reads the pieces' bytes into the buffer with the pieces in reverse order,
// as many pieces per call as the system takes.
Error readReversed(int fd, ByteBuffer& bytes, const ReversedPieces& pieces)
{
    static const long maxVectors = std::max(1L, ::sysconf(_SC_IOV_MAX));
    std::vector<iovec> vectors;
    std::uint64_t piece = 0;
    while (piece < pieces.count) {
        const auto batch = std::min<std::uint64_t>(pieces.count - piece, static_cast<std::uint64_t>(maxVectors));
        vectors.clear();
        for (std::uint64_t k = piece; k < piece + batch; ++k)
            vectors.push_back({bytes.data() + pieces.offset + (pieces.count - 1 - k) * pieces.length, pieces.length});
        const std::uint64_t at = pieces.offset + piece * pieces.length;
        ssize_t n;
        do
            n = ::preadv(fd, vectors.data(), static_cast<int>(vectors.size()), static_cast<off_t>(at));
        while (n < 0 && errno == EINTR);
        if (n < 0)
            return fail(ErrorCode::BadSourceFile, "cannot read: " + systemError());
        if (static_cast<std::uint64_t>(n) != batch * pieces.length)
            return fail(ErrorCode::BadSourceFile, "the file changed while it was read");
        piece += batch;
    }
    return {};
}

Result<ByteBuffer> readWholeFile(const std::string& path, ReadPlan plan)
{
    Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return fail(ErrorCode::FileNotFound, "file does not exist");
        return fail(ErrorCode::BadSourceFile, "cannot open: " + systemError());
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0)
        return fail(ErrorCode::BadSourceFile, "cannot read: " + systemError());
    if (!S_ISREG(st.st_mode))
        return fail(ErrorCode::BadSourceFile, "not a regular file");
    ByteBuffer bytes;
    try {
        bytes = ByteBuffer(static_cast<std::size_t>(st.st_size));
    } catch (const std::bad_alloc&) {
        return fail(ErrorCode::OutOfMemory, "file is too large to read");
    }
    const std::size_t size = bytes.size();
    ReversedPieces pieces;
    std::size_t done = 0;
    if (plan) {
        auto head = readRange(fd.get(), bytes, 0, std::min(size, kPlanHead));
        if (!head)
            return head.error();
        done = *head;
        // The plan must see what the caller will see again in the buffer.
        if (done != std::min(size, kPlanHead))
            return fail(ErrorCode::BadSourceFile, "the file changed while it was read");
        pieces = plan({bytes.data(), done}, size);
        if (pieces.count != 0 && !fits(size, pieces.offset, pieces.length * pieces.count))
            pieces = {};
    }
    if (pieces.count == 0) { // the whole file as it lies (the rest of it, after a plan's look)
        auto all = readRange(fd.get(), bytes, done, size);
        if (!all)
            return all.error();
        bytes.truncate(*all); // shorter when the file shrank while we read it
        return bytes;
    }
    // Before the pieces, the pieces reversed, after them.
    const std::size_t end = pieces.offset + pieces.length * pieces.count;
    for (const auto& [from, to] : {std::pair{done, pieces.offset}, std::pair{std::max(done, end), size}}) {
        if (from >= to)
            continue;
        auto got = readRange(fd.get(), bytes, from, to);
        if (!got)
            return got.error();
        if (*got != to)
            return fail(ErrorCode::BadSourceFile, "the file changed while it was read");
    }
    if (Error e = readReversed(fd.get(), bytes, pieces))
        return e;
    return bytes;
}

} // namespace

Result<ByteBuffer> readFile(const std::string& path) { return readWholeFile(path, nullptr); }

Result<ByteBuffer> readFileReversing(const std::string& path, ReadPlan plan) { return readWholeFile(path, plan); }

Error writeFileAtomic(const std::string& path, std::span<const std::uint8_t> bytes)
{
    const std::filesystem::path target(path);
    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    std::string temp = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
    Fd fd(::mkstemp(temp.data()));
    if (fd.get() < 0)
        return fail(ErrorCode::BadDestinationFile, "cannot create a file in " + folder.string() + ": " + systemError());
    const auto abandon = [&](const std::string& why) {
        const std::string message = why + ": " + systemError();
        ::close(fd.release());
        ::unlink(temp.c_str());
        return fail(ErrorCode::BadDestinationFile, message);
    };
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd.get(), bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return abandon("cannot write");
        done += static_cast<std::size_t>(n);
    }
    // mkstemp makes the file private; give it the permissions a new file gets.
    if (::fchmod(fd.get(), 0666 & ~currentUmask()) != 0)
        return abandon("cannot set permissions");
    if (::close(fd.release()) != 0) {
        const std::string message = "cannot write: " + systemError();
        ::unlink(temp.c_str());
        return fail(ErrorCode::BadDestinationFile, message);
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        const std::string message = "cannot replace the file: " + systemError();
        ::unlink(temp.c_str());
        return fail(ErrorCode::BadDestinationFile, message);
    }
    return {};
}

} // namespace mbm
