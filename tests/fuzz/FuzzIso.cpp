// libFuzzer target for the ISO CGIF reader: any input is read without a crash or a hang, shows
// at most one message, and every graph it hands on has arcs only between nodes of its tables
// (what the slide builder would otherwise report as "Link node not in bound array").
#include "cgif/iso/IsoReader.h"
#include "cgif/reader/CgifReader.h"
#include "drawing/NodeId.h"
#include "platform/TextStream.h"
#include "platform/fake/FakeMessageBoxes.h"

#include <QSet>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

class LinkCheckingSink : public zov::cgif::GraphSink {
public:
    void BuildGraphSlide(zov::cgif::CgifReader& reader, const QString&, QStringView, int firstLinkIndex,
                         int firstNodeIndex) override {
        const zov::cgif::ReaderTables& tables = reader.Tables();
        if (firstNodeIndex < 1 || firstNodeIndex > static_cast<int>(tables.BoundArray.size()) || firstLinkIndex < 0 ||
            firstLinkIndex > static_cast<int>(tables.Links.size()))
            fail("indexes outside the tables");
        QSet<zov::drawing::NodeId> ids;
        for (const zov::cgif::NodeRecord& node : tables.BoundArray)
            ids.insert(node.Id);
        for (std::size_t i = static_cast<std::size_t>(firstLinkIndex); i < tables.Links.size(); ++i)
            if (!ids.contains(tables.Links[i].From) || !ids.contains(tables.Links[i].To))
                fail("a link to a node the tables do not hold");
    }

private:
    [[noreturn]] static void fail(const char* what) {
        std::fprintf(stderr, "ISO reader handed on a graph with %s\n", what);
        std::abort();
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 64 * 1024)
        return 0;
    const QString text = zov::platform::DecodeTextBytes(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    zov::drawing::NodeIdGenerator ids{1};
    zov::platform::FakeMessageBoxes messages;
    LinkCheckingSink sink;
    zov::cgif::CgifReader reader(ids, messages, sink);
    const bool read = zov::cgif::iso::ReadIsoCgifText(reader, text);
    if (messages.shown().size() > 1 || (read && !messages.shown().empty() &&
                                        !messages.shown().front().text.startsWith(QLatin1String("Graph ")))) {
        std::fprintf(stderr, "ISO reader: %d messages, read %d\n", static_cast<int>(messages.shown().size()), read);
        std::abort();
    }
    return 0;
}
