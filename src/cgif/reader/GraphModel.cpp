// Record builders and table housekeeping of the reader.
#include "cgif/reader/CgifReader.h"
#include "cgif/grammar/GraphTitle.h"
#include "drawing/NodeId.h"
#include "platform/MessageBox.h"

namespace zov::cgif {

CgifReader::CgifReader(drawing::NodeIdGenerator& ids, platform::MessageBoxes& messages, GraphSink& sink)
    : ids_(ids), messages_(messages), sink_(&sink) {
    // Start as if a top-level graph were open, so that editing commands that parse a concept
    // before any file was read find a context.
    tables_.Contexts.push_back(ContextRecord{});
}

void CgifReader::SetGraphTitle(const RecordText& name, const RecordText& type) {
    graphTitleName_ = name;
    graphTitleType_ = type;
}

void CgifReader::AddNode(const NodeRecord& record) {
    tables_.BoundArray.push_back(record);
    boundIndex_.Appended(tables_.BoundArray.back(), UpperBound(tables_.BoundArray));
}

void CgifReader::AddNode(NodeRecord&& record) {
    tables_.BoundArray.push_back(std::move(record));
    boundIndex_.Appended(tables_.BoundArray.back(), UpperBound(tables_.BoundArray));
}

void CgifReader::AddLink(const LinkRecord& link) { tables_.Links.push_back(link); }

void CgifReader::KeepInAllBindings(int index) {
    if (index < 0 || index > UpperBound(tables_.BoundArray))
        throw ParseError(RuntimeFailure::SubscriptOutOfRange, QStringLiteral("Subscript out of range"));
    AddToAllBindings(tables_.BoundArray[static_cast<std::size_t>(index)]);
}

void CgifReader::AddToAllBindings(const NodeRecord& record) {
    tables_.AllBindings.push_back(record);
    bindingsIndex_.Appended(tables_.AllBindings.back(), UpperBound(tables_.AllBindings));
}

void CgifReader::ClearReaderTables() {
    tables_.BoundArray.clear();
    tables_.AllBindings.clear();
    tables_.Links.clear();
    tables_.PendingArgs.clear();
    ResetIndexes();
}

void CgifReader::SetNodeName(int index, const RecordText& name) {
    if (index < 0 || index > UpperBound(tables_.BoundArray))
        throw ParseError(RuntimeFailure::SubscriptOutOfRange, QStringLiteral("Subscript out of range"));
    NodeRecord& node = tables_.BoundArray[static_cast<std::size_t>(index)];
    boundIndex_.NameChanged(node.Name, name, index);
    node.Name = name;
}

void CgifReader::SetNodeKind(int index, std::int16_t kind) {
    if (index < 0 || index > UpperBound(tables_.BoundArray))
        throw ParseError(RuntimeFailure::SubscriptOutOfRange, QStringLiteral("Subscript out of range"));
    NodeRecord& node = tables_.BoundArray[static_cast<std::size_t>(index)];
    boundIndex_.KindChanged(node.Kind, kind, index);
    node.Kind = kind;
}

void CgifReader::CutBoundArray(int upperBound) {
    boundIndex_.CuttingBack(tables_.BoundArray, upperBound);
    CutBack(tables_.BoundArray, upperBound);
}

// The indexes are built on the first lookup that finds a table large enough, and only while a
// stream is read: between readings other code changes the tables directly.
const BoundArrayIndex* CgifReader::BoundIndex() const {
    if (!reading_)
        return nullptr;
    if (!boundIndex_.Built()) {
        if (static_cast<qsizetype>(tables_.BoundArray.size()) <= indexThreshold_)
            return nullptr;
        boundIndex_.Build(tables_.BoundArray);
    }
    return &boundIndex_;
}

const AllBindingsIndex* CgifReader::BindingsIndex() const {
    if (!reading_)
        return nullptr;
    if (!bindingsIndex_.Built()) {
        if (static_cast<qsizetype>(tables_.AllBindings.size()) <= indexThreshold_)
            return nullptr;
        bindingsIndex_.Build(tables_.AllBindings);
    }
    return &bindingsIndex_;
}

void CgifReader::ResetIndexes() {
    boundIndex_.Clear();
    bindingsIndex_.Clear();
}

void CgifReader::AddCommentNode() {
    NodeRecord record;
    record.Id = ids_.NewId();
    record.Type = SharedToken();
    record.Kind = NodeKind::Comment;
    record.X = pendingX_;
    record.Y = pendingY_;
    AddNode(std::move(record));
}

namespace {
// "G" followed by the decimal number, written over `name`.
void GeneratedGraphName(int number, QString& name) {
    char16_t digits[16];
    char16_t* end = digits + 16;
    char16_t* at = end;
    const bool negative = number < 0;
    unsigned value = negative ? 0u - static_cast<unsigned>(number) : static_cast<unsigned>(number);
    do {
        *--at = static_cast<char16_t>(u'0' + value % 10);
        value /= 10;
    } while (value != 0);
    if (negative)
        *--at = u'-';
    *--at = u'G';
    name.resize(0);
    name.append(reinterpret_cast<const QChar*>(at), end - at);
}
} // namespace

// A made-up graph name must be new: not a slide's (the sink says), nor that of a graph around
// this one, which is handed on after the graphs it holds and would then find its name taken.
bool CgifReader::GeneratedNameTaken(const QString& name) const {
    for (const ContextRecord& context : tables_.Contexts) {
        const auto index = static_cast<std::size_t>(context.GraphIndex);
        if (index < tables_.BoundArray.size() && tables_.BoundArray[index].Name == name)
            return true;
    }
    return graphNameTaken_ && graphNameTaken_(name);
}

bool CgifReader::AddGraphNode(NodeRecord& record, const RecordText& type, const RecordText& name) {
    record = NodeRecord{};
    if (name.isEmpty()) {
        GeneratedGraphName(graphCounter_, generatedName_);
        while (GeneratedNameTaken(generatedName_))
            GeneratedGraphName(++graphCounter_, generatedName_);
        record.Name = texts_.Make(generatedName_);
    } else {
        record.Name = name;
    }
    record.Type = type.isEmpty() ? SharedText(u"Graph") : type;
    record.Id = ids_.NewId();
    record.GraphNumber = graphCounter_;
    record.Kind = NodeKind::Graph;
    AddNode(record);
    ++graphCounter_;
    return true;
}

// "type*name"; without "*" the name is whatever the palette's text box holds and the type is
// "Graph".
void CgifReader::SplitGraphTitle(QStringView title) {
    const grammar::TitleParts parts = grammar::SplitGraphTitle<ReaderText>(title.data(), title.size());
    if (parts.Typed) {
        graphTitleName_ = texts_.Make(title.mid(parts.Name.Begin, parts.Name.Size));
        const QStringView type = title.mid(parts.Type.Begin, parts.Type.Size);
        graphTitleType_ = type.size() <= MaxSharedTokenSize ? SharedText(type) : texts_.Make(type);
        return;
    }
    const QString palette = paletteText_ ? paletteText_() : QString();
    const grammar::TextPiece name =
        grammar::TrimBlanks<ReaderText>(palette.constData(), {0, palette.size()});
    graphTitleName_ = texts_.Make(QStringView(palette).mid(name.Begin, name.Size));
    graphTitleType_ = SharedText(u"Graph");
}

void WriteSlideName(const NodeRecord& graph, QString& name) {
    name.resize(0);
    name += graph.Name.View();
    name += u'/';
    graph.Id.AppendTo(name);
}

const QString& CgifReader::SlideNameOf(const NodeRecord& graph) {
    WriteSlideName(graph, slideName_);
    return slideName_;
}

NodeRecord& CgifReader::LastNode() {
    if (tables_.BoundArray.empty())
        throw ParseError(RuntimeFailure::SubscriptOutOfRange, QStringLiteral("Subscript out of range"));
    return tables_.BoundArray.back();
}

ContextRecord& CgifReader::TopContext() {
    if (tables_.Contexts.empty())
        throw ParseError(RuntimeFailure::SubscriptOutOfRange, QStringLiteral("Subscript out of range"));
    return tables_.Contexts.back();
}

void CgifReader::ShowError(const QString& text) const {
    messages_.inform(text, QStringLiteral("Error"), platform::MessageIcon::Critical);
}

void CgifReader::GraphNotDrawn(const QString& text) {
    const platform::Message box{text, QStringLiteral("Error"), platform::MessageIcon::Critical,
                                platform::MessageButtons::OkCancel, 1};
    if (messages_.show(box) == platform::MessageAnswer::Cancel)
        stopAsked_ = true;
}

} // namespace zov::cgif
