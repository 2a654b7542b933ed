#pragma once
// The Arrange command: lays out the graph of one slide and moves its shapes so that it reads
// well. Concepts, relations and actors are laid out in layers along their arcs (Graphviz dot);
// the title label goes to the slide's top-left corner, the graph fills the slide below it
// (spread out as far as the slide allows, or squeezed down to small gaps when it is too large,
// never overlapping), and comments stand in columns beside the graph. Glued connectors follow their shapes and are rerouted to the nearest sites.
//
// Only positions change: names, texts, types, sizes, colours and which shapes each connector
// joins stay as they were, so export and jump behave as before. Shapes that are no part of a
// graph (pictures, loose lines, shapes of other types) are left where they are.
//
// Callers that offer undo take one snapshot around ArrangeSlide: it is one step.
#include "editor/arrange/LayeredLayout.h"
#include "host/Presentation.h"
#include "host/Slide.h"

#include <QString>

namespace zov::platform {
class MessageBoxes;
}

namespace zov::editor {

using arrange::ArrangeError;

struct ArrangeResult {
    int nodes = 0;         // node shapes moved (concepts, relations, actors, actor marks)
    int comments = 0;      // comments moved
    int arcs = 0;          // connectors joining two node shapes (the layout's edges)
    bool titleMoved = false;
    bool fits = true;      // false: the graph is too large; it runs past the slide's right or bottom
    double scaleX = 1, scaleY = 1; // how far the compact layout was spread out (> 1) or squeezed (< 1)
    bool leftToRight = false; // the layers run left to right (chosen when top to bottom does not fit)
};

// Arranges one slide. Raises ArrangeError when the layout fails (the slide is then unchanged)
// and HostError for a slide handle that is no longer valid.
ArrangeResult ArrangeSlide(const host::Slide& slide);

// The command as the palette, the menu and the command line run it on slides `first` to `last`
// (1-based, inclusive) of `presentation`: each failure is shown in an "Error" box naming the
// slide and the reason and the other slides are still arranged; a graph too large for its slide
// is arranged as well as it goes and shown in a "ZOVEdit" box. Slides without graph shapes stay
// as they are. True when no slide failed.
bool ArrangeSlides(const host::Presentation& presentation, int first, int last, platform::MessageBoxes& messages);

// The messages, for callers that report in their own way.
QString ArrangeFailedMessage(const host::Slide& slide, const QString& reason);
QString ArrangeTooLargeMessage(const host::Slide& slide);

} // namespace zov::editor
