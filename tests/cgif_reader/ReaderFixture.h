#pragma once
// Shared pieces of the reader tests: a text stream over a string that counts the lines taken
// (lines end at CR LF, LF or a lone CR, as the platform's text files do), a sink that records
// every graph handed to it, and a fixture holding one reader with seeded ids and scripted
// message boxes.
#include "cgif/reader/CgifReader.h"
#include "drawing/NodeId.h"
#include "platform/TextStream.h"
#include "platform/fake/FakeMessageBoxes.h"

#include <QFile>
#include <QStringList>
#include <gtest/gtest.h>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <vector>

// Readable failure output for Qt strings.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace zov::cgif::test {

// The lines of `text`: a line ends at CR LF, LF or CR; a line end at the very end of the text
// does not start another line, so "" has no lines and "\n" one empty line.
inline QStringList SplitLines(const QString& text) {
    QStringList lines;
    qsizetype start = 0;
    qsizetype i = 0;
    while (i < text.size()) {
        if (text[i] == u'\r' || text[i] == u'\n') {
            lines.append(text.mid(start, i - start));
            if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            start = i + 1;
        }
        ++i;
    }
    if (start < text.size())
        lines.append(text.mid(start));
    return lines;
}

class MemoryTextStream : public platform::TextStream {
public:
    explicit MemoryTextStream(const QString& text) : lines_(SplitLines(text)) {}
    QString ReadLine() override { return next_ < lines_.size() ? lines_[next_++] : QString(); }
    bool AtEndOfStream() const override { return next_ >= lines_.size(); }
    void Write(const QString&) override { throw std::logic_error("read-only stream"); }
    void WriteLine(const QString&) override { throw std::logic_error("read-only stream"); }
    void Close() override {}
    qsizetype LinesRead() const { return next_; }

private:
    QStringList lines_;
    qsizetype next_ = 0;
};

// Gives its lines, then fails on every further read as a broken device would.
class FailingTextStream : public platform::TextStream {
public:
    explicit FailingTextStream(const QString& text) : lines_(SplitLines(text)) {}
    QString ReadLine() override {
        if (next_ >= lines_.size())
            throw platform::FileError(QStringLiteral("device failed"));
        return lines_[next_++];
    }
    bool AtEndOfStream() const override { return false; }
    void Write(const QString&) override {}
    void WriteLine(const QString&) override {}
    void Close() override {}

private:
    QStringList lines_;
    qsizetype next_ = 0;
};

// Text of a file as the platform reads it (UTF-8, else Windows-1252).
inline QString ReadFileText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return platform::DecodeTextBytes(file.readAll());
}

// One graph as handed to the sink, with copies of the tail of the tables that belongs to it.
struct BuiltGraph {
    QString SlideName;
    QString GraphType;
    int FirstLinkIndex = 0;
    int FirstNodeIndex = 0;
    std::vector<NodeRecord> Nodes;
    std::vector<LinkRecord> Links;
    int GraphCounterAtBuild = 0;

    QString GraphName() const { return SlideName.section(u'/', 0, 0); }
    // The first node of the given type (concept, relation or actor type, or comment text).
    const NodeRecord* Node(const QString& type) const {
        for (const NodeRecord& node : Nodes)
            if (node.Type == type)
                return &node;
        return nullptr;
    }
    int Count(std::int16_t kind) const {
        int count = 0;
        for (const NodeRecord& node : Nodes)
            count += node.Kind == kind ? 1 : 0;
        return count;
    }
    // Links written as "From->To" with the node types in place of the ids.
    QStringList LinkTypes(const std::vector<NodeRecord>& extra = {}) const {
        auto typeOf = [&](const QString& id) {
            for (const auto* table : {&Nodes, &extra})
                for (const NodeRecord& node : *table)
                    if (node.Id == id)
                        return node.Kind == NodeKind::Graph ? QStringLiteral("graph ") + node.Name : node.Type;
            return QStringLiteral("?") + id;
        };
        QStringList out;
        for (const LinkRecord& link : Links)
            out << typeOf(link.From) + QStringLiteral("->") + typeOf(link.To);
        return out;
    }
};

class RecordingSink : public GraphSink {
public:
    void BuildGraphSlide(CgifReader& reader, const QString& slideName, const QString& graphType,
                         int firstLinkIndex, int firstNodeIndex) override {
        BuiltGraph graph{slideName, graphType, firstLinkIndex, firstNodeIndex, {}, {}, reader.GraphCounter()};
        const ReaderTables& tables = reader.Tables();
        for (std::size_t i = static_cast<std::size_t>(std::max(firstNodeIndex, 0)); i < tables.BoundArray.size(); ++i)
            graph.Nodes.push_back(tables.BoundArray[i]);
        for (std::size_t i = static_cast<std::size_t>(std::max(firstLinkIndex, 0)); i < tables.Links.size(); ++i)
            graph.Links.push_back(tables.Links[i]);
        // The graph node itself sits just before the first node.
        if (firstNodeIndex >= 1 && firstNodeIndex - 1 < static_cast<int>(tables.BoundArray.size()))
            graphNode.push_back(tables.BoundArray[static_cast<std::size_t>(firstNodeIndex - 1)]);
        built.push_back(std::move(graph));
        if (failWith != nullptr)
            throw std::runtime_error(failWith);
    }
    std::vector<BuiltGraph> built;
    std::vector<NodeRecord> graphNode; // the graph node of each build, in order
    const char* failWith = nullptr;    // when set, every build throws this text after recording
};

class ReaderTest : public ::testing::Test {
protected:
    drawing::NodeIdGenerator ids{12345};
    platform::FakeMessageBoxes messages;
    RecordingSink sink;
    CgifReader reader{ids, messages, sink};

    // Reads `text` through the platform's in-memory text stream.
    bool Read(const QString& text) {
        const std::unique_ptr<platform::TextStream> stream = platform::StringTextStream(text);
        return reader.ReadCgifStream(*stream);
    }
    // The texts of the boxes shown so far; each must have had the title "Error" and the
    // critical icon.
    QStringList Errors() const {
        QStringList texts;
        for (const platform::Message& message : messages.shown()) {
            EXPECT_EQ(message.title, QStringLiteral("Error"));
            EXPECT_EQ(message.icon, platform::MessageIcon::Critical);
            texts << message.text;
        }
        return texts;
    }
    const std::vector<NodeRecord>& Nodes() const { return reader.Tables().BoundArray; }
    const std::vector<LinkRecord>& Links() const { return reader.Tables().Links; }
    // Reads `text` as the editor does: as the current line, no input stream.
    bool ParseConcept(const QString& text) {
        reader.SetCurrentLine(text);
        reader.SetAtEnd(false);
        return reader.ReadConcept(false);
    }
    // The message of the error reading `text` shows (the one box), "" when none was shown.
    QString ErrorOf(const QString& text) {
        messages.clear();
        const bool read = Read(text);
        const QStringList errors = Errors();
        EXPECT_FALSE(read) << text.toStdString();
        EXPECT_LE(errors.size(), 1);
        return errors.isEmpty() ? QString() : errors.front();
    }
};

inline QString Q(const char* utf8) { return QString::fromUtf8(utf8); }

} // namespace zov::cgif::test
