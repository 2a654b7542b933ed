#include "app/BatchCommands.h"

namespace zov::app {

int runImport(const QStringList&) { return usageError("import", "not available in this build"); }
int runCheck(const QStringList&) { return usageError("check", "not available in this build"); }

} // namespace zov::app
