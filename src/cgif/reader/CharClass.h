#pragma once
// Character classes of the CGIF reader, looked up in one table of flags. Only the ASCII letters
// and digits count; every other character, accented letters and characters beyond Latin-1
// included, belongs to no class.
#include <QChar>
#include <array>
#include <cstdint>

namespace zov::cgif {

namespace charclass {
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

// The flags of one UTF-16 code unit: none beyond ASCII.
constexpr std::uint8_t Of(char16_t c) { return c < 128 ? Table[c] : 0; }
} // namespace charclass

constexpr bool IsDigit(QChar c) { return (charclass::Of(c.unicode()) & charclass::Digit) != 0; }
constexpr bool IsLetter(QChar c) { return (charclass::Of(c.unicode()) & charclass::Letter) != 0; }
constexpr bool IsLetterOrDigit(QChar c) {
    return (charclass::Of(c.unicode()) & (charclass::Letter | charclass::Digit)) != 0;
}
constexpr bool IsIdentifierStart(QChar c) {
    return (charclass::Of(c.unicode()) & (charclass::Letter | charclass::Underscore)) != 0;
}
constexpr bool IsIdentifierPart(QChar c) { return charclass::Of(c.unicode()) != 0; }

} // namespace zov::cgif
