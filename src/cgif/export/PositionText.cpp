#include "cgif/export/PositionText.h"

namespace zov::cgif::exporter {

QString PositionText(float value) {
    if (value == 0.0f)
        return QStringLiteral("0"); // also for -0, which would otherwise print as "-0"
    // 'g' with seven digits drops trailing zeros and switches to an exponent only for numbers
    // that seven digits cannot show; QString::number ignores the locale.
    QString text = QString::number(static_cast<double>(value), 'g', 7);
    text.replace(QLatin1Char('e'), QLatin1Char('E'));
    return text;
}

} // namespace zov::cgif::exporter
