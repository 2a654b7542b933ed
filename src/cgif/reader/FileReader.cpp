// The reader's side of the outer loop (the grammar's ReadGraphs and ReadGraph, in
// cgif/grammar/Graphs.h): the stream read, the graphs of a file kept for the later ones, each
// graph handed to the sink when it ends, and the messages when one fails.
#include "cgif/reader/CgifReader.h"
#include "platform/TextStream.h"

#include <new>

namespace zov::cgif {

namespace {
// The input belongs to the caller: forget it when the reading ends, however it ends.
class ReadingScope {
public:
    ReadingScope(platform::TextStream*& slot, platform::TextStream& stream) : slot_(slot) { slot_ = &stream; }
    ~ReadingScope() { slot_ = nullptr; }
    ReadingScope(const ReadingScope&) = delete;
    ReadingScope& operator=(const ReadingScope&) = delete;

private:
    platform::TextStream*& slot_;
};
} // namespace

bool CgifReader::ReadCgifStream(platform::TextStream& stream) {
    // The lookup indexes serve this reading only.
    const IndexedReading indexed(*this);
    firstUnboundLabel_.clear();
    firstUnboundInItsGraph_ = false;
    firstLabelOffConcept_.clear();
    firstLabelReplaced_.clear();
    firstLabelReplacing_.clear();
    firstIndentDropped_.reset();
    elementCutShort_.clear();
    unreadText_.clear();
    ReadingScope scope(input_, stream);
    // The line may be the stream's text, which the caller closes. Runs while an exception (out
    // of memory among them) may be on its way out: KeepCurrentLine throws nothing.
    struct LineKeeper {
        CgifReader& reader;
        ~LineKeeper() { reader.KeepCurrentLine(); }
    } lineKeeper{*this};
    // The graphs of this reading are looked up while it lasts, and forgotten after it.
    struct EarlierReset {
        CgifReader& reader;
        ~EarlierReset() {
            reader.earlier_.Clear();
            reader.referenceContainers_.clear();
        }
    } earlierReset{*this};
    earlier_.Clear();
    graphsRead_ = 0;
    sink_->AddEarlierGraphs(earlier_);
    atEnd_ = false;
    BeginReading();
    SetCurrentLine(QString());
    const bool whole = ReadGraphs();
    if (whole) {
        // The current line may be a view of the stream's, which reading further lines ends.
        KeepCurrentLine();
        unreadText_ = UnreadRest();
    }
    return whole;
}

namespace {
// What old tools pad a file's end with: blanks, NULs and the end-of-file mark (Ctrl+Z).
bool IsPadding(QChar c) { return c == u' ' || c == u'\r' || c == QChar(0) || c == QChar(0x1A); }

// A text without padding at either end.
QStringView WithoutPadding(QStringView text) {
    while (!text.isEmpty() && IsPadding(text.front()))
        text = text.mid(1);
    while (!text.isEmpty() && IsPadding(text.back()))
        text.chop(1);
    return text;
}

// Whether a text holds a character one can see (not a blank, tab or other space, nor padding).
bool HoldsVisible(QStringView text) {
    for (const QChar c : text)
        if (!c.isSpace() && !IsPadding(c))
            return true;
    return false;
}
} // namespace

// The rest of the line where the reading ended, from the character that ended it (a tab, a
// no-break space, which the message names, or text where no element starts); when that holds
// nothing one can see, the first later line that does follows it after a line break: a line of
// a tab alone ends the reading too, and the lines after it are not read either. Empty when
// nothing one can see is left.
QString CgifReader::UnreadRest() {
    const QString first = WithoutPadding(QStringView(line_).mid(std::min<qsizetype>(pos_, line_.size()))).toString();
    if (HoldsVisible(first))
        return first;
    QString shown;
    try {
        while (shown.isEmpty() && input_ != nullptr && !input_->AtEndOfStream())
            if (const QStringView next = WithoutPadding(input_->ReadLineView()); HoldsVisible(next))
                shown = next.toString();
    } catch (const std::exception&) {
        // The graphs were read; a stream that fails past them leaves nothing to tell.
    }
    if (shown.isEmpty())
        return QString();
    return first.isEmpty() ? shown : first + u'\n' + shown;
}

bool CgifReader::KeepReadingBetweenGraphs() {
    if (!KeepReadingAfterGraph()) {
        stoppedBetweenGraphs_ = true;
        return false;
    }
    return true;
}

// Later graphs of the file may refer to the graphs read before (and to the nested graphs they
// handed on): their nodes are kept before the tables are emptied.
void CgifReader::BeginGraph() {
    if (graphsRead_ > 0) {
        earlier_.Add(tables_.AllBindings);
        earlier_.AddTopLevelGraph(tables_.BoundArray);
    }
    ClearReaderTables();
    tables_.Contexts.clear();
    tables_.Contexts.push_back(ContextRecord{});
    referenceContainers_.clear();
}

void CgifReader::AddTopGraphNode() {
    NodeRecord graph;
    AddGraphNode(graph, graphTitleType_, graphTitleName_);
    tables_.Contexts[0] = ContextRecord{0, tables_.BoundArray[0].Kind, -1, -1, NodeId(), NodeId()};
}

// In a catch block: whatever stopped the reading of a graph is shown.
bool CgifReader::GraphFailed() {
    try {
        throw;
    } catch (const ParseError& failure) {
        ShowError(failure.message());
    } catch (const std::bad_alloc&) {
        // The tables of the graph being read go first, so that the message and the graphs drawn
        // before it have the memory they need.
        ClearReaderTables();
        ShowError(QStringLiteral("Not enough memory to read this graph; the graphs before it are kept"));
    } catch (const std::exception& failure) {
        ShowError(QString::fromUtf8(failure.what()));
    } catch (...) {
        ShowError(QStringLiteral("The reading of the graph failed"));
    }
    return true;
}

// Built unless a coreference step re-marked the graph node.
void CgifReader::HandOnGraph() {
    const NodeRecord& graphNode = tables_.BoundArray.at(0);
    if (graphNode.Kind == NodeKind::Graph) {
        const RecordText name = graphNode.Name; // kept for a message: the sink may cut the tables
        try {
            sink_->BuildGraphSlide(*this, SlideNameOf(graphNode), graphNode.Type, 0, 1);
        } catch (const std::bad_alloc&) {
            ClearReaderTables();
            GraphNotDrawn(QStringLiteral("Graph %1 could not be drawn: not enough memory").arg(name.View()));
        } catch (const std::exception& failure) {
            GraphNotDrawn(QStringLiteral("Graph %1 could not be drawn: %2")
                              .arg(name.View(), QString::fromUtf8(failure.what())));
        } catch (...) {
            GraphNotDrawn(QStringLiteral("Graph %1 could not be drawn").arg(name.View()));
        }
    }
    referenceContainers_.clear();
    ++graphsRead_;
}

} // namespace zov::cgif
