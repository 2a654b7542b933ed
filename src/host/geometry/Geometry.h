#pragma once
// Shape geometry on a slide: connection sites, hit testing, and keeping glued connector ends
// on their sites. All positions are slide points; sites are numbered from 1.
#include "host/model/ModelData.h"

#include <QPointF>
#include <QRectF>

namespace zov::host {

// The nearest position a presentation file can hold (whole EMU, 12,700 to the point): a shape
// placed or moved keeps exactly the place it will have once saved and opened again, so that a
// graph exported before a save and after it is the same.
float onEmuGrid(float points);

// Number of connection sites of the shape's geometry (0 for connectors).
int connectionSiteCount(const ShapeData& shape);
// True for a shape of another program's preset geometry whose connection sites this host knows
// (the middles of its sides; a picture's rectangle among them), so that connectors glued to it
// follow it.
bool hasPresetConnectionSites(const ShapeData& shape);
// Position of a 1-based site on the slide. A site beyond the geometry's count (left over after
// the shape changed type) is taken as the last site.
QPointF connectionSitePoint(const ShapeData& shape, int site);

// True when the point lies inside the shape's outline (for connectors: within `tolerance`
// points of the segment). Pictures and other foreign shapes use their bounding box.
bool containsPoint(const ShapeData& shape, QPointF slidePoint, double tolerance = 3.0);
// The box to test against before containsPoint: the bounding box, grown for connectors.
QRectF hitBounds(const ShapeData& shape, double tolerance = 3.0);

// Moves the glued ends of a connector onto their sites and refreshes its box. Returns true
// when an end point moved. Leaves `modified` alone (the loader calls this on fresh data).
bool updateGluedEnds(ShapeData& connector);
// Every connector on the shape's slide that is glued to it follows it (and is marked modified).
// Only the shape's own connectors are visited (ShapeData::gluedConnectors).
void followMovedShape(ShapeData& shape);
// Glues the begin (or end) of a connector to a site of a shape and records the connector with
// the shape. Does not move the end: call updateGluedEnds after.
void glueConnectorEnd(const std::shared_ptr<ShapeData>& connector, bool atBegin,
                      const std::shared_ptr<ShapeData>& target, int site);
// The connectors on the shape's slide glued to it now, each once, in the order they were glued.
std::vector<std::shared_ptr<ShapeData>> connectorsGluedTo(const ShapeData& shape);
// Glues a connector's ends to the pair of sites of its glued shapes that lie nearest each
// other (an end that is loose stays put, the glued end takes the site nearest it).
void rerouteConnector(ShapeData& connector);
// Sets a connector's left/top/width/height to the box of its end points.
void syncConnectorBox(ShapeData& connector);

} // namespace zov::host
