// The quick checker's reader. Each routine follows the reader's routine of the same name step by
// step; where the reader shows a message, throws, or copies text in a way not followed here,
// this one throws Unsure.
#include "cgif/quick/QuickReader.h"

#include "cgif/quick/InputText.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

namespace zov::cgif::quick {

namespace {
constexpr int MaxNestingDepth = 200; // the reader's limit; deeper input is its error

// Identifier characters, looked up by byte: ASCII letters and "_" start one, digits continue it.
constexpr std::uint8_t IdentifierStart = 1;
constexpr std::uint8_t IdentifierPart = 2;
constexpr std::array<std::uint8_t, 256> MakeIdentifierTable() {
    std::array<std::uint8_t, 256> table{};
    for (int c = 0; c < 256; ++c) {
        const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
        const bool digit = c >= '0' && c <= '9';
        table[static_cast<std::size_t>(c)] =
            static_cast<std::uint8_t>((letter ? IdentifierStart | IdentifierPart : 0) | (digit ? IdentifierPart : 0));
    }
    return table;
}
constexpr std::array<std::uint8_t, 256> IdentifierTable = MakeIdentifierTable();
bool IsIdentifierStart(char c) { return (IdentifierTable[static_cast<unsigned char>(c)] & IdentifierStart) != 0; }
bool IsIdentifierPart(char c) { return (IdentifierTable[static_cast<unsigned char>(c)] & IdentifierPart) != 0; }

// The first CR or LF at or after `at`, or `end`. Eight bytes at a time: bytes below 0x0E are
// flagged (exactly, for the bytes below 0x80 that come before the first flagged one) and each
// flagged byte is looked at in turn.
std::size_t FindLineEnd(const char* text, std::size_t at, std::size_t end) {
    constexpr std::uint64_t Ones = 0x0101010101010101ull;
    constexpr std::uint64_t Highs = 0x8080808080808080ull;
    for (; at + 8 <= end; at += 8) {
        std::uint64_t word;
        std::memcpy(&word, text + at, 8);
        for (std::uint64_t flags = (word - Ones * 0x0E) & ~word & Highs; flags != 0; flags &= flags - 1) {
            const std::size_t candidate = at + static_cast<std::size_t>(std::countr_zero(flags)) / 8;
            if (text[candidate] == '\n' || text[candidate] == '\r')
                return candidate;
        }
    }
    while (at < end && text[at] != '\n' && text[at] != '\r')
        ++at;
    return at;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Cuts a table back so that its upper bound is `upperBound`; never lengthens it.
template <typename Table>
void CutBack(Table& table, int upperBound) {
    const auto size = static_cast<std::size_t>(upperBound < 0 ? 0 : upperBound + 1);
    if (size < table.size())
        table.resize(size);
}

// The slide name of a graph named `name`: the label part of "name/id", which ends at the first "/".
NodeName SlideNameOf(NodeName name) {
    if (name.Number >= 0)
        return name;
    std::uint32_t length = 0;
    while (length < name.Size && name.Data[length] != '/')
        ++length;
    name.Size = length;
    return name;
}

} // namespace

QuickReader::QuickReader(char* text, std::size_t size, std::size_t start)
    : text_(text), size_(size), next_(start), lineBegin_(start), lineEnd_(start), pos_(start),
      slideNames_(size / 64), stepsLeft_(16 * size + 65536) {
    // One large graph can hold a node for every few bytes. Reserving address space costs
    // nothing until it is used, and spares the copies of growing by doubling.
    bound_.reserve(size / 16 + 64);
    links_.reserve(size / 16 + 64);
    contexts_.push_back(Context{});
}

// --- scanner ---------------------------------------------------------------------------

bool QuickReader::FetchLine() {
    if (!LineEmpty())
        return true;
    if (next_ >= size_) {
        atEnd_ = true;
        return false;
    }
    do {
        NextInputLine();
        SkipSpaces();
        if (!LineEmpty())
            return true;
    } while (next_ < size_);
    return false;
}

// Lines end at CR LF, LF or a lone CR; the last line needs no end.
void QuickReader::NextInputLine() {
    const std::size_t size = size_;
    const char* data = text_;
    std::size_t end = FindLineEnd(data, next_, size);
    lineBegin_ = next_;
    lineEnd_ = end;
    pos_ = next_;
    if (end < size && data[end] == '\r' && end + 1 < size && data[end + 1] == '\n')
        ++end;
    next_ = end < size ? end + 1 : size;
}

bool QuickReader::ReadIdentifier(bool optional) {
    token_ = {};
    if (!FetchLine())
        return optional;
    if (!IsIdentifierStart(Front())) {
        if (optional)
            return true;
        throw Unsure{}; // "First character not alpha or _"
    }
    const std::size_t start = pos_;
    ++pos_;
    while (pos_ < lineEnd_ && IsIdentifierPart(text_[pos_]))
        ++pos_;
    token_ = std::string_view(text_ + start, pos_ - start);
    SkipSpaces();
    return true;
}

bool QuickReader::ReadNumber(bool optional) {
    std::size_t end = pos_;
    while (end < lineEnd_ && IsDigit(text_[end]))
        ++end;
    if (end >= lineEnd_) {
        token_ = pos_ < lineEnd_ ? std::string_view(text_ + pos_, lineEnd_ - pos_) : std::string_view();
        pos_ = lineEnd_;
        return true;
    }
    if (end == pos_)
        return optional;
    token_ = std::string_view(text_ + pos_, end - pos_);
    pos_ = end;
    SkipSpaces();
    return true;
}

// Only the usual case, an item that ends on the line it starts on, is followed here.
bool QuickReader::ReadUntil(char terminator) {
    // Comments and strings are short: a plain loop beats a library search here.
    std::size_t at = pos_;
    while (at < lineEnd_ && text_[at] != terminator)
        ++at;
    if (at >= lineEnd_)
        throw Unsure{};
    token_ = std::string_view(text_ + pos_, at - pos_);
    pos_ = at;
    return true;
}

// The reader puts a comment back over the consumed end of the saved line when there is room.
// The text put back is the consumed comment's own tail, so there always is room unless the
// comment ran over a line end.
void QuickReader::RebuildLine(std::string_view text, bool asComment, bool closed, std::size_t savedBegin,
                              std::size_t savedEnd, std::size_t savedPos) {
    const std::size_t size = asComment ? text.size() + (closed ? 2 : 1) : 0;
    if (size > savedPos - savedBegin)
        throw Unsure{};
    if (size > 0) {
        // The text may overlap where it goes: move it before writing the semicolons.
        char* out = text_ + (savedPos - size);
        if (!text.empty())
            std::memmove(out + 1, text.data(), text.size());
        out[0] = ';';
        if (closed)
            out[1 + text.size()] = ';';
    }
    lineBegin_ = savedBegin;
    lineEnd_ = savedEnd;
    pos_ = savedPos - size;
}

std::string_view QuickReader::ExtractTitle(bool keep) {
    const std::size_t savedBegin = lineBegin_;
    const std::size_t savedEnd = lineEnd_;
    const std::size_t savedPos = pos_;
    const std::string_view comment = token_;
    lineBegin_ = pos_ = static_cast<std::size_t>(comment.data() - text_);
    lineEnd_ = lineBegin_ + comment.size();
    if (!comment.empty() && MatchChar('%', false)) {
        ReadUntil('%');
        const std::string_view title = token_;
        MatchChar('%', false);
        const std::string_view rest(text_ + pos_, lineEnd_ - pos_);
        if (rest.empty())
            RebuildLine({}, !keep, false, savedBegin, savedEnd, savedPos);
        else
            RebuildLine(rest, true, keep, savedBegin, savedEnd, savedPos);
        return title;
    }
    if (comment.empty())
        RebuildLine({}, !keep, false, savedBegin, savedEnd, savedPos);
    else
        RebuildLine(comment, true, keep, savedBegin, savedEnd, savedPos);
    return {};
}

// --- tables and lookups ----------------------------------------------------------------

QuickReader::Context& QuickReader::TopContext() {
    if (contexts_.empty())
        throw Unsure{};
    return contexts_.back();
}

void QuickReader::SetNodeName(int index, NodeName name) {
    if (index < 0 || index > Upper())
        throw Unsure{};
    bound_[static_cast<std::size_t>(index)].Name = name;
}

void QuickReader::SetNodeKind(int index, Kind kind) {
    if (index < 0 || index > Upper())
        throw Unsure{};
    bound_[static_cast<std::size_t>(index)].NodeKind = kind;
}

void QuickReader::Spend(std::size_t steps) {
    if (steps > stepsLeft_)
        throw Unsure{};
    stepsLeft_ -= steps;
}

int QuickReader::FindCurrentIndex(const NodeName& label, int startIndex) {
    const int start = std::min(startIndex, Upper());
    int i = start;
    while (i >= 0 && !SameName(bound_[static_cast<std::size_t>(i)].Name, label))
        --i;
    Spend(static_cast<std::size_t>(start - i) + 1);
    return i;
}

int QuickReader::GraphAtOrBefore(const Table<Node>& table, int index) {
    int j = index;
    while (j >= 0 && table[static_cast<std::size_t>(j)].NodeKind != Graph)
        --j;
    Spend(static_cast<std::size_t>(index - j) + 1);
    return j;
}

int QuickReader::FindExternalIndex(const NodeName& label, int& graph) {
    const int upper = static_cast<int>(all_.size()) - 1;
    int i = upper;
    while (i >= 0 && !SameName(all_[static_cast<std::size_t>(i)].Name, label))
        --i;
    Spend(static_cast<std::size_t>(upper - i) + 1);
    graph = i >= 0 ? GraphAtOrBefore(all_, i) : -1;
    return i;
}

// Every node of the table has its own id, given in increasing order (orphan labels, which
// would have none, are left to the full reader), so the ids are sorted.
int QuickReader::IndexOfId(std::uint32_t id) const {
    // Most graphs hold a run of consecutive ids: try the place the id would have in that run.
    if (!bound_.empty() && id >= bound_.front().Id) {
        const std::size_t guess = id - bound_.front().Id;
        if (guess < bound_.size() && bound_[guess].Id == id)
            return static_cast<int>(guess);
    }
    const auto found = std::lower_bound(bound_.begin(), bound_.end(), id,
                                        [](const Node& node, std::uint32_t value) { return node.Id < value; });
    return found != bound_.end() && found->Id == id ? static_cast<int>(found - bound_.begin()) : -1;
}

void QuickReader::AddGraphNode(NodeName name) {
    if (name.Empty()) {
        name = NodeName::Generated(graphCounter_);
        while (SlideNameInUse(name))
            name = NodeName::Generated(++graphCounter_);
    }
    AddNode(name, NewNodeId(), Graph);
    graphTitleName_ = name;
    ++graphCounter_;
}

// "type*name": the name is what follows the first "*", without blanks around it. Without "*"
// the name is the palette text, which a checking run does not have.
void QuickReader::SplitGraphTitle(std::string_view title) {
    std::size_t star = 0;
    while (star < title.size() && title[star] != '*')
        ++star;
    if (star == title.size()) {
        graphTitleName_ = {};
        return;
    }
    std::string_view name = title.substr(star + 1);
    while (!name.empty() && name.front() == ' ')
        name.remove_prefix(1);
    while (!name.empty() && name.back() == ' ')
        name.remove_suffix(1);
    graphTitleName_ = NodeName::Of(name);
    slideNames_.Prefetch(SlideNameOf(graphTitleName_));
}

// What the checking builder does with a graph: take the graph's slide name (a name in use is
// refused, with a message) and find both ends of every link, looking up the defining concept
// of each coreferent concept met there.
void QuickReader::BuildGraph(int firstLinkIndex, int graphIndex) {
    const NodeName slideName = SlideNameOf(bound_[static_cast<std::size_t>(graphIndex)].Name);
    if (!slideNames_.Insert(slideName))
        throw Unsure{}; // "Slide name is already in use"
    ++buildNumber_;
    // The builder first looks among the ends it has found in this build, which are all nodes of
    // the table (it does not change while a graph is built): a mark on the node does the same.
    auto drawEnd = [this](std::uint32_t id) {
        const int index = IndexOfId(id);
        if (index < 0)
            throw Unsure{}; // "Link node not in bound array"
        Node& node = bound_[static_cast<std::size_t>(index)];
        if (node.DrawnInBuild == buildNumber_)
            return;
        if (node.NodeKind == CoreferentConcept && FindCurrentIndex(node.Name, index - 1) < 0) {
            int graph = -1;
            if (FindExternalIndex(node.Name, graph) < 0 || graph < 0)
                throw Unsure{}; // "Graph not found for: "
        }
        if (node.NodeKind != Comment)
            node.DrawnInBuild = buildNumber_;
    };
    Spend(links_.size() - static_cast<std::size_t>(firstLinkIndex));
    for (std::size_t i = static_cast<std::size_t>(firstLinkIndex); i < links_.size(); ++i) {
        drawEnd(links_[i].From);
        drawEnd(links_[i].To);
    }
}

// --- referents -------------------------------------------------------------------------

bool QuickReader::ReadReferent() {
    if (ReadCorefLinks(false)) {
        ReadDescriptor();
    } else {
        ReadDescriptor();
        ReadCorefLinks(true);
    }
    return true;
}

bool QuickReader::ReadCorefLinks(bool optional) {
    bool result = false;
    if (ReadDefiningLabel(false)) {
        result = true;
    } else if (ReadBoundLabels(false)) {
        // A bound label in a concept: first among the nested graphs already built, then among
        // the enclosing graphs; found nowhere, it stays unbound without a message.
        const NodeName label = NodeName::Of(token_);
        int graph = -1;
        if (FindExternalIndex(label, graph) >= 0 && graph >= 0) {
            SetNodeName(Upper(), label);
            SetNodeKind(Upper(), CoreferentConcept);
        } else {
            const int defining = FindCurrentIndex(label, TopContext().GraphIndex - 1);
            if (defining >= 0) {
                const int index = IndexOfId(bound_[static_cast<std::size_t>(defining)].Id);
                if (index < 0)
                    throw Unsure{};
                SetNodeKind(index, CoreferentConcept);
                SetNodeName(Upper(), label);
            }
        }
        result = true;
    }
    return optional ? true : result;
}

bool QuickReader::ReadDefiningLabel(bool optional) {
    if (!MatchChar('*', false))
        return optional;
    if (!ReadIdentifier(false))
        return optional;
    const int target = IndexOfId(currentConceptId_);
    if (target < 0)
        throw Unsure{}; // an orphan label node, which has no id
    SetNodeName(target, NodeName::Of(token_));
    return true;
}

bool QuickReader::ReadBoundLabel() {
    if (!MatchChar('?', false))
        return false;
    if (!ReadIdentifier(false))
        throw Unsure{}; // "Missing label indentifier"
    return true;
}

bool QuickReader::ReadBoundLabels(bool optional) {
    bool any = false;
    while (ReadBoundLabel())
        any = true;
    return any ? true : optional;
}

bool QuickReader::ReadDescriptor() {
    if (ReadQuantifier(false))
        return ReadNestedGraph(true);
    ReadDesignator();
    return ReadNestedGraph(true);
}

bool QuickReader::ReadQuantifier(bool optional) {
    if (!MatchChar('@', false))
        return optional;
    ReadIdentifier(true);
    if (token_.empty())
        ReadNumber(true);
    return true;
}

bool QuickReader::ReadDesignator() {
    // Sets and sequences build their text in ways not followed here.
    if (MatchChar('{', false) || MatchChar('<', false))
        throw Unsure{};
    if (!ReadLiteral(false))
        ReadLocator(false);
    return true;
}

bool QuickReader::ReadLiteral(bool optional) {
    if (ReadNumber(false))
        return true;
    if (MatchChar('"', false)) {
        ReadUntil('"');
        MatchChar('"', false);
        return true;
    }
    return optional;
}

bool QuickReader::ReadLocator(bool optional) {
    if (MatchChar('\'', false)) {
        ReadUntil('\'');
        MatchChar('\'', false);
        return true;
    }
    if (MatchChar('#', false)) {
        ReadIdentifier(true);
        if (token_.empty())
            ReadNumber(true);
        return true;
    }
    return optional;
}

// --- graph elements --------------------------------------------------------------------

bool QuickReader::ReadElement(bool defaultResult, bool allowComment) {
    if (ReadConcept(false) || ReadRelation() || ReadActor() || ReadNegation(false))
        return true;
    if (allowComment && ReadComment(false, true))
        return true;
    return defaultResult;
}

bool QuickReader::ReadPositionComment(char terminator, bool optional) {
    positionOnlyComment_ = false;
    bool result = false;
    if (MatchChar(';', false) && ReadUntil(terminator)) {
        if (token_.empty() || token_.front() != '%') {
            positionOnlyComment_ = IsWriterPosition(token_, terminator == '>');
            return true;
        }
        const std::string_view title = ExtractTitle(false);
        MatchChar(';', false);
        result = ReadUntil(terminator);
        if (result && title.empty())
            positionOnlyComment_ = IsWriterPosition(token_, terminator == '>');
    }
    return optional ? true : result;
}

void QuickReader::PlaceNodeComment() {
    if (!positionOnlyComment_)
        AddCommentNode();
}

bool QuickReader::ReadConcept(bool optional) {
    bool result = false;
    if (MatchChar('[', false)) {
        ReadIdentifier(true);
        const std::uint32_t id = NewNodeId();
        currentConceptId_ = id;
        AddNode({}, id, Concept);
        for (int segments = 1;; ++segments) {
            if (MatchChar(':', false))
                ReadReferent();
            else
                ReadCorefLinks(true);
            if (ReadPositionComment(';', false)) {
                MatchChar(';', false);
                PlaceNodeComment();
                if (!MatchChar(']', false))
                    throw Unsure{}; // "Expected terminating ] for concept"
                break;
            }
            if (MatchChar(']', false))
                break;
            if (segments == 2)
                throw Unsure{}; // "Cannot find ] terminator for concept"
        }
        result = true;
    }
    return optional ? true : result;
}

bool QuickReader::ReadArguments() {
    while (!atEnd_) {
        if (ReadConcept(false)) {
            args_.push_back(currentConceptId_);
        } else if (ReadBoundLabel()) {
            const int defining = FindCurrentIndex(NodeName::Of(token_), Upper() - 1);
            if (defining < 0)
                throw Unsure{}; // "Current coreference not found for: "
            args_.push_back(bound_[static_cast<std::size_t>(defining)].Id);
        } else {
            break;
        }
    }
    return !atEnd_;
}

bool QuickReader::LinkRelationArguments() {
    if (args_.empty())
        return false;
    const int argBase = TopContext().ArgBase;
    links_.push_back({currentRelationId_, args_.back()});
    for (int i = argBase + 1; i < static_cast<int>(args_.size()) - 1; ++i)
        links_.push_back({args_[static_cast<std::size_t>(i)], currentRelationId_});
    CutBack(args_, argBase);
    return true;
}

bool QuickReader::ReadRelation() {
    if (!MatchChar('(', false))
        return false;
    ReadIdentifier(false);
    currentRelationId_ = NewNodeId();
    AddNode({}, currentRelationId_, Relation);
    if (!ReadArguments())
        return false;
    if (ReadPositionComment(';', false)) {
        MatchChar(';', false);
        PlaceNodeComment();
    }
    if (!MatchChar(')', false))
        throw Unsure{}; // "Expected ) at end of relation"
    if (!LinkRelationArguments())
        throw Unsure{}; // "Relation with no concepts"
    return true;
}

void QuickReader::LinkPendingArgs(bool fromActor, std::uint32_t actorId) {
    const int argBase = TopContext().ArgBase;
    for (int i = argBase + 1; i < static_cast<int>(args_.size()); ++i) {
        const std::uint32_t arg = args_[static_cast<std::size_t>(i)];
        links_.push_back(fromActor ? Link{actorId, arg} : Link{arg, actorId});
    }
    CutBack(args_, argBase);
}

bool QuickReader::ReadActor() {
    if (!MatchChar('<', false))
        return false;
    ReadIdentifier(false);
    currentActorId_ = NewNodeId();
    AddNode({}, currentActorId_, Actor);
    if (!ReadArguments())
        return false;
    if (!MatchChar('|', false))
        throw Unsure{}; // "| separator missing"
    LinkPendingArgs(false, currentActorId_);
    if (!ReadArguments())
        return false;
    if (ReadPositionComment('>', false))
        PlaceNodeComment();
    if (!MatchChar('>', false))
        return false;
    LinkPendingArgs(true, currentActorId_);
    return true;
}

bool QuickReader::ReadNegation(bool optional) {
    if (!MatchChar('~', false))
        return optional;
    currentRelationId_ = NewNodeId();
    AddNode({}, currentRelationId_, Relation);
    const bool opened = MatchChar('[', false);
    const bool nested = ReadNestedGraph(false);
    const bool closed = MatchChar(']', false);
    if (!opened || !nested || !closed)
        throw Unsure{}; // "Missing concept for negation"
    return true;
}

bool QuickReader::ReadComment(bool defaultResult, bool addNode) {
    if (!MatchChar(';', false))
        return defaultResult;
    ReadUntil(';');
    MatchChar(';', false);
    if (addNode)
        AddCommentNode();
    return true;
}

bool QuickReader::ReadNestedGraph(bool optional) {
    if (nestingDepth_ >= MaxNestingDepth)
        throw Unsure{}; // "Graphs nested too deeply"
    struct Guard {
        int& depth;
        explicit Guard(int& d) : depth(d) { ++depth; }
        ~Guard() { --depth; }
    } guard(nestingDepth_);

    const int container = Upper();
    if (ReadComment(false, false)) {
        const std::string_view title = ExtractTitle(true);
        if (title.empty())
            return optional;
        SplitGraphTitle(title);
    } else {
        graphTitleName_ = {};
    }
    AddGraphNode(graphTitleName_);
    const std::uint32_t graphId = bound_.back().Id;

    contexts_.push_back(Context{Upper(), Graph, static_cast<int>(links_.size()) - 1,
                                static_cast<int>(args_.size()) - 1, currentConceptId_, currentRelationId_});
    while (!atEnd_ && ReadElement(false, false)) {
    }
    const Context context = TopContext();
    contexts_.pop_back();

    if (static_cast<int>(links_.size()) - 1 <= context.LinkBase) {
        SetNodeKind(context.GraphIndex, context.GraphKind);
        return optional;
    }
    BuildGraph(context.LinkBase + 1, context.GraphIndex);

    Spend(bound_.size() - static_cast<std::size_t>(context.GraphIndex));
    all_.insert(all_.end(), bound_.begin() + context.GraphIndex, bound_.end());
    CutBack(bound_, context.GraphIndex);

    // The containing node takes the name of the graph node made last.
    SetNodeName(container, graphTitleName_);
    CutBack(links_, context.LinkBase);
    links_.push_back({bound_[static_cast<std::size_t>(container)].Id, graphId});
    CutBack(args_, context.ArgBase);
    currentConceptId_ = context.SavedConceptId;
    currentRelationId_ = context.SavedRelationId;
    return true;
}

// --- graphs and files ------------------------------------------------------------------

bool QuickReader::ReadGraph() {
    bound_.clear();
    all_.clear();
    links_.clear();
    args_.clear();
    contexts_.clear();
    contexts_.push_back(Context{});
    nestingDepth_ = 0;

    std::string_view title;
    if (ReadComment(false, false))
        title = ExtractTitle(true);
    if (title.empty())
        graphTitleName_ = {};
    else
        SplitGraphTitle(title);
    AddGraphNode(graphTitleName_);
    contexts_[0] = Context{0, bound_[0].NodeKind, -1, -1, 0, 0};

    while (!atEnd_ && ReadElement(false, true)) {
    }
    if (bound_.at(0).NodeKind == Graph)
        BuildGraph(0, 0);
    return true;
}

bool QuickReader::ReadCgifStream() {
    atEnd_ = false;
    for (;;) {
        if (!ReadGraph()) {
            atEnd_ = true;
            return false;
        }
        if (!MatchChar('.', false)) {
            atEnd_ = true;
            return true;
        }
        atEnd_ = false;
    }
}

} // namespace zov::cgif::quick
