// Real files from PowerPoint, LibreOffice, Google Slides and others: each opens (or, for the
// files that are broken on purpose, fails with one clear error), saving it again changes
// nothing, and editing it changes only what was edited and keeps valid slides valid.
#include "PptxTestSupport.h"

#include "host/Slide.h"
#include "support/CaseFiles.h"
#include "support/TestPaths.h"

#include <QFileInfo>
#include <QSet>
#include <gtest/gtest.h>

using namespace zov::host;
using namespace zov::test;

namespace {

// The corpus files refused on purpose, with their reasons (tests/cases/pptx/corpus-refusals.case).
std::map<QString, Case> refusedFiles()
{
    std::map<QString, Case> refused;
    for (const Case& c : LoadCases(QStringLiteral("pptx"), QStringLiteral("corpus-refusals.case")))
        refused[c.input] = c;
    return refused;
}

class Corpus : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const QString& path : corpusFiles())
            if (!refused.count(QFileInfo(path).fileName()))
                readable << path;
        if (readable.isEmpty())
            GTEST_SKIP() << "no .pptx corpus in " << pptxCorpusDir().toStdString();
    }
    const std::map<QString, Case> refused = refusedFiles();
    QStringList readable;
    Application app;
};

} // namespace

TEST_F(Corpus, EveryFileOpensOrFailsWithOneClearError)
{
    int refusals = 0;
    for (const QString& path : corpusFiles()) {
        const QString name = QFileInfo(path).fileName();
        SCOPED_TRACE(name.toStdString());
        try {
            const Presentation p = openPresentation(app, path);
            EXPECT_FALSE(refused.count(name)) << "opened a file that should be refused";
            EXPECT_EQ(p.FullName(), path);
            EXPECT_TRUE(p.Saved());
        } catch (const PptxError& e) {
            ASSERT_TRUE(refused.count(name)) << e.message().toStdString();
            EXPECT_TRUE(e.message().startsWith(QStringLiteral("Cannot open \"%1\": ").arg(path))) << e.message().toStdString();
            EXPECT_EQ(e.reason().toStdString(), Lines(refused.at(name).expected)) << refused.at(name).where();
            EXPECT_EQ(e.file(), path);
            ++refusals;
        }
    }
    EXPECT_EQ(refusals, static_cast<int>(refused.size()));
    EXPECT_EQ(app.Presentations().Count(), readable.size());
}

TEST_F(Corpus, SavingAgainChangesNothingAndEditsChangeOnlyWhatWasEdited)
{
    // Saved unchanged, every part is the same byte for byte, except a slide whose stale
    // connectors the reader repaired, which still holds each of its untouched elements as read.
    // Then every slide renamed, every shape renamed and moved down a point, new text where it
    // has text: only slide parts differ (pictures, charts, notes, layouts, masters and themes
    // do not), the names and places read back, and a slide that validated before still validates.
    PartMap slidesBefore, slidesAfter;
    for (const QString& path : readable) {
        const QString name = QFileInfo(path).fileName();
        SCOPED_TRACE(name.toStdString());
        const QByteArray original = readFile(path);
        const PartMap before = unzipParts(original);
        const Presentation p = readPresentation(original, path);
        const PartMap unchanged = unzipParts(presentationBytes(p));
        ASSERT_EQ(before.size(), unchanged.size());
        QSet<QString> slideParts;
        for (int i = 1; i <= p.Slides().Count(); ++i) {
            const SlideData& slide = p.Slides().Item(i).data();
            slideParts.insert(slide.partName);
            if (!slide.modified) {
                EXPECT_TRUE(unchanged.at(slide.partName) == before.at(slide.partName)) << slide.partName.toStdString();
                continue;
            }
            for (const auto& shape : slide.shapes) {
                if (!shape->modified) {
                    EXPECT_TRUE(unchanged.at(slide.partName).contains(shape->sourceXml)) << shape->name.toStdString();
                }
            }
        }
        for (int i = 1; i <= p.Slides().Count(); ++i) {
            Slide slide = p.Slides().Item(i);
            slide.SetName(QStringLiteral("graph %1").arg(i));
            for (int k = 1; k <= slide.Shapes().Count(); ++k) {
                Shape s = slide.Shapes().Item(k);
                s.SetName(s.Name() + QStringLiteral(" (edited)"));
                s.SetTop(s.Top() + 1);
                if (!s.Connector() && s.HasTextFrame()) {
                    s.TextFrame().TextRange().SetText(QStringLiteral("edited\rtext"));
                    s.TextFrame().TextRange().Font().SetSize(11);
                }
            }
        }
        const PartMap after = unzipParts(presentationBytes(p));
        ASSERT_EQ(before.size(), after.size());
        for (const auto& [part, data] : before) {
            if (!slideParts.contains(part)) {
                EXPECT_TRUE(after.at(part) == data) << part.toStdString() << " changed";
            }
        }
        for (const QString& part : slideParts) {
            slidesBefore[name + u'/' + part] = unchanged.at(part);
            slidesAfter[name + u'/' + part] = after.at(part);
        }
        const Presentation q = readPresentation(zipParts(after), name);
        ASSERT_EQ(q.Slides().Count(), p.Slides().Count());
        for (int i = 1; i <= q.Slides().Count(); ++i) {
            const Slide a = p.Slides().Item(i), b = q.Slides().Item(i);
            EXPECT_EQ(b.Name(), QStringLiteral("graph %1").arg(i));
            ASSERT_EQ(a.Shapes().Count(), b.Shapes().Count());
            for (int k = 1; k <= a.Shapes().Count(); ++k) {
                const Shape was = a.Shapes().Item(k), is = b.Shapes().Item(k);
                EXPECT_EQ(is.Name().toStdString(), was.Name().toStdString()) << "slide " << i;
                EXPECT_NEAR(is.Top(), was.Top(), 0.01) << was.Name().toStdString();
                EXPECT_EQ(is.AutoShapeType(), was.AutoShapeType());
            }
        }
    }
    if (!schemasAvailable())
        GTEST_SKIP() << "edits checked; validation left out: xmllint or the schemas in " << ooxmlDir().toStdString() << " are missing";
    QSet<QString> invalidBefore;
    for (const QString& line : schemaProblems(slidesBefore))
        invalidBefore.insert(line.left(line.indexOf(QLatin1String(".xml")) + 4));
    PartMap stillToCheck;
    for (const auto& [name, data] : slidesAfter)
        if (!invalidBefore.contains(name))
            stillToCheck[name] = data;
    EXPECT_GT(stillToCheck.size(), 50u);
    EXPECT_EQ(schemaProblems(stillToCheck), QStringList());
}
