#pragma once
// Writing one shape of a slide: a new shape as fresh XML, or a shape read from a file by
// changing in its original XML only what the model changed (everything else, including
// unknown attributes and children, stays as it was).
#include "host/model/ModelData.h"
#include "host/pptx/ShapeReader.h"
#include "host/pptx/XmlBytes.h"

#include <QByteArray>
#include <QHash>
#include <functional>
#include <utility>
#include <vector>

namespace zov::host::pptx {

using NamespaceScope = std::vector<std::pair<QString, QString>>;

// How the slide part spells the two namespaces a shape uses.
struct Prefixes {
    QByteArray p = "p:", a = "a:";  // element name prefixes, with the colon ("" for a default namespace)
    QByteArray declarations;        // xmlns attributes a new shape element must carry itself
    static Prefixes forScope(const NamespaceScope& scope);
};

struct WriteIds {
    // The id each shape of the slide is written with; 0 for one that is not written.
    std::function<std::uint32_t(const ShapeData*)> idOf;
    // True when a stored glue reference named, in the slide as read, a site of a shape this
    // host glues connectors to: the model glued it then, so if it no longer does, the user
    // undid it; and when it names a shape deleted since (the reference goes with it).
    // References the model could not follow are kept as stored.
    std::function<bool(const GlueRef& stored)> wasGlued;
};

// Appends a new shape element (p:sp or p:cxnSp) for a shape that has no XML of its own.
void writeNewShape(XmlBytes& out, const ShapeData& shape, std::uint32_t id, const WriteIds& ids, const Prefixes& prefixes);

// Rewrites a shape read from a file. `before` is its original XML read again as the reader
// read it; fields equal to it are left alone.
QByteArray patchShape(const ShapeData& shape, const QByteArray& sourceXml, const ParsedShape& before, std::uint32_t id,
                      const WriteIds& ids, const NamespaceScope& scope);

// The glue reference a connector end is written with ({} when the end is loose or its shape is
// not written on the slide).
GlueRef glueRefOf(const GlueEnd& end, const WriteIds& ids);

} // namespace zov::host::pptx
