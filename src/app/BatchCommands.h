#pragma once
// The batch commands of the command line. Each takes the arguments after its name and returns
// the process exit status: 0 success, 1 the command ran but reported failure (reader error,
// no graph written), 2 usage or file errors.
#include <QStringList>

namespace zov::app {

int runImport(const QStringList& args);
int runCheck(const QStringList& args);
int runExport(const QStringList& args);
int runArrange(const QStringList& args);
int runRender(const QStringList& args);

// Prints a usage error for `command` on standard error and returns 2.
int usageError(const QString& command, const QString& problem);

} // namespace zov::app
