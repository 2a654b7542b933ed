#include "cgif/quick/InputText.h"

#include <cstdint>
#include <cstring>

namespace zov::cgif::quick {

namespace {

bool IsStrictUtf8(const unsigned char* at, const unsigned char* end) {
    while (at < end) {
        const unsigned char lead = *at;
        if (lead < 0x80) {
            ++at;
            continue;
        }
        int length = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            if (lead == 0xE0)
                low = 0xA0;
            else if (lead == 0xED)
                high = 0x9F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            if (lead == 0xF0)
                low = 0x90;
            else if (lead == 0xF4)
                high = 0x8F;
        } else {
            return false;
        }
        if (end - at < length || at[1] < low || at[1] > high)
            return false;
        for (int i = 2; i < length; ++i)
            if (at[i] < 0x80 || at[i] > 0xBF)
                return false;
        at += length;
    }
    return true;
}

} // namespace

bool IsStrictUtf8(std::string_view bytes) {
    const auto* begin = reinterpret_cast<const unsigned char*>(bytes.data());
    return IsStrictUtf8(begin, begin + bytes.size());
}

bool DecodesAsBytes(std::string_view bytes, std::size_t& skip) {
    skip = 0;
    if (std::memchr(bytes.data(), 0, bytes.size()) != nullptr)
        return false;
    // Plain ASCII is the usual case: test eight bytes at a time for a high bit.
    std::uint64_t high = 0;
    std::size_t i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes.data() + i, 8);
        high |= word;
    }
    for (; i < bytes.size(); ++i)
        high |= static_cast<unsigned char>(bytes[i]);
    if ((high & 0x8080808080808080ull) == 0)
        return true;
    const auto* begin = reinterpret_cast<const unsigned char*>(bytes.data());
    if (!IsStrictUtf8(begin, begin + bytes.size()))
        return false;
    if (bytes.size() >= 3 && begin[0] == 0xEF && begin[1] == 0xBB && begin[2] == 0xBF)
        skip = 3;
    return true;
}

} // namespace zov::cgif::quick
