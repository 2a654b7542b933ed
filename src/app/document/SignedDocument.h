#pragma once
// A presentation read with a digital signature keeps its signature parts as they were, and they
// sign the presentation as it was read: once a save has changed it, the user is told.
#include "host/Presentation.h"

#include <QString>

namespace zov::app {

// Whether saving `presentation` now changes a signed presentation (asked before the save, which
// marks it saved).
bool SaveBreaksSignature(const host::Presentation& presentation);

// What the user is told after such a save of the file `name`.
QString SignatureNoLongerMatches(const QString& name);

} // namespace zov::app
