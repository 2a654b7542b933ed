#include "cgif/iso/DialectReading.h"

#include "cgif/dialect/DialectDetector.h"
#include "cgif/iso/IsoReader.h"
#include "cgif/reader/CgifReader.h"
#include "platform/TextStream.h"

#include <exception>
#include <stdexcept>
#include <vector>

namespace zov::cgif::iso {

namespace {

// The lines of a stream read before, handed out again; a failure of the stream past them is
// raised again where it happened.
class ReplayedLines : public platform::TextStream {
public:
    ReplayedLines(std::vector<QString> lines, std::exception_ptr failure)
        : lines_(std::move(lines)), failure_(std::move(failure)) {}
    QString ReadLine() override {
        if (next_ < lines_.size())
            return std::move(lines_[next_++]);
        if (failure_)
            std::rethrow_exception(failure_);
        return QString();
    }
    bool AtEndOfStream() const override { return next_ >= lines_.size() && !failure_; }
    void Write(const QString&) override { throw std::logic_error("read-only stream"); }
    void WriteLine(const QString&) override { throw std::logic_error("read-only stream"); }
    void Close() override {}

private:
    std::vector<QString> lines_;
    std::size_t next_ = 0;
    std::exception_ptr failure_;
};

} // namespace

bool ReadCgifInDialect(CgifReader& reader, platform::TextStream& in, dialect::DialectChoice choice) {
    switch (choice) {
    case dialect::DialectChoice::Draft2001:
        return reader.ReadCgifStream(in);
    case dialect::DialectChoice::Iso:
        return ReadIsoCgifStream(reader, in);
    case dialect::DialectChoice::Auto:
        break;
    }
    std::vector<QString> lines;
    std::exception_ptr failure;
    dialect::DialectDetector detector;
    try {
        while (!in.AtEndOfStream()) {
            lines.push_back(in.ReadLine());
            const QString& line = lines.back();
            detector.Feed(reinterpret_cast<const char16_t*>(line.utf16()), static_cast<std::size_t>(line.size()));
            detector.EndLine();
        }
    } catch (const std::bad_alloc&) {
        throw;
    } catch (...) {
        failure = std::current_exception();
    }
    if (detector.Verdict() == dialect::Dialect::Iso) {
        if (failure)
            std::rethrow_exception(failure);
        // Lines joined by CR LF: text spanning lines keeps them, as in the 2001 reader.
        QString text;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (i > 0)
                text += QLatin1String("\r\n");
            text += lines[i];
        }
        lines.clear();
        return ReadIsoCgifText(reader, std::move(text));
    }
    ReplayedLines replay(std::move(lines), std::move(failure));
    return reader.ReadCgifStream(replay);
}

} // namespace zov::cgif::iso
