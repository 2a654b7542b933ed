#pragma once
// The core of the Import command, shared by the palette and the command line: open the CGIF
// file as a text stream, read every graph into slides, confirm with "File read" when the whole
// file was read, close the stream, and have the node tables rebuilt from all slides.
#include "cgif/dialect/Dialect.h"
#include "cgif/iso/ReadingPosition.h"

#include <QString>
#include <functional>

namespace zov::platform {
class MessageBoxes;
class TextStream;
} // namespace zov::platform

namespace zov::cgif {
class CgifReader;
}

namespace zov::cgif::importer {

enum class ImportOutcome {
    Read,           // the whole file was read ("File read" was shown)
    StoppedAtError, // a reader error ended the reading (it was shown); earlier graphs stay drawn
    FileNotOpened,  // the file could not be opened (an "Error" box named it); nothing was read
};

// Called once the reading is over, whatever its outcome, so that the node tables describe
// every slide, the newly built ones included. May be empty where nothing keeps such tables.
using RebuildHook = std::function<void()>;
// Called once the reading is over, whatever its outcome, before "File read" is shown: the
// editor and `zovedit import` arrange the graphs read without positions there, so that the box
// stands over the slides as they will stay. May be empty.
using FinishHook = std::function<void()>;
// Called after a reading that went through, before "File read": true when it has told the user
// that the reading ended before the end of the input (the command line does; the editor's
// Import shows "File read" as ever), and "File read" is then not shown. May be empty.
using EarlyEndHook = std::function<bool()>;

// Reads from `in` (already open) and closes it in every case. A failure that escapes the
// reader (one raised while a graph's title comment is read) is shown in one "Error" box.
// `dialect` says which reader reads the file (DialectReading.h); by default the file decides.
// `position`, when given, follows the reading (DialectReading.h).
ImportOutcome ImportCgif(CgifReader& reader, platform::TextStream& in, platform::MessageBoxes& messages,
                         const RebuildHook& rebuildNodeTables,
                         dialect::DialectChoice dialect = dialect::DialectChoice::Auto,
                         const iso::ReadingPosition& position = {}, const FinishHook& finish = {},
                         const EarlyEndHook& endedEarly = {});

// Opens `path` for reading ("-" reads standard input; UTF-8, or Windows-1252 when the bytes
// are not UTF-8) and imports from it. A file that cannot be opened is reported in an "Error"
// box naming it and the reason; the reading and the rebuild are then skipped.
ImportOutcome ImportCgifFile(CgifReader& reader, const QString& path, platform::MessageBoxes& messages,
                             const RebuildHook& rebuildNodeTables,
                             dialect::DialectChoice dialect = dialect::DialectChoice::Auto,
                             const iso::ReadingPosition& position = {}, const FinishHook& finish = {},
                             const EarlyEndHook& endedEarly = {});

} // namespace zov::cgif::importer
