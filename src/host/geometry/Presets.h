#pragma once
// The auto-shape types this host draws and the preset geometry names they are stored under.
#include <QString>

namespace zov::host {

// Preset geometry name of an auto-shape type we draw ("rect" for 1, ...); empty for any other.
QString presetForAutoShapeType(int type);
// Auto-shape type of a preset geometry name; ShapeNotPrimitive (138) for names we do not model.
int autoShapeTypeForPreset(const QString& preset);

} // namespace zov::host
