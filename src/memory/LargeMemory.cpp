#include "memory/LargeMemory.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <sys/mman.h>

namespace zov::memory {

namespace {
constexpr std::size_t HugePageBytes = std::size_t(2) << 20;

std::size_t RoundedToHugePages(std::size_t bytes) { return (bytes + HugePageBytes - 1) / HugePageBytes * HugePageBytes; }
} // namespace

// Mapped with room to spare, then trimmed so that the block starts on a 2 MB boundary: only
// whole aligned 2 MB ranges can be 2 MB pages.
void* MapLargeBlock(std::size_t bytes, bool populate) {
    const std::size_t length = RoundedToHugePages(bytes);
    void* mapped = mmap(nullptr, length + HugePageBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED)
        return nullptr;
    const auto start = reinterpret_cast<std::uintptr_t>(mapped);
    const std::uintptr_t aligned = (start + HugePageBytes - 1) & ~(HugePageBytes - 1);
    if (aligned > start)
        munmap(mapped, aligned - start);
    munmap(reinterpret_cast<void*>(aligned + length), start + HugePageBytes - aligned);
    void* block = reinterpret_cast<void*>(aligned);
    // Only advice: without it the block still works. A block filled at once is filled to
    // `bytes`, so its last part short of 2 MB stays in small pages: it then costs what it holds,
    // not a whole 2 MB page more.
    madvise(block, populate ? bytes / HugePageBytes * HugePageBytes : length, MADV_HUGEPAGE);
#ifdef MADV_POPULATE_WRITE
    if (populate)
        madvise(block, bytes, MADV_POPULATE_WRITE); // also only advice: pages fault in otherwise
#endif
    return block;
}

void UnmapLargeBlock(void* block, std::size_t bytes) { munmap(block, RoundedToHugePages(bytes)); }

void AdviseLargePages(void* block, std::size_t bytes) {
    const auto start = reinterpret_cast<std::uintptr_t>(block);
    const std::uintptr_t first = (start + HugePageBytes - 1) & ~(HugePageBytes - 1);
    const std::uintptr_t end = (start + bytes) & ~(HugePageBytes - 1);
    if (end > first)
        madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
}

LargeBuffer::~LargeBuffer() {
    if (data_ != nullptr)
        UnmapLargeBlock(data_, capacity_);
}

bool LargeBuffer::Reserve(std::size_t extra) {
    if (capacity_ - size_ >= extra)
        return true;
    const std::size_t wanted = std::max({size_ + extra, 2 * capacity_, std::size_t(64 * 1024)});
    char* grown = static_cast<char*>(MapLargeBlock(wanted, true));
    if (grown == nullptr)
        return false;
    if (data_ != nullptr) {
        std::memcpy(grown, data_, size_);
        UnmapLargeBlock(data_, capacity_);
    }
    data_ = grown;
    capacity_ = wanted;
    return true;
}

} // namespace zov::memory
