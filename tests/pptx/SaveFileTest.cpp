// Opening and saving files: a failed save leaves the previous file as it was (the errors of
// opening and saving are cases in tests/cases/cli).
#include "PptxTestSupport.h"

#include "host/Slide.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace zov::host;
using namespace zov::test;

namespace {

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

QString errorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const PptxError& e) {
        return e.message();
    }
    return {};
}

} // namespace

TEST(SaveFile, AFailedSaveLeavesThePreviousFileAsItWas)
{
    // A package without any slide layout cannot take a new slide: the save fails, and the old
    // file stays whole with no temporary file left beside it.
    PartMap parts = minimalDeck(QString());
    parts[QStringLiteral("ppt/_rels/presentation.xml.rels")] =
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rId2\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/slide\" Target=\"slides/slide1.xml\"/>"
        "</Relationships>";
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("old.pptx"));
    const QByteArray old = zipParts(parts);
    writeFile(path, old);
    Application app;
    const Presentation p = openPresentation(app, path);
    p.Slides().Add(2, LayoutBlank);
    const QString message = errorOf([&] { savePresentation(p, path); });
    EXPECT_EQ(message, QStringLiteral("Cannot save \"%1\": the presentation has no slide layout to base new slides on").arg(path));
    EXPECT_TRUE(readFile(path) == old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("old.pptx")}) << "no temporary file left";
    EXPECT_FALSE(p.Saved());

    // Without the new slide it saves, and the saved file opens.
    p.Slides().Item(2).Delete();
    savePresentation(p, path);
    EXPECT_EQ(openPresentation(app, path).Slides().Count(), 1);
}
