// Saving under a name of another kind of presentation (.pptx, .pptm, .ppsx, .potx, ...) makes
// the package that kind, and a deck with macros is never saved without them
// (tests/cases/pptx/package-kinds.case).
#include "PptxTestSupport.h"

#include "host/pptx/PackageKind.h"
#include "host/pptx/PptxError.h"
#include "support/CaseFiles.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace zov::host;
using namespace zov::test;

namespace {

// The content type the [Content_Types].xml of `parts` gives the main part.
QString mainPartType(const PartMap& parts)
{
    const auto types = parts.find(QStringLiteral("[Content_Types].xml"));
    if (types == parts.end())
        return QStringLiteral("(no content types)");
    static const QRegularExpression override(QStringLiteral("<Override PartName=\"/ppt/presentation.xml\" ContentType=\"([^\"]*)\""));
    const QRegularExpressionMatch match = override.match(QString::fromUtf8(types->second));
    return match.hasMatch() ? match.captured(1) : QStringLiteral("(no override)");
}

// The minimal deck whose main part is of the kind `kind` names, with a VBA project when `vba`.
QByteArray deckOfKind(const QString& kind, bool vba)
{
    PartMap parts = minimalDeck(QString());
    QByteArray& types = parts[QStringLiteral("[Content_Types].xml")];
    const QString type = pptx::mainContentType(pptx::kindOfFileName(QLatin1Char('.') + kind).value());
    types.replace(mainPartType(parts).toUtf8(), type.toUtf8());
    if (vba) {
        types.replace("</Types>", "<Default Extension=\"bin\" ContentType=\"application/vnd.ms-office.vbaProject\"/></Types>");
        parts[QStringLiteral("ppt/_rels/presentation.xml.rels")].replace(
            "</Relationships>", "<Relationship Id=\"rIdVba\" Type=\"http://schemas.microsoft.com/office/2006/relationships/vbaProject\" "
                                "Target=\"vbaProject.bin\"/></Relationships>");
        parts[QStringLiteral("ppt/vbaProject.bin")] = QByteArray("\xD0\xCF\x11\xE0 a VBA project");
    }
    return zipParts(parts);
}

} // namespace

TEST(PackageKind, SavingUnderANameOfAnotherKind)
{
    static const QRegularExpression form(QStringLiteral("^(\\S+)(?: package (\\w+))?( vba)? -> (\\S+)$"));
    for (const Case& c : LoadCases(QStringLiteral("pptx"), QStringLiteral("package-kinds.case"))) {
        const QRegularExpressionMatch m = form.match(c.input);
        ASSERT_TRUE(m.hasMatch()) << c.where();
        const QString from = m.captured(1);
        const QString kind = m.captured(2).isEmpty() ? QFileInfo(from).suffix().toLower() : m.captured(2);
        QTemporaryDir dir;
        const QString before = QDir::currentPath();
        QDir::setCurrent(dir.path());
        QFile file(from);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << c.where();
        file.write(deckOfKind(kind, !m.captured(3).isEmpty()));
        file.close();
        Application app;
        const Presentation deck = openPresentation(app, from);
        const QString to = m.captured(4);
        QString got;
        try {
            savePresentation(deck, to);
            got = mainPartType(unzipParts(readFile(to)));
            // What was written opens again.
            EXPECT_EQ(openPresentation(app, to).Slides().Count(), 1) << c.where();
        } catch (const PptxError& e) {
            got = QString(e.message()).remove(dir.path() + QLatin1Char('/'));
            EXPECT_FALSE(QFile::exists(to)) << c.where() << ": a refused save wrote the file";
        }
        EXPECT_EQ(got.toStdString(), Lines(c.expected)) << c.where();
        QDir::setCurrent(before);
    }
}
