// LibreOffice Impress and our files: it renders what we write, and what it writes back opens
// here with the same slides, names, types, texts, glue and positions. Each conversion runs in a
// private profile, in a process group of its own that is ended if it does not finish in time.
#include "../pptx/PptxTestSupport.h"

#include "host/Slide.h"
#include "host/pptx/SlideScan.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <unistd.h>

using namespace zov::host;
using namespace zov::test;

namespace {

constexpr int ConversionTimeoutMs = 180000;
const zov::host::pptx::TextDefaults pptxDefaults;

// Runs a program in its own process group; on timeout the whole group is killed.
bool run(const QString& program, const QStringList& arguments, QString* output = nullptr)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setChildProcessModifier([] { ::setsid(); });
    process.start(program, arguments);
    if (!process.waitForStarted(30000))
        return false;
    const bool finished = process.waitForFinished(ConversionTimeoutMs);
    if (!finished) {
        const qint64 pid = process.processId();
        if (pid > 0)
            ::kill(-static_cast<pid_t>(pid), SIGKILL);
        process.waitForFinished(10000);
    }
    if (output)
        *output = QString::fromUtf8(process.readAll());
    return finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

class Interop : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!sofficeAvailable())
            GTEST_SKIP() << "LibreOffice (soffice) is not installed";
        ASSERT_TRUE(dir.isValid());
        source = dir.filePath(QStringLiteral("graphs.pptx"));
        savePresentation(makeGraphDeck(app), source);
    }

    // Converts the source file with Impress; the path of the result, or empty.
    QString convert(const QString& format)
    {
        const QString outDir = dir.filePath(format);
        QDir().mkpath(outDir);
        QString log;
        const bool ok = run(QStringLiteral("soffice"),
                            {QStringLiteral("--headless"), QStringLiteral("--norestore"), QStringLiteral("--nolockcheck"),
                             QStringLiteral("-env:UserInstallation=file://") + dir.filePath(QStringLiteral("profile")),
                             QStringLiteral("--convert-to"), format, QStringLiteral("--outdir"), outDir, source},
                            &log);
        const QString result = outDir + QStringLiteral("/graphs.") + format;
        EXPECT_TRUE(ok) << log.toStdString();
        return QFile::exists(result) ? result : QString();
    }

    QTemporaryDir dir;
    Application app;
    QString source;
};

} // namespace

TEST_F(Interop, ImpressRendersEverySlide)
{
    const QString pdf = convert(QStringLiteral("pdf"));
    ASSERT_FALSE(pdf.isEmpty());
    if (QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty())
        GTEST_SKIP() << "pdfinfo (poppler-utils) is not installed";
    QString info;
    ASSERT_TRUE(run(QStringLiteral("pdfinfo"), {pdf}, &info)) << info.toStdString();
    const auto pages = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
    ASSERT_TRUE(pages.hasMatch()) << info.toStdString();
    EXPECT_EQ(pages.captured(1).toInt(), 2);
}

// A pentagon's and a callout's text of several words stays on its one line: Impress wraps the
// text of those two shapes, however wide, when the file marks them as fitting their text.
TEST_F(Interop, ImpressKeepsPentagonAndCalloutTextOnOneLine)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    Presentation deck = app.Presentations().Add();
    Slide slide = deck.Slides().Add(1, LayoutBlank);
    slide.SetName(QStringLiteral("G2"));
    const auto add = [&](int type, const QString& text, float top) {
        Shape shape = slide.Shapes().AddShape(type, 100, top, 100, 10);
        shape.TextFrame().TextRange().SetText(text);
        shape.TextFrame().TextRange().Font().SetName(QStringLiteral("Arial"));
        shape.TextFrame().TextRange().Font().SetSize(12);
        shape.TextFrame().SetAutoSize(AutoSizeShapeToFitText);
    };
    add(ShapePentagon, QStringLiteral("Dog(Student in G1)"), 100);
    add(ShapeRoundedRectangularCallout, QStringLiteral("There is no pink elephant in the room."), 300);
    savePresentation(deck, source);
    const QString pdf = convert(QStringLiteral("pdf"));
    ASSERT_FALSE(pdf.isEmpty());
    QString text;
    ASSERT_TRUE(run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")}, &text)) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Dog(Student in G1)"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("There is no pink elephant in the room."))) << text.toStdString();
}

TEST_F(Interop, WhatImpressWritesBackOpensWithTheSameGraphs)
{
    const QString back = convert(QStringLiteral("pptx"));
    ASSERT_FALSE(back.isEmpty());
    const Presentation ours = openPresentation(app, source);
    const Presentation theirs = openPresentation(app, back);
    const Presentation made = makeGraphDeck(app); // as drawn, before any file
    ASSERT_EQ(theirs.Slides().Count(), ours.Slides().Count());
    for (int i = 1; i <= ours.Slides().Count(); ++i) {
        const Slide a = ours.Slides().Item(i), b = theirs.Slides().Item(i);
        SCOPED_TRACE(a.Name().toStdString());
        EXPECT_EQ(b.Name(), a.Name()) << "the slide name comes back from the title label";
        ASSERT_EQ(b.Shapes().Count(), a.Shapes().Count());
        for (int k = 1; k <= a.Shapes().Count(); ++k) {
            const Shape x = a.Shapes().Item(k), y = b.Shapes().Item(k);
            SCOPED_TRACE(x.Name().toStdString());
            EXPECT_EQ(y.Name(), x.Name());
            EXPECT_EQ(y.AutoShapeType(), x.AutoShapeType());
            if (x.Connector()) {
                // Glued ends sit on the sites of the shapes as Impress sized them.
                ASSERT_TRUE(y.ConnectorFormat().BeginConnected());
                ASSERT_TRUE(y.ConnectorFormat().EndConnected());
                EXPECT_EQ(y.ConnectorFormat().BeginConnectedShape().Name(), x.ConnectorFormat().BeginConnectedShape().Name());
                EXPECT_EQ(y.ConnectorFormat().EndConnectedShape().Name(), x.ConnectorFormat().EndConnectedShape().Name());
                EXPECT_EQ(y.ConnectorFormat().BeginConnectionSite(), x.ConnectorFormat().BeginConnectionSite());
                EXPECT_EQ(y.ConnectorFormat().EndConnectionSite(), x.ConnectorFormat().EndConnectionSite());
                EXPECT_EQ(y.Line().EndArrowheadStyle(), ArrowheadTriangle);
                continue;
            }
            // Impress fits auto-sized shapes again with its own text metrics: it keeps the top
            // (the text is anchored there) and grows or shrinks the width about the centre.
            EXPECT_NEAR(y.Top(), x.Top(), 0.1);
            EXPECT_NEAR(y.Left() + y.Width() / 2, x.Left() + x.Width() / 2, 0.1);
            if (std::abs(y.Width() - x.Width()) < 0.2) {
                EXPECT_NEAR(y.Left(), x.Left(), 0.1);
            } else {
                RecordProperty(("refitted_" + x.Name()).toStdString(), QString::number(y.Width() - x.Width()).toStdString());
            }
            EXPECT_EQ(y.TextFrame().TextRange().Text(), x.TextFrame().TextRange().Text());
            // Shapes that fit their text still do once Impress has saved them (it writes a
            // pentagon's and a callout's back with noAutofit).
            EXPECT_EQ(y.TextFrame().AutoSize(), made.Slides().Item(i).Shapes().Item(k).TextFrame().AutoSize());
            EXPECT_EQ(y.TextFrame().TextRange().Font().Name(), x.TextFrame().TextRange().Font().Name());
            EXPECT_EQ(y.TextFrame().TextRange().Font().Size(), x.TextFrame().TextRange().Font().Size());
            EXPECT_EQ(y.Fill().Visible(), x.Fill().Visible());
            if (x.Fill().Visible()) {
                EXPECT_EQ(y.Fill().ForeColor().RGB(), x.Fill().ForeColor().RGB());
            }
        }
    }

    // Impress routes the connectors of the slide it lays out (the first) to its own glue
    // points: the ends it stored lie where this host puts those sites (on the shapes as Impress
    // sized them), except the home plate's top and bottom sites, which Impress puts at the
    // middle of the box.
    QFile file(back);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const Slide first = theirs.Slides().Item(1);
    const auto scan = zov::host::pptx::scanSlide(unzipParts(file.readAll()).at(first.data().partName), first.data().partName,
                                                 &pptxDefaults);
    ASSERT_EQ(static_cast<int>(scan.shapes.size()), first.Shapes().Count());
    for (int k = 1; k <= first.Shapes().Count(); ++k) {
        const Shape c = first.Shapes().Item(k);
        if (!c.Connector())
            continue;
        const ShapeData& stored = scan.shapes[static_cast<size_t>(k - 1)].parsed.data;
        const auto format = c.ConnectorFormat();
        auto expectOnSite = [&](const Shape& target, int site, QPointF end) {
            if (target.AutoShapeType() == ShapePentagon && (site == 1 || site == 3))
                return;
            const QPointF p = target.ConnectionSitePoint(site);
            EXPECT_NEAR(end.x(), p.x(), 0.1) << target.Name().toStdString() << " site " << site;
            EXPECT_NEAR(end.y(), p.y(), 0.1) << target.Name().toStdString() << " site " << site;
        };
        expectOnSite(format.BeginConnectedShape(), format.BeginConnectionSite(), stored.begin);
        expectOnSite(format.EndConnectedShape(), format.EndConnectionSite(), stored.end);
    }
}
