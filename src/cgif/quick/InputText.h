#pragma once
// Byte-level facts about CGIF input that let the quick checker work on the bytes of a file
// where the reader works on its decoded text.
#include <cstddef>
#include <string_view>

namespace zov::cgif::quick {

// True when the reader's decoding keeps every ASCII byte as the same character and maps the
// other bytes so that equal byte strings are equal texts: no NUL, and either plain ASCII or
// strictly valid UTF-8. `skip` gets the length of a leading UTF-8 byte order mark, which the
// decoder drops.
bool DecodesAsBytes(std::string_view bytes, std::size_t& skip);

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsStrictUtf8(std::string_view bytes);

} // namespace zov::cgif::quick
