// The quick checker's input: the lines of the bytes of a file, found without decoding them.
// The scanner routines that read them are the grammar's (cgif/grammar/Scanner.h).
#include "cgif/quick/QuickReader.h"

#include <bit>
#include <cstring>

namespace zov::cgif::quick {

namespace {
// The first CR or LF at or after `at`, or `end`. Eight bytes at a time: bytes below 0x0E are
// flagged (exactly, for the bytes below 0x80 that come before the first flagged one) and each
// flagged byte is looked at in turn.
std::size_t FindLineEnd(const char* text, std::size_t at, std::size_t end) {
    constexpr std::uint64_t Ones = 0x0101010101010101ull;
    constexpr std::uint64_t Highs = 0x8080808080808080ull;
    for (; at + 8 <= end; at += 8) {
        std::uint64_t word;
        std::memcpy(&word, text + at, 8);
        for (std::uint64_t flags = (word - Ones * 0x0E) & ~word & Highs; flags != 0; flags &= flags - 1) {
            const std::size_t candidate = at + static_cast<std::size_t>(std::countr_zero(flags)) / 8;
            if (text[candidate] == '\n' || text[candidate] == '\r')
                return candidate;
        }
    }
    while (at < end && text[at] != '\n' && text[at] != '\r')
        ++at;
    return at;
}

} // namespace

// Lines end at CR LF, LF or a lone CR; the last line needs no end.
void QuickReader::NextInputLine() {
    const auto size = static_cast<std::size_t>(size_);
    const char* data = text_;
    std::size_t end = FindLineEnd(data, static_cast<std::size_t>(next_), size);
    lineBegin_ = next_;
    lineEnd_ = static_cast<std::ptrdiff_t>(end);
    pos_ = next_;
    if (end < size && data[end] == '\r' && end + 1 < size && data[end + 1] == '\n')
        ++end;
    next_ = static_cast<std::ptrdiff_t>(end < size ? end + 1 : size);
}

} // namespace zov::cgif::quick
