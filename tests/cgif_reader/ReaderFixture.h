#pragma once
// Shared pieces of the reader tests: an in-memory text stream that counts the lines taken (or
// fails past its last line), a sink that records every graph handed to it, and the graph
// description the reader's cases compare.
#include "cgif/reader/CgifReader.h"
#include "drawing/NodeId.h"
#include "platform/TextStream.h"
#include "platform/fake/FakeMessageBoxes.h"

#include <QStringList>
#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <vector>

// Readable failure output for Qt strings.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace zov::cgif::test {

// The platform's string stream, counting the lines read; with `failPastEnd` every read after
// the last line throws, as a broken device does. It offers its unread text as the platform's
// stream does, unless it fails or `linesOnly` hides it (a stream whose lines must be read).
class MemoryTextStream : public platform::TextStream {
public:
    explicit MemoryTextStream(const QString& text, bool failPastEnd = false, bool linesOnly = false)
        : inner_(platform::StringTextStream(text)), failPastEnd_(failPastEnd), linesOnly_(linesOnly) {}
    std::optional<QStringView> UnreadText() const override {
        return failPastEnd_ || linesOnly_ ? std::nullopt : inner_->UnreadText();
    }
    QString ReadLine() override {
        if (inner_->AtEndOfStream() && failPastEnd_)
            throw platform::FileError(QStringLiteral("device failed"));
        linesRead_ += inner_->AtEndOfStream() ? 0 : 1;
        return inner_->ReadLine();
    }
    bool AtEndOfStream() const override { return !failPastEnd_ && inner_->AtEndOfStream(); }
    void Write(const QString&) override { throw std::logic_error("read-only stream"); }
    void WriteLine(const QString&) override { throw std::logic_error("read-only stream"); }
    void Close() override {}
    qsizetype LinesRead() const { return linesRead_; }

private:
    std::unique_ptr<platform::TextStream> inner_;
    bool failPastEnd_;
    bool linesOnly_;
    qsizetype linesRead_ = 0;
};

// One graph as handed to the sink, with copies of the tail of the tables that belongs to it.
struct BuiltGraph {
    QString SlideName;
    QString GraphType;
    int FirstLinkIndex = 0;
    int FirstNodeIndex = 0;
    NodeTable Nodes;
    LinkTable Links;
    int GraphCounterAtBuild = 0;

    QString GraphName() const { return SlideName.section(u'/', 0, 0); }
    int Count(std::int16_t kind) const {
        return static_cast<int>(std::count_if(Nodes.begin(), Nodes.end(), [kind](const NodeRecord& n) { return n.Kind == kind; }));
    }
};

class RecordingSink : public GraphSink {
public:
    void BuildGraphSlide(CgifReader& reader, const QString& slideName, QStringView graphType,
                         int firstLinkIndex, int firstNodeIndex) override {
        BuiltGraph graph{slideName, graphType.toString(), firstLinkIndex, firstNodeIndex, {}, {}, reader.GraphCounter()};
        const ReaderTables& tables = reader.Tables();
        graph.Nodes.assign(tables.BoundArray.begin() + std::max(firstNodeIndex, 0), tables.BoundArray.end());
        graph.Links.assign(tables.Links.begin() + std::max(firstLinkIndex, 0), tables.Links.end());
        // The graph node itself sits just before the first node.
        if (firstNodeIndex >= 1 && firstNodeIndex - 1 < static_cast<int>(tables.BoundArray.size()))
            graphNode.push_back(tables.BoundArray[static_cast<std::size_t>(firstNodeIndex - 1)]);
        built.push_back(std::move(graph));
        if (failWith != nullptr)
            throw std::runtime_error(failWith);
    }
    std::vector<BuiltGraph> built;
    NodeTable graphNode; // the graph node of each build, in order
    const char* failWith = nullptr;    // when set, every build throws this text after recording
};

// One reader with seeded ids, scripted message boxes and a recording sink.
struct Reading {
    drawing::NodeIdGenerator ids{12345};
    platform::FakeMessageBoxes messages;
    RecordingSink sink;
    CgifReader reader{ids, messages, sink};
};

// A node as the graph description writes it (docs/testing.md): its type, then ":" and its
// referent, "*" and its name, "@X,Y" and its position (each only when it has one), then "/" and
// its kind (g graph, c concept, r relation, a actor, p coreferent concept, n comment).
inline QString NodeText(const NodeRecord& node) {
    QString text = node.Type.ToString();
    if (!node.Referent.isEmpty())
        text += u':' + node.Referent;
    if (!node.Name.isEmpty())
        text += u'*' + node.Name;
    if (node.X != 0 || node.Y != 0)
        text += u'@' + QString::number(node.X) + u',' + QString::number(node.Y);
    return text + u'/' + QChar(u"gcrapn"[node.Kind]);
}

// Each graph handed on, one line per graph in the order handed on: "NAME:TYPE node node ... |
// link link ...". A link is "FROM->TO" with the types of its ends ("graph NAME" for a graph
// node), found in any graph handed on.
inline QStringList DescribeGraphs(const std::vector<BuiltGraph>& built) {
    QStringList out;
    for (const BuiltGraph& graph : built) {
        QString line = graph.GraphName() + u':' + graph.GraphType;
        for (const NodeRecord& node : graph.Nodes)
            line += u' ' + NodeText(node);
        line += u" |";
        for (const LinkRecord& link : graph.Links) {
            QStringList ends{link.From.ToString(), link.To.ToString()};
            for (QString& end : ends)
                for (const BuiltGraph& other : built)
                    for (const NodeRecord& node : other.Nodes)
                        if (node.Id == end)
                            end = node.Kind == NodeKind::Graph ? QStringLiteral("graph ") + node.Name : node.Type.ToString();
            line += u' ' + ends.join(QStringLiteral("->"));
        }
        out << line;
    }
    return out;
}

} // namespace zov::cgif::test
