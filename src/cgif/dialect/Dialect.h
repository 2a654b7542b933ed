#pragma once
// The two CGIF dialects the program reads, and how a user chooses between them.
#include <optional>
#include <string_view>

namespace zov::cgif::dialect {

enum class Dialect {
    Draft2001, // the June 2001 draft dialect, read by CgifReader
    Iso,       // the dialect of ISO/IEC 24707:2007, read by the ISO reader
};

enum class DialectChoice {
    Auto,      // decided for each file by DialectDetector
    Draft2001,
    Iso,
};

// "auto", "2001" or "iso" (the values of --dialect); nothing for any other text.
std::optional<DialectChoice> ParseDialectChoice(std::string_view text);

} // namespace zov::cgif::dialect
