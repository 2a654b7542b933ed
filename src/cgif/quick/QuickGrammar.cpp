// The grammar (cgif/grammar) instantiated for the quick checker's bytes, and what its routines
// record here. Where the full reader's model shows a message, or records something not
// followed here, this one throws Unsure.
#include "cgif/quick/QuickReader.h"

#include "cgif/grammar/Elements.h"
#include "cgif/grammar/Graphs.h"
#include "cgif/grammar/Referents.h"
#include "cgif/grammar/Scanner.h"
#include "cgif/grammar/WriterPosition.h"

#include <algorithm>

namespace zov::cgif::quick {

using grammar::CutBack;

// --- referents: the grammar reads them; only the labels matter here ------------------

void QuickReader::DefineLabel() {
    const int target = IndexOfId(currentConceptId_);
    if (target < 0)
        throw Unsure{}; // an orphan label node, which has no id
    SetNodeName(target, TokenLabel());
}

// --- graph elements: the grammar reads them; these record them -----------------------

bool QuickReader::AddLabelArgument() {
    const int defining = FindCurrentIndex(TokenLabel(), Upper() - 1);
    if (defining < 0)
        throw Unsure{}; // "Current coreference not found for: ", unless an earlier graph has it
    args_.push_back(bound_[static_cast<std::size_t>(defining)].Id);
    return true;
}

void QuickReader::NoteWriterPosition(char terminator) {
    const auto size = static_cast<std::ptrdiff_t>(token_.size());
    const auto written = grammar::WriterPosition<ByteText>(token_.data(), size, terminator == '>');
    positionOnlyComment_ = written.has_value();
}

// An empty nested graph whose title names an earlier graph stands for it; the full reader
// follows that. No graph comes before the first one: the checking builder holds none.
bool QuickReader::NamesEarlierGraph(int) const {
    if (afterFirstGraph_)
        throw Unsure{};
    return false;
}

// The checking builder takes the nested graph; its nodes move to the table of graphs handed on.
bool QuickReader::HandOnNestedGraph(const Context& context) {
    BuildGraph(context.LinkBase + 1, context.GraphIndex);
    Spend(bound_.size() - static_cast<std::size_t>(context.GraphIndex));
    all_.insert(all_.end(), bound_.begin() + context.GraphIndex, bound_.end());
    CutBoundTable(context.GraphIndex);
    return true;
}

// --- graphs and files: the grammar reads them; these keep their tables ----------------

void QuickReader::BeginGraph() {
    bound_.clear();
    names_.Clear();
    all_.clear();
    links_.clear();
    args_.clear();
    contexts_.clear();
    contexts_.push_back(Context{});
}

void QuickReader::AddTopGraphNode() {
    AddGraphNode(graphTitleName_);
    contexts_[0] = Context{0, bound_[0].NodeKind, -1, -1, 0, 0};
}

bool QuickReader::ReadCgifStream() {
    atEnd_ = false;
    return ReadGraphs();
}

} // namespace zov::cgif::quick

template class zov::cgif::grammar::Grammar<zov::cgif::quick::QuickReader, zov::cgif::quick::ByteText>;
