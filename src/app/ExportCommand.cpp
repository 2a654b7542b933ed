#include "app/BatchCommands.h"

namespace zov::app {

int runExport(const QStringList&) { return usageError("export", "not available in this build"); }

} // namespace zov::app
