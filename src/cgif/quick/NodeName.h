#pragma once
// A node's name as the quick checker keeps it: a piece of the input, or a generated graph name
// "G" + number kept as its number, so that naming a graph costs no text of its own.
#include <charconv>
#include <cstdint>
#include <string_view>

namespace zov::cgif::quick {

struct NodeName {
    const char* Data = nullptr;
    std::uint32_t Size = 0;
    std::int32_t Number = -1; // 0 or more: the generated name "G" + Number

    static NodeName Of(std::string_view text) { return {text.data(), static_cast<std::uint32_t>(text.size()), -1}; }
    static NodeName Generated(int number) { return {nullptr, 0, number}; }
    bool Empty() const { return Number < 0 && Size == 0; }

    // The name's text; a generated name is written into `buffer`.
    std::string_view Text(char (&buffer)[16]) const {
        if (Number < 0)
            return {Data, Size};
        buffer[0] = 'G';
        const auto written = std::to_chars(buffer + 1, buffer + sizeof buffer, Number);
        return {buffer, static_cast<std::size_t>(written.ptr - buffer)};
    }
};

// Equal texts. Names read from the input are compared in line: they are short.
inline bool SameName(const NodeName& a, const NodeName& b) {
    if (a.Number < 0 && b.Number < 0) {
        if (a.Size != b.Size)
            return false;
        for (std::uint32_t i = 0; i < a.Size; ++i)
            if (a.Data[i] != b.Data[i])
                return false;
        return true;
    }
    char bufferA[16];
    char bufferB[16];
    return a.Text(bufferA) == b.Text(bufferB);
}

// FNV-1a over the name's text, folded to 32 bits: names are short, and their last characters
// (numbers) differ most.
inline std::uint32_t HashOfName(const NodeName& name) {
    char buffer[16];
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : name.Text(buffer)) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    return static_cast<std::uint32_t>(hash ^ (hash >> 32));
}

} // namespace zov::cgif::quick
