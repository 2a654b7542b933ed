// Package conventions the reader and writer depend on: relationship targets resolve against
// their source part (relative, absolute, percent-encoded, escaping the package), part names
// ignore letter case, and units and colours convert exactly.
#include "host/pptx/Opc.h"
#include "host/pptx/Package.h"
#include "host/pptx/Units.h"

#include <gtest/gtest.h>

using namespace zov::host::pptx;

TEST(Package, RelationshipTargetsResolveAgainstTheirSourcePart)
{
    EXPECT_EQ(resolveTarget(QString(), QStringLiteral("ppt/presentation.xml")), QStringLiteral("ppt/presentation.xml"));
    EXPECT_EQ(resolveTarget(QString(), QStringLiteral("/ppt/presentation.xml")), QStringLiteral("ppt/presentation.xml"));
    EXPECT_EQ(resolveTarget(QStringLiteral("ppt/presentation.xml"), QStringLiteral("slides/slide1.xml")), QStringLiteral("ppt/slides/slide1.xml"));
    EXPECT_EQ(resolveTarget(QStringLiteral("ppt/slides/slide1.xml"), QStringLiteral("../media/image%201.png")), QStringLiteral("ppt/media/image 1.png"));
    EXPECT_EQ(resolveTarget(QStringLiteral("ppt/slides/slide1.xml"), QStringLiteral("./../slideLayouts/./slideLayout2.xml#frag")),
              QStringLiteral("ppt/slideLayouts/slideLayout2.xml"));
    EXPECT_EQ(resolveTarget(QStringLiteral("ppt/slides/slide1.xml"), QStringLiteral("..\\media\\a.png")), QStringLiteral("ppt/media/a.png"));
    EXPECT_TRUE(resolveTarget(QStringLiteral("ppt/slides/slide1.xml"), QStringLiteral("../../../outside.xml")).isEmpty());
    // The targets the writer makes are checked in the written relationships of the
    // preservation tests.
}

TEST(Package, PartNamesIgnoreLetterCaseAndKeepTheirOrder)
{
    PartSet parts;
    parts.set(QStringLiteral("[Content_Types].xml"), "a");
    parts.set(QStringLiteral("ppt/Slides/Slide1.xml"), "b");
    parts.set(QStringLiteral("ppt/media/x.png"), "c");
    ASSERT_NE(parts.find(QStringLiteral("PPT/slides/slide1.XML")), nullptr);
    EXPECT_EQ(*parts.find(QStringLiteral("ppt/slides/slide1.xml")), QByteArray("b"));
    EXPECT_EQ(parts.spelling(QStringLiteral("ppt/slides/slide1.xml")), QStringLiteral("ppt/Slides/Slide1.xml"));
    parts.set(QStringLiteral("PPT/SLIDES/SLIDE1.XML"), "B");
    EXPECT_EQ(parts.size(), 3u);
    EXPECT_EQ(parts.all()[1].data, QByteArray("B"));
    EXPECT_EQ(parts.all()[1].name, QStringLiteral("ppt/Slides/Slide1.xml"));
    parts.remove(QStringLiteral("ppt/slides/slide1.xml"));
    EXPECT_EQ(parts.size(), 2u);
    EXPECT_EQ(*parts.find(QStringLiteral("ppt/media/x.png")), QByteArray("c"));
    EXPECT_FALSE(parts.contains(QStringLiteral("ppt/slides/slide1.xml")));

    ContentTypes types = parseContentTypes(
        "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"><Default Extension=\"PNG\" ContentType=\"image/png\"/>"
        "<Override PartName=\"/ppt/Slides/Slide1.xml\" ContentType=\"slide\"/></Types>");
    EXPECT_EQ(types.typeOf(QStringLiteral("ppt/slides/slide1.xml")), QStringLiteral("slide"));
    EXPECT_EQ(types.typeOf(QStringLiteral("ppt/media/a.png")), QStringLiteral("image/png"));
    types.removeOverride(QStringLiteral("PPT/SLIDES/SLIDE1.XML"));
    EXPECT_TRUE(types.typeOf(QStringLiteral("ppt/slides/slide1.xml")).isEmpty());
}

// A presentation of thousands of slides removes and adds parts and content types by the
// thousand; holes left by removals must never show, and order must survive compaction.
TEST(Package, ManyRemovalsKeepPartsAndContentTypesInOrder)
{
    PartSet parts;
    ContentTypes types;
    for (int i = 0; i < 300; ++i) {
        const QString name = QStringLiteral("ppt/slides/slide%1.xml").arg(i);
        parts.set(name, QByteArray::number(i));
        types.setOverride(name, QStringLiteral("t%1").arg(i));
    }
    for (int i = 0; i < 300; ++i) {
        if (i % 3 == 0)
            continue;
        parts.remove(QStringLiteral("PPT/SLIDES/SLIDE%1.XML").arg(i));
        types.removeOverride(QStringLiteral("ppt/slides/Slide%1.xml").arg(i));
    }
    parts.set(QStringLiteral("ppt/slides/slide1.xml"), "again"); // back, at the end
    types.setOverride(QStringLiteral("ppt/slides/slide3.xml"), QStringLiteral("new")); // moves to the end

    EXPECT_EQ(parts.size(), 101u);
    EXPECT_EQ(parts.find(QStringLiteral("ppt/slides/slide2.xml")), nullptr);
    ASSERT_NE(parts.find(QStringLiteral("ppt/slides/slide297.xml")), nullptr);
    EXPECT_EQ(*parts.find(QStringLiteral("ppt/slides/slide297.xml")), QByteArray("297"));
    const std::vector<Part>& all = parts.all();
    ASSERT_EQ(all.size(), 101u);
    for (int k = 0; k < 100; ++k)
        EXPECT_EQ(all[k].name, QStringLiteral("ppt/slides/slide%1.xml").arg(3 * k));
    EXPECT_EQ(all[100].data, QByteArray("again"));

    EXPECT_EQ(types.typeOf(QStringLiteral("ppt/slides/slide299.xml")), QString());
    EXPECT_EQ(types.typeOf(QStringLiteral("ppt/slides/slide297.xml")), QStringLiteral("t297"));
    const auto overrides = types.overrides();
    ASSERT_EQ(overrides.size(), 100u);
    EXPECT_EQ(overrides.front().first, QStringLiteral("ppt/slides/slide0.xml"));
    EXPECT_EQ(overrides.back(), std::make_pair(QStringLiteral("ppt/slides/slide3.xml"), QStringLiteral("new")));

    // A part named twice in a package keeps the first type; a nameless override types nothing.
    const ContentTypes read = parseContentTypes(
        "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
        "<Override PartName=\"/a.xml\" ContentType=\"first\"/><Override PartName=\"/A.XML\" ContentType=\"second\"/>"
        "<Override PartName=\"/\" ContentType=\"none\"/></Types>");
    EXPECT_EQ(read.typeOf(QStringLiteral("a.xml")), QStringLiteral("first"));
    EXPECT_EQ(writeContentTypes(read).count("<Override "), 1);
}

TEST(Package, UnitsConvertExactlyWithinLimitsAndMalformedColoursAreRefused)
{
    // Typical sizes and colours are checked through the written XML in the round-trip tests.
    EXPECT_EQ(pointsToEmu(-0.5), -6350);
    EXPECT_EQ(pointsToEmu(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(pointsToEmu(1e30), MaxCoordinateEmu);
    EXPECT_EQ(pointsToEmu(-1e30), -MaxCoordinateEmu);
    for (const std::int64_t emu : {0ll, 1ll, 360ll, 12699ll, 9144000ll, 51206400ll})
        EXPECT_EQ(pointsToEmu(emuToPoints(emu)), emu) << emu;

    std::uint32_t bgr = 0;
    ASSERT_TRUE(hexToBgr(QStringLiteral("A1b2C3"), bgr));
    EXPECT_EQ(bgr, 0xC3B2A1u);
    for (const char* bad : {"FFF", "GGGGGG", "+FFFFF"})
        EXPECT_FALSE(hexToBgr(QLatin1String(bad), bgr)) << bad;
}
