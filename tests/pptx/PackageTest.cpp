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
