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

namespace {

// The first message the 2001 reader shows for `text`, if any.
std::optional<QString> FirstReaderMessage(const QString& text) {
    drawing::NodeIdGenerator ids;
    FirstMessage messages;
    NullGraphSink sink;
    CgifReader reader(ids, messages, sink);
    const auto stream = platform::StringTextStream(text);
    if (reader.ReadCgifStream(*stream) && !messages.text())
        return std::nullopt;
    return messages.text().value_or(QStringLiteral("an error"));
}

} // namespace

std::optional<QString> FirstReadBackStop(const QString& text) { return FirstReaderMessage(text); }

std::optional<QString> ReadBackProblem(const QString& text) {
    dialect::DialectDetector detector;
    detector.FeedLines(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size()));
    const std::optional<QString> stop = FirstReaderMessage(text);
    if (detector.Verdict() == dialect::Dialect::Iso) {
        // Where the 2001 reading stops shows the user which label is at fault (a type of two
        // words or two lines, a name without quotes).
        QString problem = QStringLiteral("it holds what only ISO CGIF has (such as a name without quotes or a signed "
                                         "number), so an import reads it as ISO CGIF");
        if (stop)
            problem += QStringLiteral(", and reading it as 2001 CGIF stops at \"%1\"").arg(*stop);
        return problem;
    }
    if (!stop)
        return std::nullopt;
    return QStringLiteral("reading it stops at \"%1\"").arg(*stop);
}

} // namespace zov::cgif::exporter
