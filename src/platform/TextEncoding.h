#pragma once
// The encodings a text file is read in: UTF-16 when it starts with a UTF-16 byte order mark
// (what Windows editors save as "Unicode"), or when its first characters are ASCII in UTF-16
// (a zero in every other byte: UTF-16 saved without the mark), else UTF-8 when its bytes are valid UTF-8, or when
// more of its characters beyond ASCII are valid UTF-8 than there are bytes that are not (each
// such byte is then read as U+FFFD), otherwise Windows-1252 (the code page such files were
// written in before UTF-8).
#include <QByteArrayView>
#include <QString>

namespace zov::platform {

enum class TextEncoding { Utf8, Utf16LittleEndian, Utf16BigEndian, Windows1252 };

// The encoding of a file's bytes, and in `markBytes` the length of the byte order mark they
// start with (not part of the text). A file of an odd number of bytes is never UTF-16.
TextEncoding EncodingOf(QByteArrayView bytes, qsizetype& markBytes);

// True when the bytes are valid UTF-8 (plain ASCII is).
bool IsUtf8(QByteArrayView bytes);
// Windows-1252 bytes as UTF-16 at `out`, one unit per byte.
void DecodeCp1252(QByteArrayView bytes, QChar* out);

} // namespace zov::platform
