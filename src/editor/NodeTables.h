#pragma once
// The node tables of the whole presentation: one node record per graph title, concept,
// coreferent concept, relation, actor and comment of every slide, and one link record per
// connector glued at both ends, rebuilt from the slides after every command.
#include "cgif/reader/CgifReader.h"
#include "host/Presentation.h"

#include <optional>

namespace zov::editor {

// The node record a shape stands for, or nothing for connectors and shapes of other types.
// `slideName` names the graph of a title label whose text has no " is ". The record's texts are
// cut from `reader`'s pool.
std::optional<cgif::NodeRecord> NodeRecordOfShape(const host::Shape& shape, const QString& slideName,
                                                  cgif::CgifReader& reader);

// Empties the reader's tables, then walks every slide in order and every shape in shape order
// once: node shapes go to the BoundArray, connectors glued at both ends to Links (From and To
// the full names of the shapes at the begin and the end). Connectors with a loose end, and
// shapes the host cannot read, are passed over. A presentation handle that is empty leaves
// the tables empty.
void RebuildNodeTables(const host::Presentation& presentation, cgif::CgifReader& reader);

// "x" + the smallest number from 1 on such that no shape on any slide has that label before
// the "/" of its name and no slide has it as its name.
QString NewCoreferenceLabel(const host::Presentation& presentation);

} // namespace zov::editor
