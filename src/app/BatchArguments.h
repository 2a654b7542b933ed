#pragma once
// Arguments shared by the batch commands that take one file in and write one file out:
// IN [-o OUT], "-" meaning standard input or output.
#include <QString>
#include <QStringList>

#include <optional>

namespace zov::app {

struct InputOutputArguments {
    QString input;  // "-" reads standard input
    QString output; // "-" writes standard output; empty: the command's default
};

// Takes `arg`, which is not an option value, as the one input file name (empty when none was
// given yet); false with `problem` set for an unknown option, an empty name or a second file.
bool takeInputArgument(const QString& arg, QString& input, QString& problem);
// True with `problem` set when no input file was named; `example` is the kind of file, as "IN.pptx".
bool missingInput(const QString& input, const QString& example, QString& problem);

// An output name the command made up (no -o) must not replace a file: the one it would replace
// is often the user's own work, such as the CGIF a presentation was imported from. True, with
// `problem` set, when a file or anything else of that name exists.
bool defaultOutputTaken(const QString& output, const QString& input, QString& problem);

// A file as a status line names it: its name without its folder ("standard input" or "standard
// output" for "-").
QString statusName(const QString& path, bool output = false);

// IN [-o OUT]; on a usage error returns nothing and says why in `problem`.
std::optional<InputOutputArguments> parseInputOutputArguments(const QStringList& args, QString& problem);

} // namespace zov::app
