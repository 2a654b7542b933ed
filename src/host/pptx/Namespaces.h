#pragma once
// Namespace URIs of Transitional Office Open XML and the package conventions.
#include <QString>

namespace zov::host::pptx::ns {

inline const QString P = QStringLiteral("http://schemas.openxmlformats.org/presentationml/2006/main");
inline const QString A = QStringLiteral("http://schemas.openxmlformats.org/drawingml/2006/main");
inline const QString R = QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships");
inline const QString Mc = QStringLiteral("http://schemas.openxmlformats.org/markup-compatibility/2006");
inline const QString PkgRels = QStringLiteral("http://schemas.openxmlformats.org/package/2006/relationships");
inline const QString ContentTypes = QStringLiteral("http://schemas.openxmlformats.org/package/2006/content-types");
inline const QString StrictPrefix = QStringLiteral("http://purl.oclc.org/ooxml/");

inline const QString RelBase = QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships/");
inline QString relType(const char* name) { return RelBase + QLatin1String(name); }
inline const QString RelCore = QStringLiteral("http://schemas.openxmlformats.org/package/2006/relationships/metadata/core-properties");

inline const QString CtBase = QStringLiteral("application/vnd.openxmlformats-officedocument.");

} // namespace zov::host::pptx::ns
