#pragma once
// How a conceptual graph is written onto a slide. A node's role is its shape's auto-shape type
// and nothing else; arcs are straight connectors glued to their two nodes with a triangle
// arrowhead at the target; the graph's name is the slide's name.
#include "host/AutoShapeType.h"

#include <QString>
#include <cstdint>

namespace zov::drawing {

// Auto-shape type of each role.
constexpr int ConceptShapeType = host::ShapeRectangle;                     // 1
constexpr int CoreferentConceptShapeType = host::ShapePentagon;           // 51
constexpr int RelationShapeType = host::ShapeOval;                        // 9
constexpr int ActorShapeType = host::ShapeDiamond;                        // 4
constexpr int ActorMarkShapeType = host::ShapeFlowchartDecision;          // 63, drawn for "ActDF", never read back
constexpr int CommentShapeType = host::ShapeRoundedRectangularCallout;    // 106
constexpr int TitleLabelShapeType = host::ShapeNoSymbol;                  // 19
constexpr int ArcShapeType = host::ShapeMixed;                            // -2, what every connector reports

static_assert(ConceptShapeType == 1 && CoreferentConceptShapeType == 51 && RelationShapeType == 9 &&
              ActorShapeType == 4 && ActorMarkShapeType == 63 && CommentShapeType == 106 &&
              TitleLabelShapeType == 19 && ArcShapeType == -2);

// A concept is drawn as a rectangle, or as a pentagon once it is marked coreferent.
constexpr bool IsConceptShapeType(int type) {
    return type == ConceptShapeType || type == CoreferentConceptShapeType;
}

// The shapes that are nodes of a graph (what arcs join): concepts, pentagons, relations, actors
// and comments; title labels, actor marks and foreign shapes are not.
constexpr bool IsGraphNodeShapeType(int type) {
    return IsConceptShapeType(type) || type == RelationShapeType || type == ActorShapeType || type == CommentShapeType;
}

// Kinds of the parsed node records (NodeRecord::Kind).
namespace NodeKind {
constexpr std::int16_t Graph = 0;
constexpr std::int16_t Concept = 1;
constexpr std::int16_t Relation = 2; // also a negation, typed "Neg"
constexpr std::int16_t Actor = 3;
constexpr std::int16_t CoreferentConcept = 4;
constexpr std::int16_t Comment = 5;
} // namespace NodeKind

// Separators of shape names ("label/id") and label texts ("type:referent").
inline constexpr char16_t NameSeparator = u'/';
inline constexpr char16_t LabelSeparator = u':';

// The label that draws an actor mark, and the five blanks it is drawn with instead.
inline const QString ActorMarkLabel = QStringLiteral("ActDF");
inline const QString ActorMarkText = QStringLiteral("     ");

// Node shapes start at this size; auto-size then fits them to their text.
constexpr float NodeShapeInitialWidth = 100;
constexpr float NodeShapeInitialHeight = 10;

// Arcs: added between these points, then glued at site 1 of each node and rerouted.
constexpr float ArcInitialBeginX = 165, ArcInitialBeginY = 156;
constexpr float ArcInitialEndX = 249, ArcInitialEndY = 96;
constexpr int ArcGlueSite = 1;
constexpr int ArcArrowhead = host::ArrowheadTriangle;

// The title label of a graph slide always uses this font.
inline const QString TitleFontName = QStringLiteral("Arial");
constexpr float TitleFontSize = 24;

} // namespace zov::drawing
