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
    bool operator==(const GlueRef&) const = default;
};

struct ParsedShape {
    ShapeData data;
    GlueRef begin, end;      // a:stCxn / a:endCxn of a connector
    bool hasTxBody = false;
    bool hasXfrm = false;    // false: the geometry is inherited (placeholders) and reads as 0
    bool hasId = false;      // a cNvPr gave the shape its id and name
    // Largest cNvPr id anywhere inside the element (groups nest shapes), and largest id a
    // connector's glue names: a new shape must not take the id of a shape a connector was glued
    // to, such as one inside a group since deleted, or it would come to be glued to it.
    std::uint32_t maxId = 0;
};

class FastXmlCursor;

// The cursor stands on the element's start tag; on return it stands on its end tag.
void readShapeElement(XmlCursor& cursor, const TextDefaults& defaults, ParsedShape& out);
void readShapeElement(FastXmlCursor& cursor, const TextDefaults& defaults, ParsedShape& out);

// Reads a single shape element from its XML text. `scope` holds the namespace declarations in
// force around it in its slide part (prefix, uri).
ParsedShape readShapeXml(const QString& xml, const std::vector<std::pair<QString, QString>>& scope,
                         const TextDefaults& defaults);

// True when the shape's geometry is one this host computes connection sites for: one it draws,
// or another program's preset whose sites are the middles of its sides.
bool isGlueTarget(const ShapeData& shape);

} // namespace zov::host::pptx
