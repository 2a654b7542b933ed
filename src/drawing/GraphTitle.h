#pragma once
// A graph slide's title label says "NAME is TYPE" and carries NAME in its own name
// ("NAME/ID"): both follow the graph's name, which is its slide's.
#include "host/Shape.h"

#include <QString>

namespace zov::drawing {

// Writes `newName` where the title says `oldName`: at the start of its text when that reads
// "oldName is ...", and as its name's label part when that is `oldName`.
void RenameGraphTitle(host::Shape title, const QString& oldName, const QString& newName);

} // namespace zov::drawing
