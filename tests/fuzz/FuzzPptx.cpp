// libFuzzer entry for the .pptx loader. An input that starts like a zip archive is opened as a
// whole file; any other input becomes the slide part of a small valid deck, so that the fuzzer
// spends most of its time in the XML readers rather than in inflating damaged archives.
// Opening must end in a presentation or a PptxError; a presentation read is saved again.
#include "host/Slide.h"
#include "host/pptx/PptxFile.h"
#include "host/pptx/SlideScan.h"
#include "host/pptx/ZipArchive.h"

#include <cstddef>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <vector>

using namespace zov::host;

namespace {

QByteArray deckWithSlide(const QByteArray& slide)
{
    const QByteArray rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
    const QByteArray rels = "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
    const std::vector<std::pair<QString, QByteArray>> parts{
        {QStringLiteral("[Content_Types].xml"),
         "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
         "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
         "<Default Extension=\"xml\" ContentType=\"application/xml\"/></Types>"},
        {QStringLiteral("_rels/.rels"), rels + "<Relationship Id=\"rId1\" Type=\"" + rel + "officeDocument\" Target=\"ppt/presentation.xml\"/></Relationships>"},
        {QStringLiteral("ppt/presentation.xml"),
         "<p:presentation xmlns:p=\"http://schemas.openxmlformats.org/presentationml/2006/main\" "
         "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"><p:sldIdLst><p:sldId id=\"256\" r:id=\"rId2\"/>"
         "</p:sldIdLst><p:sldSz cx=\"9144000\" cy=\"6858000\"/></p:presentation>"},
        {QStringLiteral("ppt/_rels/presentation.xml.rels"), rels + "<Relationship Id=\"rId2\" Type=\"" + rel + "slide\" Target=\"slides/slide1.xml\"/></Relationships>"},
        {QStringLiteral("ppt/slides/slide1.xml"), slide},
    };
    std::vector<std::pair<QString, const QByteArray*>> entries;
    for (const auto& [name, data] : parts)
        entries.emplace_back(name, &data);
    return pptx::writeZip(entries, 1);
}

// Where the slide is read both ways, the quick XML reader must agree with the full one: on
// failing, on the spans it cuts, and on every shape's name, text and box.
QString scanOutcome(pptx::SlideScan (*scan)(const QByteArray&, const QString&, const pptx::TextDefaults*), const QByteArray& xml)
{
    const pptx::TextDefaults defaults;
    try {
        const pptx::SlideScan s = scan(xml, QStringLiteral("slide.xml"), &defaults);
        QString out = QStringLiteral("%1 %2 %3 %4 %5 %6|").arg(s.name).arg(s.cSldTagBegin).arg(s.shapesBegin).arg(s.shapesEnd).arg(s.maxId).arg(s.spTreeSelfClosing);
        for (const auto& sh : s.shapes)
            out += QStringLiteral("%1-%2 %3 %4 %5,%6 %7|").arg(sh.begin).arg(sh.end).arg(sh.parsed.data.name, sh.parsed.data.paragraphs.join(u'/'))
                       .arg(sh.parsed.data.left).arg(sh.parsed.data.top).arg(sh.parsed.data.preset);
        return out;
    } catch (const PptxError& e) {
        return QString::fromUtf8(e.what());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QByteArray file = input.startsWith("PK") ? input : deckWithSlide(input);
    if (!input.startsWith("PK")) {
        const QString quick = scanOutcome(&pptx::scanSlide, input);
        const QString full = scanOutcome(&pptx::scanSlideFully, input);
        if (quick != full) {
            std::fprintf(stderr, "quick scan: %s\nfull scan:  %s\n", qPrintable(quick), qPrintable(full));
            std::abort();
        }
    }
    try {
        const Presentation p = readPresentation(file, QStringLiteral("fuzz.pptx"));
        // Touch what a reader of graphs touches, change a little, and save.
        for (int i = 1; i <= p.Slides().Count(); ++i) {
            Slide slide = p.Slides().Item(i);
            for (int k = 1; k <= slide.Shapes().Count(); ++k) {
                Shape s = slide.Shapes().Item(k);
                if (s.Connector() && s.ConnectorFormat().BeginConnected())
                    (void)s.ConnectorFormat().BeginConnectedShape().Name();
                if (k == 1)
                    s.SetLeft(s.Left() + 1);
            }
        }
        const QByteArray saved = presentationBytes(p);
        readPresentation(saved, QStringLiteral("again.pptx"));
    } catch (const PptxError&) {
        // a clear refusal is a correct answer
    } catch (const HostError&) {
        // a host call refused an edit on a strange shape: also fine
    }
    return 0;
}
