#include "host/pptx/PackageKind.h"

#include "host/pptx/PptxError.h"

#include <array>

namespace zov::host::pptx {

namespace {

struct KindInfo {
    PackageKind kind;
    const char* extension;
    const char* contentType;
};

constexpr std::array<KindInfo, 6> kKinds{{
    {PackageKind::Presentation, ".pptx", "application/vnd.openxmlformats-officedocument.presentationml.presentation.main+xml"},
    {PackageKind::MacroPresentation, ".pptm", "application/vnd.ms-powerpoint.presentation.macroEnabled.main+xml"},
    {PackageKind::Show, ".ppsx", "application/vnd.openxmlformats-officedocument.presentationml.slideshow.main+xml"},
    {PackageKind::MacroShow, ".ppsm", "application/vnd.ms-powerpoint.slideshow.macroEnabled.main+xml"},
    {PackageKind::Template, ".potx", "application/vnd.openxmlformats-officedocument.presentationml.template.main+xml"},
    {PackageKind::MacroTemplate, ".potm", "application/vnd.ms-powerpoint.template.macroEnabled.main+xml"},
}};

// The kind that holds macros beside one that does not.
PackageKind withMacros(PackageKind kind) {
    switch (kind) {
    case PackageKind::Presentation:
        return PackageKind::MacroPresentation;
    case PackageKind::Show:
        return PackageKind::MacroShow;
    case PackageKind::Template:
        return PackageKind::MacroTemplate;
    default:
        return kind;
    }
}

const KindInfo& infoOf(PackageKind kind) {
    for (const KindInfo& info : kKinds)
        if (info.kind == kind)
            return info;
    return kKinds.front();
}

} // namespace

std::optional<PackageKind> kindOfFileName(const QString& path) {
    for (const KindInfo& info : kKinds)
        if (path.endsWith(QLatin1String(info.extension), Qt::CaseInsensitive))
            return info.kind;
    return std::nullopt;
}

std::optional<PackageKind> kindOfContentType(const QString& type) {
    const QString trimmed = type.trimmed();
    for (const KindInfo& info : kKinds)
        if (trimmed.compare(QLatin1String(info.contentType), Qt::CaseInsensitive) == 0)
            return info.kind;
    return std::nullopt;
}

QString mainContentType(PackageKind kind) { return QLatin1String(infoOf(kind).contentType); }

QString extensionOf(PackageKind kind) { return QLatin1String(infoOf(kind).extension); }

bool holdsMacros(PackageKind kind) {
    return kind == PackageKind::MacroPresentation || kind == PackageKind::MacroShow || kind == PackageKind::MacroTemplate;
}

bool setPackageKind(ContentTypes& types, const QString& mainPart, const std::vector<Relationship>& mainRels,
                    PackageKind kind, MacrosLost macrosLost) {
    const std::optional<PackageKind> current = kindOfContentType(types.typeOf(mainPart));
    if (!current || *current == kind)
        return false;
    if (holdsMacros(*current) && !holdsMacros(kind)) {
        // A macro-enabled package without its VBA project loses nothing by becoming macro-free.
        for (const Relationship& rel : mainRels) {
            if (!rel.type.endsWith(QLatin1String("/vbaProject"), Qt::CaseInsensitive))
                continue;
            if (macrosLost == MacrosLost::KeepKind)
                return false;
            throw PptxError(QStringLiteral("the presentation holds macros, which a %1 file cannot hold: save it as %2 to keep them")
                                .arg(extensionOf(kind), extensionOf(withMacros(kind))));
        }
    }
    types.setOverride(mainPart, mainContentType(kind));
    return true;
}

} // namespace zov::host::pptx
