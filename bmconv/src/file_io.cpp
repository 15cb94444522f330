#include "mbm/file_io.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

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

} // namespace

Result<ByteBuffer> readFile(const std::string& path)
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
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::read(fd.get(), bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return fail(ErrorCode::BadSourceFile, "cannot read: " + systemError());
        if (n == 0)
            break; // the file shrank while we read it
        done += static_cast<std::size_t>(n);
    }
    bytes.truncate(done);
    return bytes;
}

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
