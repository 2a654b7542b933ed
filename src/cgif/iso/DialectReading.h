#pragma once
// Reading a CGIF stream in the dialect the user chose, or in the one the file is written in.
#include "cgif/dialect/Dialect.h"

namespace zov::platform {
class TextStream;
}

namespace zov::cgif {
class CgifReader;
}

namespace zov::cgif::iso {

// Reads every graph of `in` into the reader's sink, as CgifReader::ReadCgifStream does: the
// 2001 dialect by the reader itself, ISO CGIF by the ISO reader. With Auto the lines are read
// first and the dialect decided by DialectDetector; a file of the 2001 dialect is then read from
// exactly the same lines (and fails where the stream failed), so nothing changes for it.
bool ReadCgifInDialect(CgifReader& reader, platform::TextStream& in, dialect::DialectChoice choice);

} // namespace zov::cgif::iso
