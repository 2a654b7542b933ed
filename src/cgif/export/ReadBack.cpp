#include "cgif/export/ReadBack.h"

#include "cgif/dialect/DialectDetector.h"
#include "cgif/reader/CgifReader.h"
#include "cgif/reader/GraphSink.h"
#include "drawing/NodeId.h"
#include "platform/MessageBox.h"
#include "platform/TextStream.h"

namespace zov::cgif::exporter {

namespace {

// Keeps the first message the reader shows instead of showing it.
class FirstMessage : public platform::MessageBoxes {
public:
    platform::MessageAnswer show(const platform::Message& message) override {
        if (!text_)
            text_ = message.text;
        return platform::defaultAnswer(message);
    }
    const std::optional<QString>& text() const { return text_; }

private:
    std::optional<QString> text_;
};

} // namespace

std::optional<QString> ReadBackProblem(const QString& text) {
    dialect::DialectDetector detector;
    detector.FeedLines(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size()));
    if (detector.Verdict() == dialect::Dialect::Iso)
        return QStringLiteral("it holds what only ISO CGIF has (such as a name without quotes or a signed "
                              "number), so an import reads it as ISO CGIF");
    drawing::NodeIdGenerator ids;
    FirstMessage messages;
    NullGraphSink sink;
    CgifReader reader(ids, messages, sink);
    const auto stream = platform::StringTextStream(text);
    if (reader.ReadCgifStream(*stream) && !messages.text())
        return std::nullopt;
    return QStringLiteral("reading it stops at \"%1\"").arg(messages.text().value_or(QStringLiteral("an error")));
}

} // namespace zov::cgif::exporter
