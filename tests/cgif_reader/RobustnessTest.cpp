// Damaged and generated input: no input crashes or hangs the reader, only ParseError escapes it,
// it stays usable afterwards, and its lookup indexes give exactly what the plain scans give.
#include "ReaderFixture.h"
#include "cgif/iso/IsoReader.h"
#include "support/TestPaths.h"

#include <QDir>
#include <QFile>
#include <climits>
#include <random>

namespace zov::cgif::test {
namespace {

QString Describe(const NodeRecord& n) {
    return QStringLiteral("%1|%2|%3|%4|%5|%6|%7|%8")
        .arg(n.Name, n.Type, QString::number(n.Kind), n.Referent, n.Id.ToString(), QString::number(n.GraphNumber),
             QString::number(n.X), QString::number(n.Y));
}

// Records each graph, and answers every lookup the slide builder may make while it is drawn.
class LookupSink : public RecordingSink {
public:
    void BuildGraphSlide(CgifReader& reader, const QString& slideName, QStringView graphType,
                         int firstLinkIndex, int firstNodeIndex) override {
        RecordingSink::BuildGraphSlide(reader, slideName, graphType, firstLinkIndex, firstNodeIndex);
        const ReaderTables& tables = reader.Tables();
        const int top = UpperBound(tables.BoundArray);
        const auto lookup = [&](const QString& what, const auto& find) {
            NodeRecord defining;
            NodeRecord graph;
            try {
                find(defining, graph);
                lookups << what + u' ' + defining.Id.ToString() + u' ' + graph.Id.ToString();
            } catch (const ParseError& error) {
                lookups << error.message();
            }
        };
        for (int i = 0; i < 23; ++i) {
            const QString label = i < 12 ? QStringLiteral("x%1").arg(i) : QStringLiteral("G%1").arg(i - 11);
            for (const int start : {top, top / 2, firstNodeIndex - 1})
                lookup(label + u'@' + QString::number(start),
                       [&](NodeRecord& d, NodeRecord& g) { reader.FindCurrentCoreference(label, start, d, g); });
            lookup(label + QStringLiteral(" kept"), [&](NodeRecord& d, NodeRecord& g) { reader.FindExternalCoreference(label, d, g); });
        }
        // The ids of the graph being drawn, as the builder looks up its link ends.
        for (std::size_t i = static_cast<std::size_t>(std::max(firstNodeIndex - 1, 0)); i < tables.BoundArray.size(); ++i) {
            NodeRecord found;
            int index = -1;
            reader.FindNodeById(tables.BoundArray[i].Id, found, index);
            lookups << tables.BoundArray[i].Id.ToString() + u' ' + QString::number(index);
            // While the index says no id was held twice, a node is the first with its id.
            if (reader.IndexedIdsUnique() && !tables.BoundArray[i].Id.IsEmpty()) {
                EXPECT_EQ(index, static_cast<int>(i)) << tables.BoundArray[i].Id.ToString().toStdString();
            }
        }
    }
    QStringList lookups;
};

// One reader over scripted boxes and a recording sink.
struct ReaderRun {
    explicit ReaderRun(int indexThreshold) : reader(ids, messages, sink) {
        reader.SetLookupIndexThreshold(indexThreshold);
    }
    // Everything one reading produced: result, messages, graphs built, tables, lookups. `iso`:
    // read as ISO CGIF (by the ISO reader, which fills the same tables).
    QStringList Read(const QString& text, bool iso = false) {
        messages.clear();
        sink.built.clear();
        sink.lookups.clear();
        QStringList trace;
        MemoryTextStream stream(text);
        try {
            const bool whole = iso ? iso::ReadIsoCgifStream(reader, stream) : reader.ReadCgifStream(stream);
            trace << (whole ? QStringLiteral("read") : QStringLiteral("stopped"));
        } catch (const ParseError& error) {
            trace << QStringLiteral("escaped ") + error.message();
        } catch (const std::exception& error) {
            ADD_FAILURE() << "escaped: " << error.what();
            trace << QStringLiteral("threw");
        }
        for (const platform::Message& message : messages.shown())
            trace << message.text;
        for (const BuiltGraph& graph : sink.built) {
            trace << QStringLiteral("%1 %2 %3 %4").arg(graph.SlideName, graph.GraphType).arg(graph.FirstLinkIndex).arg(graph.FirstNodeIndex);
            for (const NodeRecord& node : graph.Nodes)
                trace << Describe(node);
            for (const LinkRecord& link : graph.Links)
                trace << link.From.ToString() + QStringLiteral("->") + link.To.ToString();
        }
        const ReaderTables& t = reader.Tables();
        for (const auto* nodes : {&t.BoundArray, &t.AllBindings})
            for (const NodeRecord& node : *nodes)
                trace << Describe(node);
        for (const LinkRecord& link : t.Links)
            trace << link.From.ToString() + QStringLiteral("->") + link.To.ToString();
        return trace << sink.lookups;
    }
    drawing::NodeIdGenerator ids{99};
    platform::FakeMessageBoxes messages;
    LookupSink sink;
    CgifReader reader;
};

// Reads `text` with indexed and with scanning lookups; both must agree, and each reader must
// read a plain graph correctly afterwards.
void CheckOne(const QString& text, const std::string& what, bool iso = false) {
    ReaderRun indexed(0);
    ReaderRun scanning(INT_MAX);
    EXPECT_EQ(indexed.Read(text, iso), scanning.Read(text, iso)) << what;
    EXPECT_EQ(indexed.Read(QStringLiteral("(On [Cat] [Mat])")).front(), QStringLiteral("read")) << what;
    EXPECT_EQ(indexed.sink.built.size(), 1u) << what;
    EXPECT_EQ(indexed.sink.built.empty() ? 0 : indexed.sink.built[0].Links.size(), 2u) << what;
}

// Graphs with labels defined and used across nested graphs, so that lookups hit the current
// graph, the enclosing graphs and the graphs already handed on. Relation arguments only use
// labels that are defined where the argument lookup reaches, so most graphs read whole.
class GraphGenerator {
public:
    // `iso`: no node comments, which the ISO dialect does not take where the 2001 dialect does.
    explicit GraphGenerator(unsigned seed, bool iso = false) : random_(seed), iso_(iso) {}
    QString File(int graphs, int elements) {
        QString text;
        for (int g = 0; g < graphs; ++g) {
            visible_.clear();
            text += g > 0 ? QStringLiteral(" \r\n. \r\n") : QString();
            text += Pick(2) == 0 ? QStringLiteral(";%Graph*T%1%;\r\n").arg(g) : QString();
            for (int e = 0; e < elements; ++e)
                text += Element(0);
        }
        return text;
    }

private:
    int Pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random_); }
    QString Label() { return QStringLiteral("x%1").arg(Pick(12)); }
    QString Defined(int depth) {
        const QString label = Label();
        if (depth == 0)
            visible_.push_back(label);
        return label;
    }
    QString Position() {
        if (Pick(3) != 0)
            return QString();
        return iso_ ? QString() : QStringLiteral(";%%1@%2% note;").arg(Pick(500)).arg(Pick(400));
    }
    // Every part is generated in text order, so that a label is defined before it is used.
    QString Concept(int depth) {
        QString text = QStringLiteral("[T%1").arg(Pick(5));
        switch (Pick(6)) {
        case 0: text += QStringLiteral(" *") + Defined(depth) + Position(); break;
        case 1: text += QStringLiteral(": ?") + Label() + Position(); break;
        case 2: text += QStringLiteral(": *") + Defined(depth) + QStringLiteral(" 'n%1'").arg(Pick(9)); break;
        case 3:
            if (depth < 3) { // not an actor first: "<" right after ":" opens a sequence
                text += QStringLiteral(": ") + Concept(depth + 1) + u' ' + Element(depth + 1);
                break;
            }
            [[fallthrough]];
        case 4: text += QStringLiteral(": @every ?") + Label() + QStringLiteral(" ?") + Label(); break;
        default: text += Position(); break;
        }
        return text + u']';
    }
    QString Argument(int depth) {
        if (visible_.empty() || Pick(2) == 0)
            return Concept(depth);
        return QStringLiteral("?") + visible_[static_cast<std::size_t>(Pick(static_cast<int>(visible_.size())))];
    }
    QString Element(int depth) {
        switch (Pick(depth < 3 ? 6 : 4)) {
        case 0:
        case 3: return Concept(depth) + u' ';
        case 1: {
            QString text = QStringLiteral("(R%1 ").arg(Pick(3)) + Argument(depth);
            text += Argument(depth);
            return text + Position() + QStringLiteral(")\r\n");
        }
        case 2: {
            QString text = QStringLiteral("<A ") + Argument(depth);
            return text + QStringLiteral(" | ") + Argument(depth) + u'>';
        }
        default: {
            const QString label = Label();
            QString text = QStringLiteral("~[ [T%1 *").arg(Pick(5)) + label + QStringLiteral("] (R ?") + label + u' ';
            text += Concept(depth + 1) + QStringLiteral(") ");
            return text + Element(depth + 1) + QStringLiteral("]\r\n");
        }
        }
    }
    std::mt19937 random_;
    bool iso_;
    std::vector<QString> visible_; // labels of the top level of the current graph
};

TEST(Robustness, GeneratedGraphsReadTheSameWithAndWithoutLookupIndexes) {
    int whole = 0;
    int coreferent = 0;
    for (unsigned seed = 1; seed <= 40; ++seed) {
        const QString text = GraphGenerator(seed).File(1 + static_cast<int>(seed % 3), 30);
        CheckOne(text, "seed " + std::to_string(seed));
        ReaderRun run(0);
        whole += run.Read(text).front() == QStringLiteral("read") && run.messages.shown().empty() ? 1 : 0;
        for (const BuiltGraph& graph : run.sink.built)
            coreferent += graph.Count(NodeKind::CoreferentConcept);
    }
    // The generated graphs exercise the lookups: they read whole and bind across graphs.
    EXPECT_GE(whole, 30);
    EXPECT_GE(coreferent, 40);
}

// The ISO reader changes the tables through the reader, so that its indexes stay in step: a
// reading and the lookups of the sink give the same with and without them.
TEST(Robustness, GeneratedIsoGraphsReadTheSameWithAndWithoutLookupIndexes) {
    int whole = 0;
    int coreferent = 0;
    int nested = 0;
    for (unsigned seed = 1; seed <= 40; ++seed) {
        const QString text = GraphGenerator(seed, true).File(1 + static_cast<int>(seed % 3), 30);
        CheckOne(text, "iso seed " + std::to_string(seed), true);
        ReaderRun run(0);
        whole += run.Read(text, true).front() == QStringLiteral("read") && run.messages.shown().empty() ? 1 : 0;
        nested += static_cast<int>(run.sink.built.size());
        for (const BuiltGraph& graph : run.sink.built)
            coreferent += graph.Count(NodeKind::CoreferentConcept);
    }
    // The graphs exercise the lookups: they read whole, hand nested graphs on and bind labels.
    EXPECT_GE(whole, 30);
    EXPECT_GE(nested, 100);
    EXPECT_GE(coreferent, 40);
}

TEST(Robustness, TruncatedAndMutatedCorpusFilesNeitherCrashNorHang) {
    const QDir dir(zov::test::cgifCorpusDir());
    if (!dir.exists())
        GTEST_SKIP() << "no CGIF corpus in " << dir.path().toStdString();
    QStringList texts;
    for (const QString& name : dir.entryList({QStringLiteral("*.cgf")}, QDir::Files, QDir::Name))
        if (QFile file(dir.filePath(name)); file.open(QIODevice::ReadOnly))
            texts << platform::DecodeTextBytes(file.readAll());
    texts << GraphGenerator(7).File(2, 25);
    const QString specials = QStringLiteral("[]()<>;%\"'~?*@{}|.:#, \t\r\n");
    std::mt19937 random(2024);
    int runs = 0;
    for (const QString& text : texts) {
        // Cut at a spread of places, and damage single characters.
        const qsizetype step = std::max<qsizetype>(1, text.size() / 12);
        for (qsizetype cut = 0; cut < text.size(); cut += step)
            CheckOne(text.left(cut), "cut at " + std::to_string(cut)), ++runs;
        for (int m = 0; m < 12 && !text.isEmpty(); ++m) {
            QString damaged = text;
            const auto at = std::uniform_int_distribution<qsizetype>(0, text.size() - 1)(random);
            const QChar with = specials[std::uniform_int_distribution<qsizetype>(0, specials.size() - 1)(random)];
            switch (m % 3) {
            case 0: damaged[at] = with; break;
            case 1: damaged.insert(at, with); break;
            default: damaged.remove(at, 1); break;
            }
            CheckOne(damaged, "damage " + std::to_string(m) + " at " + std::to_string(at)), ++runs;
        }
    }
    EXPECT_GT(runs, 500);
}

TEST(Robustness, RandomCharacterSoupNeitherCrashesNorHangs) {
    const QString alphabet = QStringLiteral("[]()<>;%\"'~?*@{}|.:#,AbZ_09 \t\r\n");
    std::mt19937 random(77);
    for (int i = 0; i < 300; ++i) {
        QString soup;
        const int length = std::uniform_int_distribution<int>(0, 200)(random);
        for (int c = 0; c < length; ++c)
            soup += alphabet[std::uniform_int_distribution<qsizetype>(0, alphabet.size() - 1)(random)];
        CheckOne(soup, "soup " + std::to_string(i));
    }
}

// Lines handed out as views of one buffer that each read writes over, as a stream may: a view is
// valid only until the next read.
class OverwritingLines : public platform::TextStream {
public:
    explicit OverwritingLines(QStringList lines) : lines_(std::move(lines)) {}
    QString ReadLine() override { return ReadLineView().toString(); }
    QStringView ReadLineView() override {
        const QString line = lines_.value(next_++);
        buffer_.fill(u'#');
        buffer_.replace(0, line.size(), line);
        return QStringView(buffer_).left(line.size());
    }
    bool AtEndOfStream() const override { return next_ >= lines_.size(); }
    void Write(const QString&) override {}
    void WriteLine(const QString&) override {}
    void Close() override {}

private:
    QStringList lines_;
    qsizetype next_ = 0;
    QString buffer_ = QString(64, u'#');
};

TEST(Robustness, NoLineIsKeptAsAViewPastTheStreamsNextRead) {
    // A line of a tab alone ends the reading; what it left unread is looked for on the lines
    // after it, and the line the reading stopped on is kept as it was.
    ReaderRun run(48);
    OverwritingLines stream({QStringLiteral("[Cat]"), QStringLiteral("\t"), QStringLiteral("left over")});
    ASSERT_TRUE(run.reader.ReadCgifStream(stream));
    EXPECT_EQ(run.reader.UnreadText(), QStringLiteral("\t\nleft over"));
    EXPECT_EQ(run.reader.CurrentLine(), QStringLiteral("\t"));
}

TEST(Robustness, LongLinesAndManyCommentsOnOneLineStayWellBehaved) {
    // One line of 20,000 concepts, each with a node comment; and one unclosed comment at the end.
    QString line;
    for (int i = 0; i < 20000; ++i)
        line += QStringLiteral("[C") + QString::number(i % 7) + QStringLiteral(" ;%1@2% c;]");
    ReaderRun run(48);
    EXPECT_EQ(run.Read(line).front(), QStringLiteral("read"));
    ASSERT_EQ(run.sink.built.size(), 1u);
    EXPECT_EQ(run.sink.built[0].Nodes.size(), 40000u);
    EXPECT_EQ(run.Read(line + QStringLiteral(";never closed")).front(), QStringLiteral("stopped"));
}

TEST(Robustness, DeepNestingStopsWithAnErrorInsteadOfExhaustingTheStack) {
    ReaderRun run(48);
    const int depth = CgifReader::MaxNestingDepth - 1;
    EXPECT_EQ(run.Read(QStringLiteral("~[").repeated(depth) + QStringLiteral("(On [Cat] [Mat])") + QStringLiteral("]").repeated(depth)).front(),
              QStringLiteral("read"));
    EXPECT_EQ(run.sink.built.size(), static_cast<std::size_t>(CgifReader::MaxNestingDepth));
    for (const QString& tooDeep : {QStringLiteral("~[").repeated(100000) + QStringLiteral("(On [Cat] [Mat])"),
                                   QStringLiteral("[A: ").repeated(100000), QStringLiteral("~[").repeated(CgifReader::MaxNestingDepth + 1)}) {
        const QStringList trace = run.Read(tooDeep);
        EXPECT_EQ(trace.front(), QStringLiteral("stopped"));
        EXPECT_TRUE(trace.value(1).startsWith(QStringLiteral("Graphs nested too deeply (at "))) << tooDeep.left(20).toStdString();
    }
}

} // namespace
} // namespace zov::cgif::test
