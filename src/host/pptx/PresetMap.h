#pragma once
// The auto-shape types this program draws and their preset geometry names.
#include <QString>

namespace zov::host::pptx {

// 0 when the preset is none of the modelled ones.
int autoShapeTypeOfPreset(QStringView preset);
// Empty for a type without a modelled preset.
QString presetOfAutoShapeType(int type);

// Arrowhead styles <-> a:headEnd/a:tailEnd type.
int arrowheadOfLineEnd(QStringView type);
QString lineEndOfArrowhead(int style);

} // namespace zov::host::pptx
