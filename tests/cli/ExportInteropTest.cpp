// A presentation saved here, opened and saved again by LibreOffice Impress, exports to the same
// CGIF text. Impress drops slide names (the graph name then comes from the title label) and
// keeps coordinates in 1/100 mm and fits auto-sized shapes to the text again with its own font
// metrics, keeping their centres, so node positions may move by up to a few points: the texts
// are compared exactly apart from the position numbers, which are compared within a tolerance.
#include "cgif_export/GraphSlides.h"
#include "host/pptx/PptxFile.h"
#include "support/TestPaths.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

namespace zov::test {
namespace {

// Impress 7.4 was seen to move tops by under 1 point and a pentagon's left by about 3 points.
constexpr double PositionTolerance = 5.0;

QByteArray runExport(const QString& pptx, const QString& runtimeDir, int& exitCode) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir);
    process.setProcessEnvironment(env);
    process.start(programPath(), {QStringLiteral("export"), pptx, QStringLiteral("-o"), QStringLiteral("-")});
    exitCode = -1;
    if (!process.waitForFinished(120000))
        return {};
    exitCode = process.exitCode();
    return process.readAllStandardOutput();
}

// The text with every position comment's numbers replaced by "#", and the numbers themselves.
QString withoutPositions(const QString& text, std::vector<double>& numbers) {
    static const QRegularExpression position(QStringLiteral(";(-?[0-9.E+-]+)@(-?[0-9.E+-]+);\r\n"));
    QString shape;
    qsizetype from = 0;
    for (const QRegularExpressionMatch& m : position.globalMatch(text)) {
        shape += text.mid(from, m.capturedStart() - from) + QStringLiteral(";#@#;\r\n");
        numbers.push_back(m.captured(1).toDouble());
        numbers.push_back(m.captured(2).toDouble());
        from = m.capturedEnd();
    }
    return shape + text.mid(from);
}

TEST(ExportInteropTest, InteropPresentationSavedByImpressExportsTheSameText) {
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty())
        GTEST_SKIP() << "LibreOffice (soffice) is not installed";
    QTemporaryDir dir;
    QTemporaryDir runtimeDir;
    ASSERT_TRUE(dir.isValid() && runtimeDir.isValid());

    GraphSlides g;
    g.addSlide(QStringLiteral("G1"));
    const host::Shape cat = g.conceptNode(QStringLiteral("x1/QKXBAMEW"), QStringLiteral("Cat"), 90, 36);
    const host::Shape on = g.relation(QStringLiteral("RONRONRO"), QStringLiteral("On"), 216, 144);
    g.arc(cat, on);
    const host::Shape mat = g.conceptNode(QStringLiteral("/PLMOKNIJ"), QStringLiteral("Mat:\"a mat\""), 360, 36);
    g.arc(on, mat);
    const host::Shape plus = g.actor(QStringLiteral("PLUSPLUS"), QStringLiteral("Plus"), 216, 288);
    g.arc(cat, plus);
    const host::Shape sum = g.conceptNode(QStringLiteral("s/SUMSUMSU"), QStringLiteral("Number"), 396, 360);
    g.arc(plus, sum);
    g.comment(QStringLiteral("NOTENOTE"), QStringLiteral("a remark & <more>"), 36, 432);
    g.addSlide(QStringLiteral("p1"), "Proposition");
    const host::Shape neg = g.relation(QStringLiteral("NEGNEGNE"), QStringLiteral("Neg"), 108, 108);
    g.arc(neg, g.pentagon(QStringLiteral("G1/PROPPROP"), QStringLiteral("Proposition (G1)"), 18, 18));
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

    int ourExit = -1, theirExit = -1;
    const QString ourText = QString::fromUtf8(runExport(ours, runtimeDir.path(), ourExit));
    const QString theirText = QString::fromUtf8(runExport(theirs, runtimeDir.path(), theirExit));
    EXPECT_EQ(ourExit, 0);
    EXPECT_EQ(theirExit, 0);
    ASSERT_TRUE(ourText.startsWith(QStringLiteral(";%Graph*G1%;\r\n[Cat*x1;90@36;\r\n]"))) << ourText.toStdString();

    std::vector<double> ourNumbers, theirNumbers;
    EXPECT_EQ(withoutPositions(theirText, theirNumbers).toStdString(), withoutPositions(ourText, ourNumbers).toStdString());
    ASSERT_EQ(theirNumbers.size(), ourNumbers.size());
    for (std::size_t i = 0; i < ourNumbers.size(); ++i)
        EXPECT_NEAR(theirNumbers[i], ourNumbers[i], PositionTolerance) << "position number " << i;
}

} // namespace
} // namespace zov::test
