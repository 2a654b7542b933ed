#pragma once
// The encodings a text file is read in: UTF-16 when it starts with a UTF-16 byte order mark
// (what Windows editors save as "Unicode"), or when its first characters are ASCII in UTF-16
// (a zero in every other byte: UTF-16 saved without the mark), else UTF-8 when its bytes are valid UTF-8, or when
// more of its characters beyond ASCII are valid UTF-8 than there are bytes that are not (each
// such byte is then read as U+FFFD), otherwise Windows-1252 (the code page such files were
// written in before UTF-8).
#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>

namespace zov::platform {

// How the bytes after a file's mark are decoded: without state (a file is decoded in blocks), and
// with a U+FEFF at the start of the bytes kept as the character it is. Only the one mark
// EncodingOf finds is dropped; a second one, or one at the start of a later block, is text.
constexpr QStringDecoder::Flags KeepMarks = QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom;

enum class TextEncoding { Utf8, Utf16LittleEndian, Utf16BigEndian, Utf32LittleEndian, Utf32BigEndian, Windows1252 };

// The encoding of a file's bytes, and in `markBytes` the length of the byte order mark they
// start with (not part of the text). A file of an odd number of bytes is never UTF-16, nor one
// whose length is no multiple of four UTF-32.
TextEncoding EncodingOf(QByteArrayView bytes, qsizetype& markBytes);

// True for the encodings of 16 and 32 bits, whose text is decoded whole (it takes no more room
// as text than as bytes); UTF-8 and code page 1252 are decoded a block of lines at a time.
bool DecodedWhole(TextEncoding encoding);

// True when the bytes are valid UTF-8 (plain ASCII is).
bool IsUtf8(QByteArrayView bytes);
// Windows-1252 bytes as UTF-16 at `out`, one unit per byte.
void DecodeCp1252(QByteArrayView bytes, QChar* out);

} // namespace zov::platform
