#include "mbm/buffer.h"

#include <new>
#include <sys/mman.h>
#include <utility>

namespace mbm {
namespace {

// Below this a heap block is cheaper than a mapping of its own.
constexpr std::size_t kMapAtLeast = 256 * 1024;

} // namespace

ByteBuffer::ByteBuffer(std::size_t size) : size_(size)
{
    if (size == 0)
        return;
    if (size >= kMapAtLeast) {
        void* p = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
        if (p == MAP_FAILED)
            throw std::bad_alloc();
        data_ = static_cast<std::uint8_t*>(p);
        mapped_ = size;
    } else {
        data_ = new std::uint8_t[size]; // default-initialised: no fill
    }
}

ByteBuffer::~ByteBuffer() { release(); }

ByteBuffer::ByteBuffer(ByteBuffer&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)),
      mapped_(std::exchange(other.mapped_, 0))
{
}

ByteBuffer& ByteBuffer::operator=(ByteBuffer&& other) noexcept
{
    if (this != &other) {
        release();
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
        mapped_ = std::exchange(other.mapped_, 0);
    }
    return *this;
}

void ByteBuffer::truncate(std::size_t size)
{
    if (size < size_)
        size_ = size;
}

void ByteBuffer::release()
{
    if (mapped_ != 0)
        ::munmap(data_, mapped_);
    else
        delete[] data_;
    data_ = nullptr;
    size_ = mapped_ = 0;
}

} // namespace mbm
