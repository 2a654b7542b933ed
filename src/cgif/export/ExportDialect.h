#pragma once
// The CGIF dialects the export writes: the 2001 draft dialect (the default, the form the
// system's own reader reads back byte for byte) and the dialect of ISO/IEC 24707 Annex B that
// other conceptual-graph tools read and write.
#include <QString>
#include <optional>

namespace zov::cgif::exporter {

enum class ExportDialect { Cgif2001, Iso };

// "2001" or "iso" (as typed on the command line); nothing for any other text.
inline std::optional<ExportDialect> ExportDialectNamed(const QString& text) {
    if (text == QLatin1String("2001"))
        return ExportDialect::Cgif2001;
    if (text == QLatin1String("iso"))
        return ExportDialect::Iso;
    return std::nullopt;
}

} // namespace zov::cgif::exporter
