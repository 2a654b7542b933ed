#pragma once
// Reads one child element of a slide's shape tree (p:sp, p:cxnSp, or anything else) into the
// model's ShapeData. Glue references are returned raw: ids resolve once the whole slide is read.
#include "host/model/ModelData.h"
#include "host/pptx/TextDefaults.h"
#include "host/pptx/XmlCursor.h"

namespace zov::host::pptx {

struct GlueRef {
    bool present = false;
    std::uint32_t id = 0;
    int idx = 0;
};

struct ParsedShape {
    ShapeData data;
    GlueRef begin, end;
    std::uint32_t maxId = 0; // largest cNvPr id anywhere inside the element (groups nest shapes)
    bool explicitNoLineAndFill = false;
};

// The cursor stands on the element's start tag; on return it stands on its end tag.
void readShapeElement(XmlCursor& cursor, const TextDefaults& defaults, ParsedShape& out);

} // namespace zov::host::pptx
