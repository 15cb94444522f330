// A byte buffer for whole pictures and files that is never zero-filled.
//
// A std::vector value-initialises what it allocates, and a fresh large block
// then takes one page fault per 4 KiB as the fill first touches it. Nearly
// every big buffer of the converter is overwritten at once, so this one
// leaves its bytes unset, and takes large blocks from the kernel with all
// their pages mapped in one call.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace mbm {

class ByteBuffer {
public:
    ByteBuffer() = default;
    // `size` bytes of unspecified content; throws std::bad_alloc.
    explicit ByteBuffer(std::size_t size);
    ~ByteBuffer();
    ByteBuffer(ByteBuffer&& other) noexcept;
    ByteBuffer& operator=(ByteBuffer&& other) noexcept;
    ByteBuffer(const ByteBuffer&) = delete;
    ByteBuffer& operator=(const ByteBuffer&) = delete;

    std::uint8_t* data() { return data_; }
    const std::uint8_t* data() const { return data_; }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    std::uint8_t& operator[](std::size_t i) { return data_[i]; }
    const std::uint8_t& operator[](std::size_t i) const { return data_[i]; }
    operator std::span<const std::uint8_t>() const { return {data_, size_}; }
    operator std::span<std::uint8_t>() { return {data_, size_}; }

    // Forgets the bytes past `size` (never grows).
    void truncate(std::size_t size);

private:
    void release();

    std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t mapped_ = 0; // length of the kernel mapping, 0 when allocated with new
};

} // namespace mbm
