#pragma once
// Memory for large tables and inputs (the readers' tables, the launcher's input). Each page the
// program touches for the first time costs a fault, and on a virtual machine a fault costs as
// much as reading kilobytes:
// blocks of a megabyte or more are mapped on their own and asked to use 2 MB pages, which
// fault once per 2 MB. Smaller blocks come from the usual heap.
#include <cstddef>
#include <new>

namespace zov::memory {

constexpr std::size_t LargeBlockBytes = std::size_t(1) << 20;

// nullptr when the system refuses. `populate`: the whole block will be written at once, so its
// pages are all made present now, in one call instead of one fault each, and only its whole 2 MB
// ranges are 2 MB pages.
void* MapLargeBlock(std::size_t bytes, bool populate = false);
void UnmapLargeBlock(void* block, std::size_t bytes);
// Asks for 2 MB pages in the whole aligned 2 MB ranges of a block the heap gave, before it is
// first written. Only advice: a block too small, or a system without them, is left as it is.
void AdviseLargePages(void* block, std::size_t bytes);

// `FilledAtOnce`: each block is written whole as soon as it is had (a table of slots made at its
// full size), so its pages are made present at once and its last part short of 2 MB stays in small
// pages. Otherwise a block is filled as it is used, and each of its 2 MB ranges is one page.
template <typename T, bool FilledAtOnce = false>
struct LargeAllocator {
    using value_type = T;
    template <typename U>
    struct rebind {
        using other = LargeAllocator<U, FilledAtOnce>;
    };
    LargeAllocator() = default;
    template <typename U>
    LargeAllocator(const LargeAllocator<U, FilledAtOnce>&) {}

    T* allocate(std::size_t count) {
        const std::size_t bytes = count * sizeof(T);
        if (bytes < LargeBlockBytes)
            return static_cast<T*>(::operator new(bytes));
        void* block = MapLargeBlock(bytes, FilledAtOnce);
        if (block == nullptr)
            throw std::bad_alloc();
        return static_cast<T*>(block);
    }
    void deallocate(T* block, std::size_t count) {
        const std::size_t bytes = count * sizeof(T);
        if (bytes < LargeBlockBytes)
            ::operator delete(block);
        else
            UnmapLargeBlock(block, bytes);
    }
    template <typename U>
    bool operator==(const LargeAllocator<U, FilledAtOnce>&) const { return true; }
};

// A writable byte buffer that grows by doubling, each block mapped on its own with its pages made
// present at once (the buffer is filled as soon as it grows).
class LargeBuffer {
public:
    LargeBuffer() = default;
    ~LargeBuffer();
    LargeBuffer(const LargeBuffer&) = delete;
    LargeBuffer& operator=(const LargeBuffer&) = delete;

    char* Data() { return data_; }
    const char* Data() const { return data_; }
    std::size_t Size() const { return size_; }
    // Room for `extra` more bytes after Size(); false when the memory cannot be had.
    bool Reserve(std::size_t extra);
    // Counts `count` bytes written at Data() + Size() as part of the buffer.
    void Grow(std::size_t count) { size_ += count; }

private:
    char* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

} // namespace zov::memory
