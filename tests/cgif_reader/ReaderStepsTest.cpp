// Runs the transcripts of tests/cases/cgif_reader/*.steps: calls on one reader, as the editor,
// the slide builder and the file loop make them (the steps are described in docs/testing.md).
#include "ReaderFixture.h"
#include "support/CaseFiles.h"
#include "support/Transcript.h"

#include <QFile>
#include <QTemporaryDir>

namespace zov::cgif::test {
namespace {

QString Flag(bool value) { return value ? QStringLiteral("true") : QStringLiteral("false"); }

class ReaderSteps : Reading {
public:
    void Step(const QString& step, QStringList& trace) {
        const QString verb = step.section(u' ', 0, 0), rest = step.section(u' ', 1);
        const std::size_t shownBefore = messages.shown().size();
        try {
            Run(verb, rest, trace);
        } catch (const ParseError& error) {
            trace << QStringLiteral("raised %1 %2").arg(error.number()).arg(error.message());
        }
        for (std::size_t i = shownBefore; i < messages.shown().size(); ++i) {
            EXPECT_EQ(messages.shown()[i].title, QStringLiteral("Error"));
            EXPECT_EQ(messages.shown()[i].icon, platform::MessageIcon::Critical);
            trace << QStringLiteral("shown: ") + messages.shown()[i].text;
        }
    }

private:
    void Run(const QString& verb, const QString& rest, QStringList& trace) {
        const bool option = rest.endsWith(QStringLiteral("default")) || rest.endsWith(QStringLiteral("optional"));
        if (verb == u"line") {
            reader.SetCurrentLine(rest);
            reader.SetAtEnd(false);
        } else if (verb == u"input" || verb == u"broken") {
            stream = std::make_unique<MemoryTextStream>(verb == u"input" ? rest : QString(), verb == u"broken");
            reader.SetInputStream(stream.get());
        } else if (verb == u"no") {
            reader.SetInputStream(nullptr);
            stream.reset();
        } else if (verb == u"token") {
            reader.SetToken(rest);
        } else if (verb == u"match") {
            Scanned(reader.MatchChar(rest.at(0), option), trace);
        } else if (verb == u"identifier") {
            Scanned(reader.ReadIdentifier(option), trace);
        } else if (verb == u"number") {
            Scanned(reader.ReadNumber(option), trace);
        } else if (verb == u"until") {
            Scanned(reader.ReadUntil(rest.at(0)), trace);
        } else if (verb == u"defining-label") {
            Scanned(reader.ReadDefiningLabel(option), trace);
        } else if (verb == u"quantifier") {
            Scanned(reader.ReadQuantifier(false), trace);
        } else if (verb == u"concept") {
            reader.SetCurrentLine(rest);
            reader.SetAtEnd(false);
            trace << Flag(reader.ReadConcept(false));
        } else if (verb == u"read") {
            sink.built.clear();
            sink.graphNode.clear();
            bool read = false;
            if (rest.startsWith(QStringLiteral("file "))) {
                QTemporaryDir dir;
                QFile file(dir.filePath(QStringLiteral("graph.cgf")));
                EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(rest.mid(5).toLatin1()) >= 0 && file.flush());
                read = reader.ReadCgifStream(*platform::OpenTextFile(file.fileName()));
            } else {
                const bool broken = rest.startsWith(QStringLiteral("broken "));
                MemoryTextStream text(broken ? rest.mid(7) : rest, broken);
                read = reader.ReadCgifStream(text);
            }
            trace << (read ? QStringLiteral("read") : QStringLiteral("stopped")) << DescribeGraphs(sink.built);
        } else if (verb == u"built") {
            for (std::size_t i = 0; i < sink.built.size(); ++i) {
                const BuiltGraph& g = sink.built[i];
                const NodeRecord& node = sink.graphNode.at(i);
                trace << QStringLiteral("%1 first node %2 first link %3 counter %4 number %5%6")
                             .arg(g.GraphName()).arg(g.FirstNodeIndex).arg(g.FirstLinkIndex).arg(g.GraphCounterAtBuild)
                             .arg(node.GraphNumber)
                             .arg(g.SlideName.section(u'/', 1) == node.Id ? QString() : QStringLiteral(" (not its graph node)"));
            }
        } else if (verb == u"tables") {
            const ReaderTables& t = reader.Tables();
            for (const auto& [name, nodes] : {std::pair{"node", &t.BoundArray}, std::pair{"kept", &t.AllBindings}})
                for (const NodeRecord& node : *nodes)
                    trace << QString::fromLatin1(name) + u' ' + NodeText(node) + (node.Id.IsEmpty() ? QStringLiteral(" (no id)") : QString());
            for (const LinkRecord& link : t.Links)
                trace << QStringLiteral("link %1->%2").arg(IndexOf(link.From), IndexOf(link.To));
            trace << QStringLiteral("contexts %1").arg(t.Contexts.size()) + (reader.AtEnd() ? QStringLiteral(" at end") : QString());
        } else if (verb == u"current") {
            trace << QStringLiteral("concept %1 relation %2 actor %3")
                         .arg(IndexOf(reader.CurrentConceptId()), IndexOf(reader.CurrentRelationId()), IndexOf(reader.CurrentActorId()));
        } else if (verb == u"lookup" || verb == u"external") {
            NodeRecord defining, graph;
            const QString label = rest.section(u' ', 0, 0), start = rest.section(u' ', 1);
            if (verb == u"lookup")
                reader.FindCurrentCoreference(label, start == u"top" ? UpperBound(reader.Tables().BoundArray) : start.toInt(), defining, graph);
            else
                reader.FindExternalCoreference(label, defining, graph);
            trace << NodeText(defining) + QStringLiteral(" in ") +
                         (graph.Id.IsEmpty() ? QStringLiteral("no graph") : graph.Id == defining.Id ? QStringLiteral("itself") : NodeText(graph));
        } else if (verb == u"find") {
            bool number = false;
            const int at = rest.toInt(&number);
            NodeRecord found;
            int index = -7;
            const bool ok = reader.FindNodeById(number ? reader.Tables().BoundArray.at(static_cast<std::size_t>(at)).Id : NodeId(rest), found, index);
            trace << Flag(ok) + (ok ? QStringLiteral(" %1 %2").arg(index).arg(NodeText(found)) : QStringLiteral(" index %1").arg(index));
        } else if (verb == u"palette") {
            reader.SetPaletteTextSource([text = rest] { return text; });
        } else if (verb == u"counter") {
            reader.SetGraphCounter(rest.toInt());
        } else if (verb == u"taken") {
            reader.SetGraphNameTaken([names = rest.split(u' ')](const QString& name) { return names.contains(name); });
        } else if (verb == u"sink") {
            failure = rest.section(u' ', 1).toStdString();
            sink.failWith = failure.empty() ? nullptr : failure.c_str();
        } else if (verb == u"clear") {
            reader.ClearReaderTables();
        } else if (verb == u"add") {
            NodeRecord lone;
            lone.Name = rest.section(u' ', 1, 1);
            lone.Kind = NodeKind::Concept;
            lone.Id = NodeId(rest.section(u' ', 2, 2));
            reader.AddNode(lone);
            reader.Tables().AllBindings.push_back(lone);
        } else if (verb == u"one") {
            ReaderTables& t = reader.Tables();
            t.Contexts.assign(1, ContextRecord{static_cast<int>(t.BoundArray.size()), NodeKind::Graph, UpperBound(t.Links),
                                               UpperBound(t.PendingArgs), {}, {}});
        } else {
            ADD_FAILURE() << "unknown step " << verb.toStdString();
        }
    }
    // "RESULT [TOKEN] [REST OF LINE]", "at end" when found exhausted, "read N" lines taken.
    void Scanned(bool result, QStringList& trace) const {
        QString line = Flag(result) + QStringLiteral(" [%1] [%2]").arg(reader.Token(), reader.CurrentLine());
        if (reader.AtEnd())
            line += QStringLiteral(" at end");
        if (stream && stream->LinesRead() > 0)
            line += QStringLiteral(" read %1").arg(stream->LinesRead());
        trace << line;
    }
    // The index in the node table of the node with `id`, "-" for none, "gone" when not there.
    QString IndexOf(const NodeId& id) const {
        const NodeTable& nodes = reader.Tables().BoundArray;
        for (std::size_t i = 0; i < nodes.size(); ++i)
            if (!id.IsEmpty() && nodes[i].Id == id)
                return QString::number(i);
        return id.IsEmpty() ? QStringLiteral("-") : QStringLiteral("gone");
    }

    std::unique_ptr<MemoryTextStream> stream;
    std::string failure;
};

TEST(ReaderSteps, EachTranscriptPlaysAsWritten) {
    for (const zov::test::Case& c : zov::test::LoadCases(QStringLiteral("cgif_reader"), QStringLiteral(".steps")))
        EXPECT_EQ(zov::test::Lines(zov::test::PlayTranscript<ReaderSteps>(c)), zov::test::Lines(c.expected)) << c.where();
}

} // namespace
} // namespace zov::cgif::test
