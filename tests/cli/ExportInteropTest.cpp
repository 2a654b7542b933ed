// A presentation saved here, opened and saved again by LibreOffice Impress, exports to the same
// CGIF text. Impress drops slide names (the graph name then comes from the title label) and
// keeps coordinates in 1/100 mm and fits some auto-sized shapes to their text again with its own
// font metrics, so node positions may move: the texts are compared exactly apart from the
// position numbers, which are compared within a tolerance.
#include "ProgramTest.h"
#include "cgif_export/GraphSlides.h"

#include <QRegularExpression>
#include <QStandardPaths>
#include <QUrl>

namespace zov::test {
namespace {

// Impress 7.4 keeps node positions to a few hundredths of a point, except that it fits a
// pentagon's width again and keeps its centre, which moved its left by about 3 points.
constexpr double PositionTolerance = 0.1;
constexpr double PentagonLeftTolerance = 4.0;

struct Position {
    double left = 0, top = 0;
    bool pentagon = false; // written "[" type "?" label: a coreferent concept
};

// The text with every position comment's numbers replaced by "#", and the positions themselves.
QString withoutPositions(const QString& text, std::vector<Position>& positions) {
    static const QRegularExpression position(QStringLiteral(";(-?[0-9.E+-]+)@(-?[0-9.E+-]+);\r\n"));
    QString shape;
    qsizetype from = 0;
    for (const QRegularExpressionMatch& m : position.globalMatch(text)) {
        const QString before = text.left(m.capturedStart());
        const QString element = before.mid(before.lastIndexOf(u'['));
        const bool inConcept = before.lastIndexOf(u'[') > before.lastIndexOf(u']');
        positions.push_back({m.captured(1).toDouble(), m.captured(2).toDouble(), inConcept && element.contains(u'?')});
        shape += text.mid(from, m.capturedStart() - from) + QStringLiteral(";#@#;\r\n");
        from = m.capturedEnd();
    }
    return shape + text.mid(from);
}

using ExportInteropTest = ProgramTest;

TEST_F(ExportInteropTest, InteropPresentationSavedByImpressExportsTheSameText) {
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty())
        GTEST_SKIP() << "LibreOffice (soffice) is not installed";

    GraphSlides g;
    g.addSlide("G1");
    g.draw({"c|x1/QKXBAMEW|Cat|90|36", "r|RONRONRO|On|216|144", "Cat>On", "c|/PLMOKNIJ|Mat:\"a mat\"|360|36",
            "On>Mat:\"a mat\"", "a|PLUSPLUS|Plus|216|288", "Cat>Plus", "c|s/SUMSUMSU|Number|396|360", "Plus>Number",
            "n|NOTENOTE|a remark & <more>|36|432"});
    g.addSlide("p1", "Proposition");
    g.draw({"r|NEGNEGNE|Neg|108|108", "p|G1/PROPPROP|Proposition (G1)|18|18", "Neg>Proposition (G1)"});
    const QString ours = dir.filePath(QStringLiteral("graphs.pptx"));
    host::savePresentation(g.presentation(), ours);

    const QString outDir = dir.filePath(QStringLiteral("impress"));
    QProcess office;
    office.start(soffice, {QStringLiteral("-env:UserInstallation=") +
                               QUrl::fromLocalFile(dir.filePath(QStringLiteral("profile"))).toString(),
                           QStringLiteral("--headless"), QStringLiteral("--convert-to"), QStringLiteral("pptx"),
                           QStringLiteral("--outdir"), outDir, ours});
    ASSERT_TRUE(office.waitForFinished(240000)) << "LibreOffice did not finish";
    const QString theirs = outDir + QStringLiteral("/graphs.pptx");
    ASSERT_TRUE(QFile::exists(theirs)) << office.readAllStandardError().toStdString();

    const ProgramRun ourRun = zovedit({"export", ours, "-o", "-"});
    const ProgramRun theirRun = zovedit({"export", theirs, "-o", "-"});
    EXPECT_EQ(ourRun.exitCode, 0);
    EXPECT_EQ(theirRun.exitCode, 0);
    const QString ourText = QString::fromUtf8(ourRun.out);
    const QString theirText = QString::fromUtf8(theirRun.out);
    ASSERT_TRUE(ourText.startsWith(QStringLiteral(";%Graph*G1%;\r\n[Cat*x1;90@36;\r\n]"))) << ourText.toStdString();

    std::vector<Position> ourPositions, theirPositions;
    EXPECT_EQ(withoutPositions(theirText, theirPositions).toStdString(), withoutPositions(ourText, ourPositions).toStdString());
    ASSERT_EQ(theirPositions.size(), ourPositions.size());
    for (std::size_t i = 0; i < ourPositions.size(); ++i) {
        EXPECT_NEAR(theirPositions[i].left, ourPositions[i].left, ourPositions[i].pentagon ? PentagonLeftTolerance : PositionTolerance)
            << "left of position " << i;
        EXPECT_NEAR(theirPositions[i].top, ourPositions[i].top, PositionTolerance) << "top of position " << i;
    }
}

} // namespace
} // namespace zov::test
