#include "addin/Version.h"

#include <QStringList>

#ifndef ZOV_VERSION
#define ZOV_VERSION "0.0.0"
#endif

namespace zov::addin {

ProgramVersion ParseVersion(const QString& text) {
    const QStringList parts = text.split(QLatin1Char('.'));
    auto part = [&](int i) {
        bool ok = false;
        const int value = i < parts.size() ? parts[i].toInt(&ok) : 0;
        return ok && value >= 0 ? value : 0;
    };
    return ProgramVersion{part(0), part(1), part(2)};
}

ProgramVersion CurrentVersion() { return ParseVersion(QStringLiteral(ZOV_VERSION)); }

QString AboutText(const ProgramVersion& version) {
    return QStringLiteral("ZOVEdit") + QStringLiteral(" version ") + QString::number(version.major) + QLatin1Char('.') +
           QString::number(version.minor) + QStringLiteral(" (") + QString::number(version.revision) + QLatin1Char(')');
}

} // namespace zov::addin
