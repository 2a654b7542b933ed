#pragma once
// The Arrange command: lays out the graph of one slide and moves its shapes so that it reads
// well. Concepts, relations and actors are laid out in layers along their arcs (Graphviz dot);
// the title label goes to the slide's top-left corner, the graph fills the slide below it
// (spread out as far as the slide allows, or squeezed down to small gaps when it is too large,
// never overlapping), and comments stand in columns beside the graph. A graph that fits neither
// with its layers down nor across goes in rows, like words on a page: its layers wrapped onto
// rows, or failing that its boxes filling the rows in reading order. Glued connectors follow their shapes and are rerouted to the nearest sites.
//
// Only positions change: names, texts, types, sizes, colours and which shapes each connector
// joins stay as they were, so export and jump behave as before. Shapes that are no part of a
// graph (pictures, loose lines, shapes of other types, and rectangles or text boxes that are
// not named by a node id, as an ordinary slide's title and text are) are left where they are.
//
// Callers that offer undo take one snapshot around ArrangeSlide: it is one step.
#include "editor/arrange/LayeredLayout.h"
#include "host/Presentation.h"
#include "host/Slide.h"

#include <QRectF>
#include <QString>
#include <functional>
#include <vector>

namespace zov::platform {
class MessageBoxes;
}

namespace zov::editor {

using arrange::ArrangeError;

// How the graph was laid out, in the order they are tried.
enum class ArrangeLayout {
    LayersDown,   // layers following each other down the slide
    LayersAcross, // layers side by side, when that fits better
    LayersInRows, // the layers down the slide, each starting a row, long ones wrapping
    Rows,         // the boxes in rows in the layers' reading order (or tallest first)
};

struct ArrangeResult {
    int nodes = 0;         // node shapes moved (concepts, relations, actors, actor marks)
    int comments = 0;      // comments moved
    int arcs = 0;          // connectors joining two node shapes (the layout's edges)
    bool titleMoved = false;
    bool fits = true;      // false: the graph is too large; it runs past the slide's right or bottom
    bool beyondRoom = false; // the node and comment shapes together cover more than GraphArea
    double scaleX = 1, scaleY = 1; // how far the layered layout was spread out (> 1) or squeezed (< 1)
    ArrangeLayout layout = ArrangeLayout::LayersDown;
};

// The part of the slide the graph and its comments are fitted into: below the title label
// (which goes to the top-left corner), inside a margin of 18 points.
QRectF GraphArea(const host::Slide& slide);

// Arranges one slide. Raises ArrangeError when the layout fails (the slide is then unchanged)
// and HostError for a slide handle that is no longer valid.
ArrangeResult ArrangeSlide(const host::Slide& slide);

// The command as the palette, the menu and the command line run it on slides `first` to `last`
// (1-based, inclusive) of `presentation`: each failure is shown in an "Error" box naming the
// slide and the reason and the other slides are still arranged; a graph too large for its slide
// is arranged as well as it goes and shown in a "ZOVEdit" box. Slides without graph shapes stay
// as they are. True when no slide failed. `arranged`, when given, is told after each slide how
// many of them are done.
bool ArrangeSlides(const host::Presentation& presentation, int first, int last, platform::MessageBoxes& messages,
                   const std::function<void(int arranged)>& arranged = {});

// The same for each of `slides` (the slides an import drew for graphs read without positions,
// with other slides between them); a slide deleted meanwhile is passed over. `arranged` is told
// after each slide how many of them are done.
bool ArrangeEachSlide(const host::Presentation& presentation, const std::vector<host::Slide>& slides,
                      platform::MessageBoxes& messages, const std::function<void(int arranged)>& arranged = {});

// The messages, for callers that report in their own way.
QString ArrangeFailedMessage(const host::Slide& slide, const QString& reason);
// `beyondRoom`: the shapes cover more than the room (ArrangeResult::beyondRoom).
QString ArrangeTooLargeMessage(const host::Slide& slide, bool beyondRoom);

} // namespace zov::editor
