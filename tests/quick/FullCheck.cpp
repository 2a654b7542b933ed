#include "FullCheck.h"

#include "cgif/import/GraphBuilder.h"
#include "cgif/quick/QuickCheck.h"
#include "cgif/reader/CgifReader.h"
#include "drawing/NodeId.h"
#include "platform/TextStream.h"
#include "platform/fake/FakeMessageBoxes.h"

namespace zov::test {

FullCheck RunFullCheck(const QByteArray& bytes) {
    drawing::DrawingSettings settings;
    platform::FakeMessageBoxes boxes;
    drawing::NodeIdGenerator ids{7};
    cgif::CheckingBuilder checker(settings, boxes);
    cgif::CgifReader reader(ids, boxes, checker);
    reader.SetGraphNameTaken([&checker](const QString& name) { return checker.SlideNameInUse(name); });
    FullCheck result;
    try {
        // Text left where no element starts, or the input ending inside an element, ends the
        // reading early: the command line says so.
        result.read = reader.ReadCgifStream(*platform::StringTextStream(platform::DecodeTextBytes(bytes))) &&
                      reader.UnreadText().isEmpty() && reader.ElementCutShortAtEnd().isEmpty();
    } catch (const std::exception& failure) {
        result.shown << QStringLiteral("escaped: ") + QString::fromUtf8(failure.what());
    }
    for (const platform::Message& message : boxes.shown())
        result.shown << message.title + QStringLiteral(": ") + message.text;
    return result;
}

bool QuickClean(const QByteArray& bytes) {
    std::string scratch(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    return cgif::quick::QuickCheckCgif(scratch) == cgif::quick::Verdict::Clean;
}

} // namespace zov::test
