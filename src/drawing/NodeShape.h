#pragma once
// Drawing one node shape on the slide shown in the active window.
#include "drawing/DrawingSettings.h"
#include "host/Application.h"

#include <QString>
#include <cstdint>

namespace zov::drawing {

// Adds an auto-shape of `autoShapeType` at (left, top) slide points on the slide of the active
// window's view, names it, fills it solid with `fillColor` (0x00BBGGRR), gives it `label` as
// text (five blanks for "ActDF") in the node font of `settings`, lets it auto-size to its text
// and clears the window's selection. Returns the shape for the caller to finish.
//
// A HostError while adding the shape reaches the caller. A HostError in any later step ends
// the drawing at once: the half-made shape stays on the slide and the empty handle is returned.
host::Shape CreateNodeShape(host::Application& app, const DrawingSettings& settings, const QString& name,
                            int autoShapeType, const QString& label, float left, float top,
                            std::int32_t fillColor);

} // namespace zov::drawing
