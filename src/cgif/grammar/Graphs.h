#pragma once
// The graph routines of the grammar: the binding of a bound label met in a concept, one
// top-level graph, and the graphs of an input separated by ".".
#include "cgif/grammar/Grammar.h"

namespace zov::cgif::grammar {

// First among the nested graphs already handed on, where the concept itself (the last node) is
// marked coreferent; else among the enclosing graphs, below the node of the current graph,
// where the defining concept is marked coreferent; else among the graphs read before this one.
// A label found nowhere stays unbound without a message.
template <typename Model, typename Text>
bool Grammar<Model, Text>::ResolveBoundLabel(const Label& label) {
    Self().NoteBoundLabelTarget(label);
    try {
        int graph = -1;
        if (Self().FindExternalIndex(label, graph) >= 0 && graph >= 0) {
            const int last = Self().LastIndex();
            Self().SetNodeName(last, label);
            Self().MarkCoreferent(last);
            return true;
        }
    } catch (...) {
        // The concept is gone (an empty table): look in the enclosing graphs as for a miss.
        if (!Self().TableGone())
            throw;
    }
    try {
        int graph = -1;
        const int defining = Self().FindCurrentIndex(label, Self().TopContext().GraphIndex - 1, graph);
        if (defining < 0) {
            Self().BindToEarlierGraph(label);
            return true;
        }
        int index = Self().IndexOfId(Self().IdAt(defining));
        if (index < 0) {
            Self().LinkNodeMissing();
            index = 0;
        }
        Self().MarkCoreferent(index);
        Self().SetNodeName(Self().LastIndex(), label);
        return true;
    } catch (...) {
        if (!Self().BindingFailed())
            throw;
        return false;
    }
}

template <typename Model, typename Text>
bool Grammar<Model, Text>::ReadGraph() {
    Self().BeginGraph();
    nestingDepth_ = 0;

    // Failures while the title comment is read are the caller's to report.
    String title;
    if (ReadComment(false, false))
        title = ExtractTitle(true);
    if (title.size() == 0)
        Self().ClearGraphTitle();
    else
        Self().SplitGraphTitle(title);
    Self().AddTopGraphNode();

    try {
        while (!atEnd_ && ReadElement(false, true))
            Self().NoteProgress();
    } catch (...) {
        if (!Self().GraphFailed())
            throw;
        return false;
    }
    Self().HandOnGraph();
    return true;
}

template <typename Model, typename Text>
bool Grammar<Model, Text>::ReadGraphs() {
    for (bool first = true;; first = false) {
        if (!first && !Self().KeepReadingBetweenGraphs()) {
            atEnd_ = true;
            return false;
        }
        if (!ReadGraph()) {
            atEnd_ = true;
            return false;
        }
        if (!MatchChar(Char(u'.'), false)) {
            atEnd_ = true;
            return true;
        }
        atEnd_ = false;
    }
}

} // namespace zov::cgif::grammar
