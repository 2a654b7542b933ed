#pragma once
// Reading a CGIF stream in the dialect the user chose, or in the one the file is written in.
#include "cgif/dialect/Dialect.h"
#include "cgif/iso/ReadingPosition.h"

namespace zov::platform {
class TextStream;
}

namespace zov::cgif {
class CgifReader;
}

namespace zov::cgif::iso {

// Reads every graph of `in` into the reader's sink, as CgifReader::ReadCgifStream does: the
// 2001 dialect by the reader itself, ISO CGIF by the ISO reader. With Auto the dialect is decided
// by DialectDetector first: over the text or the bytes the stream holds (TextStream::UnreadText,
// InputBytes), then read from the stream as if the dialect had been given; or, for a stream that
// holds neither, over its lines read first and kept, and a file of the 2001 dialect is then read from
// exactly the same lines (and fails where the stream failed), so nothing changes for it.
// `position` follows the reading, not the detection: it is told of each line as the chosen
// reader takes it (the 2001 reader) or reaches it (the ISO reader), so that it reaches the end
// with the last graph.
bool ReadCgifInDialect(CgifReader& reader, platform::TextStream& in, dialect::DialectChoice choice,
                       const ReadingPosition& position = {});

} // namespace zov::cgif::iso
