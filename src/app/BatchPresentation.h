#pragma once
// Reading and writing the presentation of a batch command that works on .pptx files (arrange,
// export, import, render). Each failure is shown in one "Error" box naming the file and the reason.
#include "host/Application.h"
#include "host/Presentation.h"
#include "platform/OutputFile.h"

#include <QString>
#include <optional>

namespace zov::platform {
class MessageBoxes;
}

namespace zov::app {

// Reads `input` ("-" reads standard input) into a new window of `app`.
std::optional<host::Presentation> openBatchPresentation(host::Application& app, const QString& input,
                                                        platform::MessageBoxes& messages);

// What a batch command writes: a presentation, or a text file (CGIF).
enum class OutputKind { Presentation, Text };

// Before any work: true when `output` ("-" always) can be written as far as can be told without
// writing it; otherwise one "Error" box says why, as the save itself would (a folder, a missing
// folder, a read-only file), and the result is false.
bool outputWritable(const QString& output, OutputKind kind, platform::MessageBoxes& messages);

// Saves through a temporary file that replaces `output` only when complete (a device or FIFO
// is written directly); "-" writes the file's bytes to standard output. With `unchangedSince`
// the file is replaced only while it is still the version read (see host::savePresentation).
bool saveBatchPresentation(const host::Presentation& presentation, const QString& output,
                           platform::MessageBoxes& messages,
                           const std::optional<platform::FileStamp>& unchangedSince = std::nullopt);

} // namespace zov::app
