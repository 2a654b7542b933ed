#pragma once
// The core of the Export command, shared by the palette and the command line: create the file,
// write every graph, confirm with "File written" when a graph was written, close the file.
#include "host/Presentation.h"
#include "platform/MessageBox.h"
#include "platform/TextStream.h"

#include <QString>

namespace zov::cgif::exporter {

enum class ExportOutcome {
    Written,        // at least one graph written ("File written" was shown)
    NothingWritten, // no slide had nodes, or a host error stopped the export early
    FileNotCreated, // the file could not be created (a message box named it)
};

// Writes to `out` (already open) and closes it in every case.
ExportOutcome ExportGraphs(const host::Presentation& presentation, platform::TextStream& out,
                           platform::MessageBoxes& messages);

// Creates (or replaces) `path` as a UTF-8 text file, "-" meaning standard output, and exports
// into it. A file that cannot be created is reported in an "Error" box naming it.
ExportOutcome ExportGraphsToFile(const host::Presentation& presentation, const QString& path,
                                 platform::MessageBoxes& messages);

} // namespace zov::cgif::exporter
