#pragma once
// The kinds of presentation file PowerPoint tells apart: each has an extension of its own and a
// content type of its own for the main part, and PowerPoint refuses a file whose extension and
// main content type disagree ("the file format or extension is not valid"). LibreOffice opens
// any of them, so only a save to a new name shows the mismatch.
#include "host/pptx/Opc.h"

#include <QString>
#include <optional>
#include <vector>

namespace zov::host::pptx {

enum class PackageKind { Presentation, MacroPresentation, Show, MacroShow, Template, MacroTemplate };

// The kind an extension names (".pptx", ".pptm", ".ppsx", ".ppsm", ".potx", ".potm", in any
// case), or none for another name: such a file keeps the kind it had.
std::optional<PackageKind> kindOfFileName(const QString& path);
// The kind of a main part's content type, or none for a type that is not one of them.
std::optional<PackageKind> kindOfContentType(const QString& type);
QString mainContentType(PackageKind kind);
// The extension of a kind, with its dot.
QString extensionOf(PackageKind kind);
bool holdsMacros(PackageKind kind);

// What becomes of a package whose macros (a VBA project) the kind asked for cannot hold.
enum class MacrosLost { Refused, KeepKind };

// Makes `kind` the kind of a package whose main part is `mainPart`, with the relationships
// `mainRels`: true when its content type changed. A main part of no known kind is left as it
// is. A package holding macros that `kind` cannot hold is refused (PptxError) or, with
// MacrosLost::KeepKind, left the kind it is.
bool setPackageKind(ContentTypes& types, const QString& mainPart, const std::vector<Relationship>& mainRels,
                    PackageKind kind, MacrosLost macrosLost = MacrosLost::Refused);

} // namespace zov::host::pptx
