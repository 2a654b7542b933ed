// Real files from PowerPoint, LibreOffice, Google Slides and others: each opens (or, for the
// files that are broken on purpose, fails with one clear error), and saving it again changes
// nothing that was not changed.
#include "PptxTestSupport.h"

#include "host/Slide.h"
#include "support/TestPaths.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace zov::host;
using namespace zov::test;

namespace {

// Files that are not presentations we can read: damaged archives, an encrypted (OLE2) file,
// and Strict Office Open XML.
const QStringList Refused{
    "apache-poi__clusterfuzz-testcase-minimized-POIXSLFFuzzer-6254434927378432.pptx",
    "apache-poi__clusterfuzz-testcase-minimized-POIXSLFFuzzer-5463285576892416.pptx",
    "apache-poi__clusterfuzz-testcase-minimized-POIXSLFFuzzer-5471515212382208.pptx",
    "apache-poi__clusterfuzz-testcase-minimized-POIFuzzer-5205835528404992.pptx",
    "apache-poi__Divino_Revelado.pptx",
    "apache-tika__testPPT_protected_passtika.pptx",
    "openxml-sdk__2D_Area-O12-PPT-Charts.pptx",
    "openxml-sdk__sldsz-Slide_Size-type-b4iso.pptx",
    "openxml-sdk__HC_viewPr-PresentationViewProperties-showComments-1.pptx",
    "openxml-sdk__main_bodyPr_rtlCol.pptx",
};

QStringList corpusFiles()
{
    QStringList files = QDir(pptxCorpusDir()).entryList({QStringLiteral("*.pptx")}, QDir::Files, QDir::Name);
    for (QString& f : files)
        f = pptxCorpusDir() + QLatin1Char('/') + f;
    return files;
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class Corpus : public ::testing::Test {
protected:
    void SetUp() override
    {
        files = corpusFiles();
        if (files.isEmpty())
            GTEST_SKIP() << "no .pptx corpus in " << pptxCorpusDir().toStdString();
    }
    QStringList files;
    Application app;
};

} // namespace

TEST_F(Corpus, EveryFileOpensOrFailsWithOneClearError)
{
    int opened = 0, refused = 0;
    for (const QString& path : files) {
        const QString name = QFileInfo(path).fileName();
        SCOPED_TRACE(name.toStdString());
        try {
            const Presentation p = openPresentation(app, path);
            EXPECT_FALSE(Refused.contains(name)) << "opened a file that should be refused";
            EXPECT_EQ(p.FullName(), path);
            EXPECT_TRUE(p.Saved());
            ++opened;
        } catch (const PptxError& e) {
            EXPECT_TRUE(Refused.contains(name)) << e.message().toStdString();
            EXPECT_TRUE(e.message().startsWith(QStringLiteral("Cannot open \"%1\": ").arg(path))) << e.message().toStdString();
            EXPECT_FALSE(e.reason().isEmpty());
            EXPECT_EQ(e.file(), path);
            ++refused;
        }
    }
    EXPECT_EQ(refused, Refused.size());
    EXPECT_EQ(opened + refused, files.size());
    EXPECT_EQ(app.Presentations().Count(), opened);
}

TEST_F(Corpus, StrictAndEncryptedFilesSayWhy)
{
    for (const auto& [file, words] : {std::pair{"openxml-sdk__main_bodyPr_rtlCol.pptx", "Strict"},
                                      std::pair{"apache-tika__testPPT_protected_passtika.pptx", "OLE2"},
                                      std::pair{"apache-poi__Divino_Revelado.pptx", "truncated zip archive"}}) {
        const QString path = pptxCorpusDir() + QLatin1Char('/') + QLatin1String(file);
        if (!QFile::exists(path))
            continue;
        try {
            readPresentation(readFile(path), path);
            ADD_FAILURE() << file << " opened";
        } catch (const PptxError& e) {
            EXPECT_TRUE(e.reason().contains(QLatin1String(words))) << e.message().toStdString();
        }
    }
}

TEST_F(Corpus, SavingAgainKeepsEveryPartAndEveryUntouchedElement)
{
    for (const QString& path : files) {
        const QString name = QFileInfo(path).fileName();
        if (Refused.contains(name))
            continue;
        SCOPED_TRACE(name.toStdString());
        const QByteArray original = readFile(path);
        const PartMap before = unzipParts(original);
        const Presentation p = readPresentation(original, path);
        const QByteArray saved = presentationBytes(p);
        const PartMap after = unzipParts(saved);

        // The same parts; each byte for byte unless it is a slide whose stale connectors the
        // reader repaired, and then every other element of it is still there unchanged.
        QSet<QString> repaired;
        for (int i = 1; i <= p.Slides().Count(); ++i) {
            const SlideData& slide = p.Slides().Item(i).data();
            if (!slide.modified)
                continue;
            repaired.insert(slide.partName);
            const QByteArray& written = after.at(slide.partName);
            for (const auto& shape : slide.shapes) {
                if (!shape->modified) {
                    EXPECT_TRUE(written.contains(shape->sourceXml)) << shape->name.toStdString();
                }
            }
        }
        ASSERT_EQ(before.size(), after.size());
        for (const auto& [part, data] : before) {
            ASSERT_TRUE(after.count(part)) << part.toStdString();
            if (!repaired.contains(part)) {
                EXPECT_TRUE(after.at(part) == data) << part.toStdString() << " changed";
            }
        }

        // And it reads back the same.
        const Presentation q = readPresentation(saved, name);
        ASSERT_EQ(q.Slides().Count(), p.Slides().Count());
        for (int i = 1; i <= p.Slides().Count(); ++i) {
            const Slide a = p.Slides().Item(i), b = q.Slides().Item(i);
            EXPECT_EQ(a.Name(), b.Name());
            ASSERT_EQ(a.Shapes().Count(), b.Shapes().Count());
            for (int k = 1; k <= a.Shapes().Count(); ++k) {
                EXPECT_EQ(a.Shapes().Item(k).Name(), b.Shapes().Item(k).Name());
                EXPECT_EQ(a.Shapes().Item(k).AutoShapeType(), b.Shapes().Item(k).AutoShapeType());
            }
        }
    }
}

TEST_F(Corpus, EditedFilesKeepWhatWasNotEdited)
{
    // Rename every slide and move every first shape: only slide parts and presentation-level
    // parts we rewrite may differ; pictures, charts, notes, layouts, masters and themes do not.
    for (const QString& path : files) {
        const QString name = QFileInfo(path).fileName();
        if (Refused.contains(name))
            continue;
        SCOPED_TRACE(name.toStdString());
        const QByteArray original = readFile(path);
        const PartMap before = unzipParts(original);
        const Presentation p = readPresentation(original, path);
        QSet<QString> slideParts;
        for (int i = 1; i <= p.Slides().Count(); ++i) {
            Slide slide = p.Slides().Item(i);
            slideParts.insert(slide.data().partName);
            slide.SetName(QStringLiteral("graph %1").arg(i));
            if (slide.Shapes().Count() > 0) {
                Shape first = slide.Shapes().Item(1);
                first.SetTop(first.Top() + 5);
            }
        }
        const PartMap after = unzipParts(presentationBytes(p));
        ASSERT_EQ(before.size(), after.size());
        for (const auto& [part, data] : before) {
            if (!slideParts.contains(part)) {
                EXPECT_TRUE(after.at(part) == data) << part.toStdString() << " changed";
            }
        }
        const Presentation q = readPresentation(zipParts(after), name);
        for (int i = 1; i <= q.Slides().Count(); ++i) {
            EXPECT_EQ(q.Slides().Item(i).Name(), QStringLiteral("graph %1").arg(i));
            if (q.Slides().Item(i).Shapes().Count() == 0)
                continue;
            EXPECT_NEAR(q.Slides().Item(i).Shapes().Item(1).Top(), p.Slides().Item(i).Shapes().Item(1).Top(), 0.01);
        }
    }
}
