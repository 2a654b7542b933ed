#pragma once
// The two encodings a text file is read in: UTF-8 when all of its bytes are valid UTF-8,
// otherwise Windows-1252 (the code page such files were written in before UTF-8).
#include <QByteArrayView>
#include <QString>

namespace zov::platform {

// True when the bytes are valid UTF-8 (plain ASCII is).
bool IsUtf8(QByteArrayView bytes);
// Windows-1252 bytes as UTF-16 at `out`, one unit per byte.
void DecodeCp1252(QByteArrayView bytes, QChar* out);

} // namespace zov::platform
