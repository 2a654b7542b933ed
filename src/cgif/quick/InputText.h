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

// True when `text` is the exporter's "x@y" position: two plain decimal numbers (sign, digits,
// point, exponent) that convert to finite single-precision values. `actorEnd`: the text ends an
// actor's comment, whose closing ";" is part of the text.
bool IsWriterPosition(std::string_view text, bool actorEnd);

} // namespace zov::cgif::quick
