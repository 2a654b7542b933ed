// Files that are not presentations we can read end with one clear error naming the file and
// the reason, never a crash or a hang: not a zip, truncated, encrypted, Strict, missing parts,
// dangling relationships, zip bombs, entity expansion, absurd nesting, and damaged bytes.
#include "PptxTestSupport.h"

#include "host/Slide.h"
#include "host/pptx/PptxError.h"
#include "host/pptx/ZipArchive.h"
#include "support/CaseFiles.h"
#include "support/TestPaths.h"

#include <QFile>
#include <gtest/gtest.h>

#include <random>

using namespace zov::host;
using namespace zov::test;

namespace {

// The reason the bytes were refused; fails the test when they were read.
QString refusal(const QByteArray& bytes)
{
    try {
        readPresentation(bytes, QStringLiteral("broken.pptx"));
    } catch (const PptxError& e) {
        EXPECT_TRUE(e.message().startsWith(QStringLiteral("Cannot open \"broken.pptx\": "))) << e.message().toStdString();
        return e.reason();
    }
    ADD_FAILURE() << "the bytes were read as a presentation";
    return {};
}

void setLittleEndian32(QByteArray& bytes, qsizetype at, quint32 value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

// Rewrites the uncompressed size that the archive states for its entries.
void claimUncompressedSize(QByteArray& zip, quint32 size)
{
    for (qsizetype at = zip.indexOf("PK\x03\x04"); at >= 0; at = zip.indexOf("PK\x03\x04", at + 4))
        setLittleEndian32(zip, at + 22, size);
    for (qsizetype at = zip.indexOf("PK\x01\x02"); at >= 0; at = zip.indexOf("PK\x01\x02", at + 4))
        setLittleEndian32(zip, at + 24, size);
}

} // namespace

TEST(BrokenInput, EachDamagedDeckIsRefusedWithItsReason)
{
    for (const Case& c : LoadCases(QStringLiteral("pptx"), QStringLiteral("damaged-decks.case"))) {
        QString got = QStringLiteral("read");
        try {
            readPresentation(deckFromSteps(c.input), QStringLiteral("broken.pptx"));
        } catch (const PptxError& e) {
            EXPECT_TRUE(e.message().startsWith(QStringLiteral("Cannot open \"broken.pptx\": "))) << c.where();
            got = e.reason();
        }
        EXPECT_EQ(got.toStdString(), Lines(c.expected)) << c.where();
    }
    // Nesting too deep to write there.
    QByteArray deep = "<p:sld xmlns:p=\"http://schemas.openxmlformats.org/presentationml/2006/main\"><p:cSld><p:spTree>";
    deep += QByteArray("<p:grpSp>").repeated(100000);
    PartMap parts = minimalDeck(QString());
    parts[QStringLiteral("ppt/slides/slide1.xml")] = deep;
    EXPECT_TRUE(refusal(zipParts(parts)).contains(QLatin1String("nested deeper")));
}

TEST(BrokenInput, ArchivesBeyondTheLimits)
{
    // An entry of 8 MiB of zeros compresses to a few KiB: read with a 1 MiB limit it is refused
    // whether its stated size is honest or a lie, without inflating more than the limit.
    const QByteArray zeros(8 << 20, '\0');
    QByteArray bomb = zipParts(std::vector<std::pair<QString, QByteArray>>{{QStringLiteral("ppt/slides/slide1.xml"), zeros}});
    ASSERT_LT(bomb.size(), 64 << 10);
    zov::host::pptx::ZipLimits limits;
    limits.maxEntrySize = 1 << 20;
    limits.maxTotalSize = 2 << 20;
    EXPECT_THROW(zov::host::pptx::readZip(bomb, limits), PptxError);
    QByteArray lying = bomb;
    claimUncompressedSize(lying, 1000);
    try {
        zov::host::pptx::readZip(lying, limits);
        ADD_FAILURE() << "a lying entry was read whole";
    } catch (const PptxError& e) {
        EXPECT_TRUE(e.reason().contains(QLatin1String("size limit")) || e.reason().contains(QLatin1String("damaged"))) << e.reason().toStdString();
    }

    // Through the public call with its own limits: an entry that says it expands to 3 GiB.
    PartMap parts = minimalDeck(QString());
    parts[QStringLiteral("ppt/media/huge.bin")] = QByteArray(1 << 20, '\0');
    QByteArray huge = zipParts(parts);
    claimUncompressedSize(huge, 3u << 30);
    EXPECT_TRUE(refusal(huge).contains(QLatin1String("too large")));

    // More entries than the limit; and what reading would refuse, writing refuses too.
    std::vector<std::pair<QString, QByteArray>> many;
    for (int i = 0; i < 11; ++i)
        many.emplace_back(QStringLiteral("f/%1").arg(i), QByteArray("x"));
    zov::host::pptx::ZipLimits ten;
    ten.maxEntries = 10;
    try {
        zov::host::pptx::readZip(zipParts(many), ten);
        ADD_FAILURE() << "more entries than the limit were read";
    } catch (const PptxError& e) {
        EXPECT_TRUE(e.reason().contains(QLatin1String("too many entries"))) << e.reason().toStdString();
    }
    std::vector<std::pair<QString, const QByteArray*>> entries;
    for (const auto& [name, data] : many)
        entries.emplace_back(name, &data);
    try {
        zov::host::pptx::writeZip(entries, 6, ten);
        ADD_FAILURE() << "an archive reading refuses was written";
    } catch (const PptxError& e) {
        EXPECT_TRUE(e.reason().contains(QLatin1String("too large to be opened again"))) << e.reason().toStdString();
    }

    // The same part twice (names differing only in case are the same part).
    std::vector<std::pair<QString, QByteArray>> twice{{QStringLiteral("a.xml"), "<a/>"}, {QStringLiteral("A.XML"), "<b/>"}};
    EXPECT_TRUE(refusal(zipParts(twice)).contains(QLatin1String("twice")));
}

TEST(BrokenInput, DamagedBytesNeverCrashOrHang)
{
    // Mutations of real decks, both of the archive's bytes and of the XML inside it: every
    // attempt either reads a presentation (which then saves and reads again) or is refused.
    Application app;
    std::vector<PartMap> decks{minimalDeck(richShapes()), unzipParts(presentationBytes(makeGraphDeck(app)))};
    QFile connector(ooxmlDir() + QStringLiteral("/connector.pptx"));
    if (connector.open(QIODevice::ReadOnly))
        decks.push_back(unzipParts(connector.readAll()));
    std::mt19937 random(20240611);
    auto pick = [&](qsizetype n) { return static_cast<qsizetype>(std::uniform_int_distribution<qsizetype>(0, std::max<qsizetype>(0, n - 1))(random)); };
    int opened = 0, refused = 0;
    for (int round = 0; round < 600; ++round) {
        PartMap parts = decks[static_cast<size_t>(round) % decks.size()];
        QByteArray bytes;
        if (round % 5 == 4) {
            bytes = zipParts(parts);
            for (int k = 0; k < 4; ++k)
                bytes[pick(bytes.size())] = static_cast<char>(random());
        } else {
            auto it = parts.begin();
            std::advance(it, pick(static_cast<qsizetype>(parts.size())));
            QByteArray& xml = it->second;
            const qsizetype at = pick(xml.size());
            switch (round % 6) {
            case 0: xml[at] = static_cast<char>(random()); break;
            case 1: xml.truncate(at); break;
            case 2: xml.insert(at, xml.mid(pick(xml.size()), 200)); break;
            case 3: xml.remove(at, 1 + pick(300)); break;
            case 4: {
                // Numbers become absurd: ids, indexes, sizes and coordinates.
                const qsizetype quote = xml.indexOf("=\"", at);
                if (quote >= 0)
                    xml.insert(quote + 2, round % 2 ? "-99999999999999999999" : "4294967296");
                break;
            }
            default: xml.insert(at, "<p:sp><a:t>&amp;</p:sp>"); break;
            }
            bytes = zipParts(parts);
        }
        try {
            const Presentation p = readPresentation(bytes, QStringLiteral("mutated.pptx"));
            const QByteArray again = presentationBytes(p);
            readPresentation(again, QStringLiteral("again.pptx"));
            ++opened;
        } catch (const PptxError& e) {
            EXPECT_FALSE(e.reason().isEmpty());
            ++refused;
        }
    }
    EXPECT_GT(opened, 0);
    EXPECT_GT(refused, 0);
}
