#pragma once
// Reading a .pptx package into the host's model.
#include "host/model/ModelData.h"
#include "host/pptx/ShapeReader.h"
#include "host/pptx/ZipArchive.h"

#include <QByteArray>
#include <memory>

namespace zov::host::pptx {

// Builds a presentation from the bytes of a .pptx file: slides in presentation order, their
// shapes with names, types, geometry, fill, line, text and glue; every part kept for saving.
// Throws PptxError whose message is the reason (without the file name).
std::shared_ptr<PresentationData> readPackage(QByteArray bytes, const ZipLimits& limits = {});

// Gives unnamed slides a name: the graph name of their title label (the text before " is " of
// the first no-symbol marker), else "Slide" + a number, never one another slide already has.
void nameUnnamedSlides(PresentationData& presentation);

// Glues the slide's connectors to the shapes their references name and puts glued ends on
// their connection sites. A connector whose stored end lay more than half a point from its
// site is marked modified, so that saving repairs the stale box.
// `parsed` holds what was read for each of slide.shapes, in the same order.
void resolveGlue(SlideData& slide, const std::vector<const ParsedShape*>& parsed);

} // namespace zov::host::pptx
