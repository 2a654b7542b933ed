#pragma once
// Slide positions as the writer prints them: single precision, at most seven significant
// digits, no trailing zeros, no leading blank, "-" for negative values and always "." as the
// decimal separator, so that a file reads the same whatever the user's locale.
#include <QString>

namespace zov::cgif::exporter {

QString PositionText(float value);

} // namespace zov::cgif::exporter
