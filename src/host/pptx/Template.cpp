#include "host/pptx/Template.h"

#include "host/pptx/PackageKind.h"
#include "host/pptx/Units.h"

#include <algorithm>

namespace zov::host::pptx {
namespace {

constexpr const char* Declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n";
constexpr const char* PmlNamespaces =
    " xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\""
    " xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\""
    " xmlns:p=\"http://schemas.openxmlformats.org/presentationml/2006/main\"";
constexpr const char* RelTypes = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";

// The shape tree header every slide-like part starts with.
constexpr const char* EmptyTree =
    "<p:spTree><p:nvGrpSpPr><p:cNvPr id=\"1\" name=\"\"/><p:cNvGrpSpPr/><p:nvPr/></p:nvGrpSpPr>"
    "<p:grpSpPr><a:xfrm><a:off x=\"0\" y=\"0\"/><a:ext cx=\"0\" cy=\"0\"/><a:chOff x=\"0\" y=\"0\"/>"
    "<a:chExt cx=\"0\" cy=\"0\"/></a:xfrm></p:grpSpPr></p:spTree>";

QByteArray part(const QByteArray& body)
{
    return QByteArray(Declaration) + body;
}

QByteArray rels(std::initializer_list<std::pair<const char*, const char*>> targets, const char* coreTarget = nullptr)
{
    QByteArray out = "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
    int n = 0;
    for (const auto& [type, target] : targets) {
        out += "<Relationship Id=\"rId" + QByteArray::number(++n) + "\" Type=\"" + RelTypes + type + "\" Target=\"" + target + "\"/>";
    }
    if (coreTarget)
        out += "<Relationship Id=\"rId" + QByteArray::number(++n)
               + "\" Type=\"http://schemas.openxmlformats.org/package/2006/relationships/metadata/core-properties\" Target=\""
               + coreTarget + "\"/>";
    out += "</Relationships>";
    return part(out);
}

QByteArray contentTypes()
{
    const QByteArray base = "application/vnd.openxmlformats-officedocument.";
    QByteArray out = "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
                     "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
                     "<Default Extension=\"xml\" ContentType=\"application/xml\"/>";
    const std::pair<const char*, QByteArray> overrides[] = {
        {"/ppt/presentation.xml", mainContentType(PackageKind::Presentation).toUtf8()},
        {"/ppt/slideMasters/slideMaster1.xml", base + "presentationml.slideMaster+xml"},
        {"/ppt/slideLayouts/slideLayout1.xml", base + "presentationml.slideLayout+xml"},
        {"/ppt/theme/theme1.xml", base + "theme+xml"},
        {"/ppt/presProps.xml", base + "presentationml.presProps+xml"},
        {"/ppt/viewProps.xml", base + "presentationml.viewProps+xml"},
        {"/ppt/tableStyles.xml", base + "presentationml.tableStyles+xml"},
        {"/docProps/core.xml", "application/vnd.openxmlformats-package.core-properties+xml"},
        {"/docProps/app.xml", base + "extended-properties+xml"},
    };
    for (const auto& [name, type] : overrides)
        out += QByteArray("<Override PartName=\"") + name + "\" ContentType=\"" + type + "\"/>";
    out += "</Types>";
    return part(out);
}

// First-level run defaults: size in hundredths of a point, colour and font from the theme.
QByteArray levelOne(int size, const char* font, const char* extra = "")
{
    return QByteArray("<a:lvl1pPr") + extra + "><a:defRPr sz=\"" + QByteArray::number(size)
           + "\"><a:solidFill><a:schemeClr val=\"tx1\"/></a:solidFill><a:latin typeface=\"" + font
           + "\"/></a:defRPr></a:lvl1pPr>";
}

QByteArray presentation(float width, float height)
{
    const std::int64_t cx = std::clamp<std::int64_t>(pointsToEmu(width), 914400, 51206400);
    const std::int64_t cy = std::clamp<std::int64_t>(pointsToEmu(height), 914400, 51206400);
    return part(QByteArray("<p:presentation") + PmlNamespaces + " saveSubsetFonts=\"1\">"
                "<p:sldMasterIdLst><p:sldMasterId id=\"2147483648\" r:id=\"rId1\"/></p:sldMasterIdLst>"
                "<p:sldSz cx=\"" + QByteArray::number(static_cast<qlonglong>(cx)) + "\" cy=\""
                + QByteArray::number(static_cast<qlonglong>(cy)) + "\"/>"
                "<p:notesSz cx=\"6858000\" cy=\"9144000\"/>"
                "<p:defaultTextStyle>" + levelOne(1800, "+mn-lt") + "</p:defaultTextStyle>"
                "</p:presentation>");
}

QByteArray master()
{
    return part(QByteArray("<p:sldMaster") + PmlNamespaces + ">"
                "<p:cSld><p:bg><p:bgRef idx=\"1001\"><a:schemeClr val=\"bg1\"/></p:bgRef></p:bg>" + EmptyTree + "</p:cSld>"
                "<p:clrMap bg1=\"lt1\" tx1=\"dk1\" bg2=\"lt2\" tx2=\"dk2\" accent1=\"accent1\" accent2=\"accent2\""
                " accent3=\"accent3\" accent4=\"accent4\" accent5=\"accent5\" accent6=\"accent6\" hlink=\"hlink\" folHlink=\"folHlink\"/>"
                "<p:sldLayoutIdLst><p:sldLayoutId id=\"2147483649\" r:id=\"rId1\"/></p:sldLayoutIdLst>"
                "<p:txStyles>"
                "<p:titleStyle>" + levelOne(4400, "+mj-lt", " algn=\"ctr\"") + "</p:titleStyle>"
                "<p:bodyStyle>" + levelOne(2400, "+mn-lt") + "</p:bodyStyle>"
                "<p:otherStyle>" + levelOne(1800, "+mn-lt") + "</p:otherStyle>"
                "</p:txStyles></p:sldMaster>");
}

QByteArray layout()
{
    return part(QByteArray("<p:sldLayout") + PmlNamespaces + " type=\"blank\" preserve=\"1\">"
                "<p:cSld name=\"Blank\">" + EmptyTree + "</p:cSld>"
                "<p:clrMapOvr><a:masterClrMapping/></p:clrMapOvr></p:sldLayout>");
}

QByteArray theme()
{
    QByteArray colours;
    const std::pair<const char*, const char*> scheme[] = {
        {"dk1", "000000"},     {"lt1", "FFFFFF"},     {"dk2", "1F2A44"},     {"lt2", "E8E6E1"},
        {"accent1", "3C6E9F"}, {"accent2", "D9822B"}, {"accent3", "7A9A3A"}, {"accent4", "8E5A9B"},
        {"accent5", "2E9C9C"}, {"accent6", "B84A4A"}, {"hlink", "1F5FBF"},   {"folHlink", "7F4FA0"},
    };
    for (const auto& [slot, rgb] : scheme)
        colours += QByteArray("<a:") + slot + "><a:srgbClr val=\"" + rgb + "\"/></a:" + slot + ">";
    const QByteArray fonts = "<a:latin typeface=\"Arial\"/><a:ea typeface=\"\"/><a:cs typeface=\"\"/>";
    const QByteArray fill = "<a:solidFill><a:schemeClr val=\"phClr\"/></a:solidFill>";
    QByteArray lines;
    for (const char* w : {"9525", "19050", "28575"})
        lines += QByteArray("<a:ln w=\"") + w + "\">" + fill + "</a:ln>";
    return part("<a:theme xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\" name=\"ZOVEdit\">"
                "<a:themeElements>"
                "<a:clrScheme name=\"ZOVEdit\">" + colours + "</a:clrScheme>"
                "<a:fontScheme name=\"ZOVEdit\"><a:majorFont>" + fonts + "</a:majorFont><a:minorFont>" + fonts + "</a:minorFont></a:fontScheme>"
                "<a:fmtScheme name=\"ZOVEdit\">"
                "<a:fillStyleLst>" + fill + fill + fill + "</a:fillStyleLst>"
                "<a:lnStyleLst>" + lines + "</a:lnStyleLst>"
                "<a:effectStyleLst><a:effectStyle><a:effectLst/></a:effectStyle><a:effectStyle><a:effectLst/></a:effectStyle>"
                "<a:effectStyle><a:effectLst/></a:effectStyle></a:effectStyleLst>"
                "<a:bgFillStyleLst>" + fill + fill + fill + "</a:bgFillStyleLst>"
                "</a:fmtScheme></a:themeElements>"
                "<a:objectDefaults/><a:extraClrSchemeLst/></a:theme>");
}

} // namespace

std::shared_ptr<Package> makeTemplatePackage(float slideWidth, float slideHeight)
{
    auto pkg = std::make_shared<Package>();
    PartSet& parts = pkg->parts;
    parts.set(QStringLiteral("[Content_Types].xml"), contentTypes());
    parts.set(QStringLiteral("_rels/.rels"),
              rels({{"officeDocument", "ppt/presentation.xml"}, {"extended-properties", "docProps/app.xml"}}, "docProps/core.xml"));
    parts.set(QStringLiteral("docProps/core.xml"),
              part("<cp:coreProperties xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/metadata/core-properties\""
                   " xmlns:dc=\"http://purl.org/dc/elements/1.1/\" xmlns:dcterms=\"http://purl.org/dc/terms/\""
                   " xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"/>"));
    parts.set(QStringLiteral("docProps/app.xml"),
              part("<Properties xmlns=\"http://schemas.openxmlformats.org/officeDocument/2006/extended-properties\">"
                   "<Application>ZOVEdit</Application></Properties>"));
    parts.set(QStringLiteral("ppt/presentation.xml"), presentation(slideWidth, slideHeight));
    parts.set(QStringLiteral("ppt/_rels/presentation.xml.rels"),
              rels({{"slideMaster", "slideMasters/slideMaster1.xml"},
                    {"theme", "theme/theme1.xml"},
                    {"presProps", "presProps.xml"},
                    {"viewProps", "viewProps.xml"},
                    {"tableStyles", "tableStyles.xml"}}));
    parts.set(QStringLiteral("ppt/presProps.xml"), part(QByteArray("<p:presentationPr") + PmlNamespaces + "/>"));
    parts.set(QStringLiteral("ppt/viewProps.xml"),
              part(QByteArray("<p:viewPr") + PmlNamespaces + "><p:normalViewPr><p:restoredLeft sz=\"15620\"/>"
                   "<p:restoredTop sz=\"94660\"/></p:normalViewPr><p:gridSpacing cx=\"76200\" cy=\"76200\"/></p:viewPr>"));
    // The default table style named by its well-known identifier ("Medium Style 2 - Accent 1").
    parts.set(QStringLiteral("ppt/tableStyles.xml"),
              part("<a:tblStyleLst xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\""
                   " def=\"{5C22544A-7EE6-4342-B048-85BDC9FD1C3A}\"/>"));
    parts.set(QStringLiteral("ppt/slideMasters/slideMaster1.xml"), master());
    parts.set(QStringLiteral("ppt/slideMasters/_rels/slideMaster1.xml.rels"),
              rels({{"slideLayout", "../slideLayouts/slideLayout1.xml"}, {"theme", "../theme/theme1.xml"}}));
    parts.set(QStringLiteral("ppt/slideLayouts/slideLayout1.xml"), layout());
    parts.set(QStringLiteral("ppt/slideLayouts/_rels/slideLayout1.xml.rels"),
              rels({{"slideMaster", "../slideMasters/slideMaster1.xml"}}));
    parts.set(QStringLiteral("ppt/theme/theme1.xml"), theme());

    pkg->presentationPart = QStringLiteral("ppt/presentation.xml");
    const std::int64_t cx = std::clamp<std::int64_t>(pointsToEmu(slideWidth), 914400, 51206400);
    const std::int64_t cy = std::clamp<std::int64_t>(pointsToEmu(slideHeight), 914400, 51206400);
    pkg->slideWidth = emuToPoints(cx);
    pkg->slideHeight = emuToPoints(cy);
    pkg->defaultsForNewSlides = std::make_shared<const TextDefaults>(
        buildTextDefaults(parts.find(QStringLiteral("ppt/theme/theme1.xml")), parts.find(QStringLiteral("ppt/slideMasters/slideMaster1.xml")),
                          parts.find(QStringLiteral("ppt/presentation.xml"))));
    return pkg;
}

} // namespace zov::host::pptx
