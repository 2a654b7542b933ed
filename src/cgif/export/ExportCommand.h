#pragma once
// The core of the Export command, shared by the palette and the command line: create the file,
// write every graph, close the file, and confirm with "File written" when a graph was written.
#include "cgif/export/ExportDialect.h"
#include "host/Presentation.h"
#include "platform/MessageBox.h"
#include "platform/TextStream.h"

#include <QString>

namespace zov::cgif::exporter {

enum class ExportOutcome {
    Written,        // at least one graph written ("File written" was shown)
    WrittenNotReadBack, // written, but the 2001 text would not read back whole (a box said why)
    NothingWritten, // no slide had nodes, or a host error stopped the export early
    FileNotCreated, // the file could not be created (an "Error" box named it); nothing written
    FileNotWritten, // writing or closing the file failed (an "Error" box named it and the reason)
};

// Empties the concepts written so far, writes every graph of `presentation` to `out` (already
// open) and closes it when anything was written (what came before a stop is kept); when nothing
// was, the stream is discarded, so a file it was to replace stays as it was, and a "ZOVEdit"
// box says "No graph to export". The stream is closed before "File written" is shown, so
// that a failure found while the last bytes go out is reported instead of a success. The
// graphs are written in `dialect`.
ExportOutcome ExportGraphs(const host::Presentation& presentation, platform::TextStream& out,
                           platform::MessageBoxes& messages, ExportDialect dialect = ExportDialect::Cgif2001);

// Creates (or replaces) `path` as a UTF-8 text file with CR LF line ends, "-" meaning standard
// output, and exports into it. A regular file is written beside and replaces the old one only
// when the export is over (an I/O failure or a kill leaves it whole); a device or FIFO is
// written directly. A file that cannot be created is reported in an "Error" box
// naming it and the reason.
ExportOutcome ExportGraphsToFile(const host::Presentation& presentation, const QString& path,
                                 platform::MessageBoxes& messages,
                                 ExportDialect dialect = ExportDialect::Cgif2001);

} // namespace zov::cgif::exporter
