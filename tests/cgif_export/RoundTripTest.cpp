// Export output reads back as the same graphs: CGIF is imported into a presentation, exported,
// and imported again into a second presentation; both presentations must hold the same slides
// with the same node shapes (kind, text, position), the same arcs and the same coreference.
// Ids and made-up coreference labels differ between the two and are not compared. The same
// machinery carries the graphs round through ISO CGIF: exported with --dialect iso, read back
// by the ISO reader.
#include "cgif/export/ExportCommand.h"
#include "cgif/export/ReadBack.h"
#include "cgif/import/GraphBuilder.h"
#include "cgif/import/ImportCommand.h"
#include "cgif/reader/CgifReader.h"
#include "cgif_export/GraphSlides.h"
#include "support/CaseFiles.h"
#include "drawing/NameParts.h"
#include "drawing/NodeId.h"
#include "platform/fake/FakeMessageBoxes.h"
#include "support/TestPaths.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QSet>
#include <gtest/gtest.h>
#include <cstdio>
#include <random>
#include <string>

namespace zov::cgif::exporter {
namespace {

using test::MemoryStream;

// One import into a new presentation.
class Imported {
public:
    explicit Imported(const QString& cgif, std::uint32_t seed = 7,
                      dialect::DialectChoice dialect = dialect::DialectChoice::Draft2001)
        : ids_(seed) {
        app_.Presentations().Add();
        SlideBuilder builder(app_, settings_, messages_);
        CgifReader reader(ids_, messages_, builder);
        const auto in = platform::StringTextStream(cgif);
        // Each writer's text is read back in its own dialect (the 2001 one by default).
        outcome_ = importer::ImportCgif(reader, *in, messages_, {}, dialect);
    }

    // Read to the end with no message but "File read".
    bool readWhole() const {
        return outcome_ == importer::ImportOutcome::Read && messages_.shown().size() == 1;
    }
    host::Presentation presentation() const { return app_.ActivePresentation(); }
    QString messages() const {
        QStringList lines;
        for (const platform::Message& m : messages_.shown())
            lines << m.title + QStringLiteral(": ") + m.text;
        return lines.join(u'\n');
    }

    QString exported(ExportDialect dialect = ExportDialect::Cgif2001, ExportOutcome* outcome = nullptr) {
        MemoryStream out;
        platform::FakeMessageBoxes exportMessages;
        const ExportOutcome done = ExportGraphs(presentation(), out, exportMessages, dialect);
        if (outcome != nullptr)
            *outcome = done;
        return out.text();
    }

private:
    host::Application app_;
    drawing::DrawingSettings settings_;
    platform::FakeMessageBoxes messages_;
    drawing::NodeIdGenerator ids_;
    importer::ImportOutcome outcome_ = importer::ImportOutcome::FileNotOpened;
};

QString textOf(const host::Shape& shape) {
    return shape.HasTextFrame() ? shape.TextFrame().TextRange().Text() : QString();
}

// A node as the comparison sees it: its kind, text and position, never its id.
QString nodeKey(const host::Shape& shape) {
    return QStringLiteral("%1 \"%2\" @%3,%4")
        .arg(shape.AutoShapeType())
        .arg(textOf(shape))
        .arg(static_cast<double>(shape.Left()))
        .arg(static_cast<double>(shape.Top()));
}

// Everything a presentation's graphs consist of, in an order that does not depend on the order
// the shapes were drawn in: per slide its name, its sorted nodes and arcs, and the groups of
// nodes that share a coreference label (groups of one say nothing and are left out). Without
// `emptyComments`, comments without text are left out (ISO CGIF draws none).
QStringList describe(const host::Presentation& presentation, bool emptyComments = true) {
    QStringList out;
    const host::Slides slides = presentation.Slides();
    for (int s = 1; s <= slides.Count(); ++s) {
        const host::Slide slide = slides.Item(s);
        out << QStringLiteral("slide ") + slide.Name();
        QStringList nodes, arcs;
        QMap<QString, QStringList> groups;
        const host::Shapes shapes = slide.Shapes();
        for (int k = 1; k <= shapes.Count(); ++k) {
            const host::Shape shape = shapes.Item(k);
            if (shape.Connector()) {
                const host::ConnectorFormatView glue = shape.ConnectorFormat();
                arcs << QStringLiteral("  arc ") + nodeKey(glue.BeginConnectedShape()) + QStringLiteral(" -> ") +
                            nodeKey(glue.EndConnectedShape());
                continue;
            }
            if (!emptyComments && shape.AutoShapeType() == drawing::CommentShapeType && textOf(shape).isEmpty())
                continue;
            nodes << QStringLiteral("  ") + nodeKey(shape);
            const QString label = drawing::LabelPart(shape.Name());
            if (!label.isEmpty() && shape.AutoShapeType() != drawing::TitleLabelShapeType)
                groups[label] << nodeKey(shape);
        }
        nodes.sort();
        arcs.sort();
        QStringList sharing;
        for (QStringList group : groups) {
            if (group.size() < 2)
                continue;
            group.sort();
            sharing << QStringLiteral("  same ") + group.join(QStringLiteral(" = "));
        }
        sharing.sort();
        out << nodes << arcs << sharing;
    }
    return out;
}

// The files listed in tests/cases/roundtrip/NAME ("FILE | REASON" lines): they must read back
// whole, but their slides are known to differ.
QSet<QString> knownDifferences(const QString& name) {
    QFile file(test::sourceDir() + QStringLiteral("/tests/cases/roundtrip/") + name);
    QSet<QString> names;
    if (!file.open(QIODevice::ReadOnly))
        return names;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n'))
        if (!line.startsWith(u'#') && line.contains(u'|'))
            names.insert(line.section(u'|', 0, 0).trimmed());
    return names;
}

// `partly`: the input may stop at an error; the graphs drawn before it must come back.
// `through`: the dialect of the export and of the second import (through ISO CGIF, the input is
// read in its own dialect).
void expectRoundTrip(const QString& cgif, const std::string& what, bool partly = false,
                     ExportDialect through = ExportDialect::Cgif2001) {
    const bool iso = through == ExportDialect::Iso;
    static const QSet<QString> differing = knownDifferences(QStringLiteral("iso-differences.txt"));
    Imported first(cgif, 7, iso ? dialect::DialectChoice::Auto : dialect::DialectChoice::Draft2001);
    if (partly && first.presentation().Slides().Count() == 0)
        return;
    if (!partly) {
        ASSERT_TRUE(first.readWhole()) << what << ": " << first.messages().toStdString();
    }
    const QString text = first.exported(through);
    Imported second(text, 99, iso ? dialect::DialectChoice::Iso : dialect::DialectChoice::Draft2001);
    ASSERT_TRUE(second.readWhole()) << what << ": " << second.messages().toStdString() << "\n"
                                    << text.toStdString();
    if (iso && differing.contains(QString::fromStdString(what)))
        return;
    EXPECT_EQ(describe(second.presentation(), !iso).join(u'\n').toStdString(),
              describe(first.presentation(), !iso).join(u'\n').toStdString())
        << what << "\n" << text.toStdString();
    // Written again from the second presentation, the 2001 text is the same but for ids (the
    // ISO text may write the same graph in another order).
    if (!iso) {
        EXPECT_EQ(second.exported(through).size(), text.size()) << what;
    }
}

// Random graphs in CGIF: concepts (with and without referents and labels), relations and actors
// joining concepts of the same graph, stand-alone comments, positions in the title form on
// every node. Each label is defined once in the whole file, so no graph refers to another.
class GraphGenerator {
public:
    explicit GraphGenerator(std::uint32_t seed) : random_(seed) {}

    QString file() {
        QStringList graphs;
        for (int g = pick(1, 3); g > 0; --g)
            graphs << graph();
        return graphs.join(QStringLiteral("\r\n.\r\n"));
    }

private:
    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    bool chance(int percent) { return pick(1, 100) <= percent; }
    // A position whose numbers a single-precision float holds exactly (quarters of a point).
    QString position() { return QStringLiteral(";%%1@%2%;").arg(pick(1, 2800) / 4.0).arg(pick(1, 2000) / 4.0); }

    // A concept in full; it gets a defining label when it may be referred to again.
    QString newConcept(QStringList& labels) {
        static const char* const types[] = {"Cat", "Mat", "Person", "Number", "City", "Go", "Situation", "T_1"};
        QString text = QStringLiteral("[") + QString::fromLatin1(types[pick(0, 7)]);
        const bool referent = chance(40);
        if (referent)
            text += (chance(50) ? QStringLiteral(": '%1'") : QStringLiteral(": %1")).arg(pick(1, 99));
        if (chance(60)) {
            labels << QStringLiteral("L%1").arg(++labelCount_);
            text += QStringLiteral(" *") + labels.last();
        }
        // A title position after a referent would go to the referent's empty graph node.
        return text + (referent ? QString() : QStringLiteral(" ") + position()) + QStringLiteral("]");
    }

    // An argument: a new concept, or a label defined by an earlier element of this graph. (A
    // label defined in the same argument list and used right after it is not found by the
    // reader, which starts its search one node before the last.)
    QString arguments(int count, QStringList& labels, const QStringList& earlier) {
        QString text;
        for (int a = 0; a < count; ++a) {
            if (!earlier.isEmpty() && chance(50))
                text += QStringLiteral(" ?") + earlier[pick(0, static_cast<int>(earlier.size()) - 1)];
            else
                text += QStringLiteral(" ") + newConcept(labels);
        }
        return text;
    }

    QString graph() {
        QStringList labels;
        QStringList elements;
        for (int e = pick(1, 10); e > 0; --e) {
            const QStringList earlier = labels;
            const int kind = pick(0, 4);
            if (kind < 2) {
                elements << newConcept(labels);
            } else if (kind < 4) {
                const QString name = chance(50) ? QStringLiteral("(On") : QStringLiteral("(Agnt");
                const QString args = arguments(pick(1, 3), labels, earlier);
                elements << name + args + QStringLiteral(" ") + position() + QStringLiteral(")");
            } else if (chance(30)) {
                elements << QStringLiteral(";note %1;").arg(pick(1, 999));
            } else {
                QString actor = chance(50) ? QStringLiteral("<Plus") : QStringLiteral("<Sqr");
                actor += arguments(pick(0, 2), labels, earlier) + QStringLiteral(" |");
                actor += arguments(pick(1, 2), labels, earlier);
                elements << actor + QStringLiteral(" ") + position().chopped(1) + QStringLiteral(">");
            }
        }
        return elements.join(u' ');
    }

    std::mt19937 random_;
    int labelCount_ = 0;
};

TEST(RoundTripTest, GeneratedGraphs) {
    for (std::uint32_t seed = 1; seed <= 60; ++seed) {
        GraphGenerator generator(seed);
        const QString cgif = generator.file();
        for (const ExportDialect through : {ExportDialect::Cgif2001, ExportDialect::Iso})
            expectRoundTrip(cgif, "seed " + std::to_string(seed) + ": " + cgif.toStdString(), false, through);
        if (::testing::Test::HasFailure())
            break;
    }
}

// Carried round: every example and corpus file, nested graphs, negations and coreference
// between slides included; of a file that stops at an error, the graphs drawn before it.
TEST(RoundTripTest, ExampleAndCorpusFilesThatImportCleanly) {
    for (const ExportDialect through : {ExportDialect::Cgif2001, ExportDialect::Iso}) {
        for (const QString& folder : {test::sourceDir() + QStringLiteral("/examples"), test::cgifCorpusDir()}) {
            const QDir dir(folder);
            QStringList tried;
            for (const QString& name : dir.entryList({QStringLiteral("*.cgf")}, QDir::Files, QDir::Name)) {
                QFile file(dir.filePath(name));
                const QString cgif = file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
                Imported probe(cgif, 7,
                               through == ExportDialect::Iso ? dialect::DialectChoice::Auto
                                                             : dialect::DialectChoice::Draft2001);
                tried << name;
                expectRoundTrip(cgif, name.toStdString(), !probe.readWhole(), through);
            }
            std::printf("round trip through %s of %lld files in %s: %s\n",
                        through == ExportDialect::Iso ? "ISO CGIF" : "2001 CGIF", static_cast<long long>(tried.size()),
                        qPrintable(folder), qPrintable(tried.join(u' ')));
            // The corpus may be missing; the examples are not.
            EXPECT_GE(tried.size(), dir.exists() ? 3 : 0) << folder.toStdString();
        }
    }
}

// The path users take: import in the dialect the text is detected as, export in the default
// 2001 dialect, import again detecting the dialect. The export either says the text will not
// read back (a graph read from ISO CGIF may hold names and numbers the 2001 dialect has no
// syntax for), or the slides come back the same.
TEST(RoundTripTest, TheDefaultExportReadsBackOrSaysItWillNot) {
    static const QSet<QString> differing = knownDifferences(QStringLiteral("default-path-differences.txt"));
    int warned = 0;
    for (const QString& folder : {test::sourceDir() + QStringLiteral("/examples"), test::cgifCorpusDir()}) {
        const QDir dir(folder);
        for (const QString& name : dir.entryList({QStringLiteral("*.cgf")}, QDir::Files, QDir::Name)) {
            QFile file(dir.filePath(name));
            ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
            Imported first(QString::fromUtf8(file.readAll()), 7, dialect::DialectChoice::Auto);
            if (first.presentation().Slides().Count() == 0)
                continue;
            ExportOutcome outcome = ExportOutcome::FileNotWritten;
            const QString text = first.exported(ExportDialect::Cgif2001, &outcome);
            if (outcome == ExportOutcome::WrittenNotReadBack) {
                ++warned;
                continue;
            }
            ASSERT_EQ(outcome, ExportOutcome::Written) << name.toStdString();
            Imported second(text, 99, dialect::DialectChoice::Auto);
            ASSERT_TRUE(second.readWhole()) << name.toStdString() << ": " << second.messages().toStdString();
            if (differing.contains(name))
                continue;
            EXPECT_EQ(describe(second.presentation()).join(u'\n').toStdString(),
                      describe(first.presentation()).join(u'\n').toStdString())
                << name.toStdString() << "\n" << text.toStdString();
        }
    }
    // The corpus holds ISO CGIF with unquoted names: those exports must have said so.
    if (QDir(test::cgifCorpusDir()).exists()) {
        EXPECT_GE(warned, 5);
    }
}

// The cases of tests/cases/roundtrip: each file says in its first line ("# ...") what it
// checks; the rest is CGIF that must import whole and come back the same.
TEST(RoundTripTest, CaseFiles) {
    const QDir dir(test::sourceDir() + QStringLiteral("/tests/cases/roundtrip"));
    const QStringList names = dir.entryList({QStringLiteral("*.cgf")}, QDir::Files, QDir::Name);
    EXPECT_GE(names.size(), 13);
    for (const QString& name : names) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
        const QString text = QString::fromUtf8(file.readAll());
        ASSERT_TRUE(text.startsWith(u'#')) << name.toStdString() << ": the first line says what it checks";
        for (const ExportDialect through : {ExportDialect::Cgif2001, ExportDialect::Iso})
            expectRoundTrip(text.section(u'\n', 1), name.toStdString(), false, through);
    }
}

// What becomes of the slides of `g` carried round through `dialect`, as the case files say it:
// "same", "warned" (the export said they will not read back), "comes back as " and the nodes that
// came back otherwise, or "unreadable"; `detail` gets the text written and what went wrong.
QString carriedRound(test::GraphSlides& g, ExportDialect dialect, QString& detail) {
    MemoryStream out;
    platform::FakeMessageBoxes exportMessages;
    const ExportOutcome done = ExportGraphs(g.presentation(), out, exportMessages, dialect);
    detail = out.text();
    if (done == ExportOutcome::WrittenNotReadBack)
        return QStringLiteral("warned");
    if (done != ExportOutcome::Written)
        return QStringLiteral("not written");
    const bool iso = dialect == ExportDialect::Iso;
    Imported back(out.text(), 99, iso ? dialect::DialectChoice::Iso : dialect::DialectChoice::Draft2001);
    if (!back.readWhole()) {
        detail += u'\n' + back.messages();
        return QStringLiteral("unreadable");
    }
    const QStringList before = describe(g.presentation(), !iso);
    const QStringList after = describe(back.presentation(), !iso);
    if (before == after)
        return QStringLiteral("same");
    detail += QStringLiteral("\nbefore:\n") + before.join(u'\n') + QStringLiteral("\nafter:\n") + after.join(u'\n');
    // The nodes that came back otherwise, as they came back.
    QStringList changed;
    for (const QString& node : after)
        if (!before.contains(node) && !node.startsWith(QLatin1String("  arc")) && !node.startsWith(QLatin1String("  same")))
            changed << node.trimmed();
    return QStringLiteral("comes back as ") + changed.join(QStringLiteral(", "));
}

// The cases of tests/cases/cgif_export/edited-labels.case: node texts no CGIF import would make,
// as editing a shape's text in place leaves them.
TEST(RoundTripTest, EditedLabels) {
    const std::vector<test::Case> cases = test::LoadCases(QStringLiteral("cgif_export"), QStringLiteral("edited-labels.case"));
    EXPECT_GE(cases.size(), 5u);
    for (const test::Case& c : cases) {
        test::GraphSlides g;
        g.drawSlides(c.input);
        QStringList outcome;
        QString details;
        for (const ExportDialect through : {ExportDialect::Iso, ExportDialect::Cgif2001}) {
            QString detail;
            outcome << (through == ExportDialect::Iso ? QStringLiteral("iso: ") : QStringLiteral("2001: ")) +
                           carriedRound(g, through, detail);
            details += detail + u'\n';
        }
        EXPECT_EQ(test::Lines(outcome), test::Lines(c.expected)) << c.where() << "\n" << details.toStdString();
    }
}

// A title comment the 2001 reader fails on while it reads it (which its callers, not the
// reader, show) is a reason the text will not read back, not a failure of the export.
TEST(RoundTripTest, ATitleTheReaderFailsOnIsAReadBackProblem) {
    const std::optional<ReadBackFailure> problem = ReadBackProblem(QStringLiteral(";%Type*x;y%;\r\n[Cat]\r\n"));
    ASSERT_TRUE(problem.has_value());
    EXPECT_EQ(problem->stop.value_or(QString()).toStdString(), "Input past end of file: no closing % found");
}

} // namespace
} // namespace zov::cgif::exporter
