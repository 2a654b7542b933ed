#pragma once
// Writing the model back into its package.
#include "host/model/ModelData.h"
#include "host/pptx/Package.h"
#include "host/pptx/PackageKind.h"

#include <QByteArray>
#include <memory>
#include <optional>
#include <vector>

namespace zov::host::pptx {

// A finished save: the bytes of the file, and the state to adopt once they are safely stored.
struct SaveResult {
    QByteArray bytes;
    std::shared_ptr<Package> package;
    struct ShapeState {
        std::shared_ptr<ShapeData> shape;
        std::uint32_t id = 0;
        QByteArray xml;
    };
    struct SlideState {
        std::shared_ptr<SlideData> slide;
        QString partName;
        QByteArray xml;
        QByteArray relsXml;
        bool rewritten = false; // false: the slide was written as it was read
        std::vector<ShapeState> shapes;
        std::shared_ptr<const SlidePieces> pieces; // the cut of the written part (rewritten slides)
    };
    std::vector<SlideState> slides;
};

// Builds the package of the presentation. With `kind` (the kind its file name asks for), the
// main part's content type becomes that kind's; a package whose macros the kind cannot hold
// (".pptm" saved as ".pptx") is refused rather than written without them, or with
// MacrosLost::KeepKind written as the kind it is. Throws PptxError with the reason.
SaveResult writePackage(const PresentationData& presentation, std::optional<PackageKind> kind = std::nullopt,
                        MacrosLost macrosLost = MacrosLost::Refused, int compressionLevel = 6);

// Makes what was written the presentation's new base: parts, slide and shape XML and ids; every
// slide and shape becomes unmodified.
void adoptSaved(PresentationData& presentation, SaveResult&& saved);

} // namespace zov::host::pptx
