#pragma once
// Character classes of the CGIF grammar, looked up in one table of flags by character code.
// Only the ASCII letters and digits count; every other code, accented letters, characters
// beyond Latin-1 and the bytes of UTF-8 sequences included, belongs to no class.
#include <array>
#include <cstdint>

namespace zov::cgif::grammar::charclass {

constexpr std::uint8_t Digit = 1;
constexpr std::uint8_t Letter = 2;
constexpr std::uint8_t Underscore = 4;

constexpr std::array<std::uint8_t, 128> MakeTable() {
    std::array<std::uint8_t, 128> table{};
    for (int c = '0'; c <= '9'; ++c)
        table[static_cast<std::size_t>(c)] = Digit;
    for (int c = 'A'; c <= 'Z'; ++c)
        table[static_cast<std::size_t>(c)] = Letter;
    for (int c = 'a'; c <= 'z'; ++c)
        table[static_cast<std::size_t>(c)] = Letter;
    table['_'] = Underscore;
    return table;
}
inline constexpr std::array<std::uint8_t, 128> Table = MakeTable();

// The flags of one character code: none beyond ASCII.
constexpr std::uint8_t Of(unsigned code) { return code < 128 ? Table[code] : 0; }
constexpr bool IsDigit(unsigned code) { return (Of(code) & Digit) != 0; }
constexpr bool IsIdentifierStart(unsigned code) { return (Of(code) & (Letter | Underscore)) != 0; }
constexpr bool IsIdentifierPart(unsigned code) { return Of(code) != 0; }

} // namespace zov::cgif::grammar::charclass
