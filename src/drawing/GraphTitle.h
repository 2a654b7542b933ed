#pragma once
// A graph slide's title label says "NAME is TYPE" and carries NAME in its own name
// ("NAME/ID"): both follow the graph's name, which is its slide's.
#include "host/Shape.h"

#include <QString>
#include <optional>

namespace zov::drawing {

// Writes `newName` where the title says `oldName`: at the start of its text when that reads
// "oldName is ...", and as its name's label part when that is `oldName`.
void RenameGraphTitle(host::Shape title, const QString& oldName, const QString& newName);

// The graph name a title's text shows: `known` (the name the graph has now, which may itself
// hold " is ") when the text starts with it and " is ", else what comes before its first " is "
// (nothing without one).
std::optional<QString> GraphNameInTitle(const QString& text, const QString& known = {});

// Names the title's slide `name` and the title itself "name/ID", unless the slide has that name
// already. Throws the host's HostError, changing nothing, when it refuses the name.
void NameGraphSlide(host::Shape title, const QString& name);

} // namespace zov::drawing
