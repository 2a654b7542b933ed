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

// IN [-o OUT]; on a usage error returns nothing and says why in `problem`.
std::optional<InputOutputArguments> parseInputOutputArguments(const QStringList& args, QString& problem);

} // namespace zov::app
