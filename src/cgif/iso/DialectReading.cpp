#include "cgif/iso/DialectReading.h"

#include "cgif/dialect/DialectDetector.h"
#include "cgif/iso/IsoReader.h"
#include "cgif/reader/CgifReader.h"
#include "platform/TextStream.h"

#include <exception>
#include <optional>
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

// Hands the lines of a stream on and tells the position of each line taken: where it begins,
// and, as the reader tells it, how far into it the reading has got.
class CountedLines : public platform::TextStream {
public:
    CountedLines(platform::TextStream& in, const ReadingPosition& position) : in_(in), position_(position) {}
    void TellWithinLine(qsizetype at) { Grown(lineStart_ + at); }
    QString ReadLine() override {
        QString line = in_.ReadLine();
        Tell(line.size());
        return line;
    }
    QStringView ReadLineView() override {
        const QStringView line = in_.ReadLineView();
        Tell(line.size());
        return line;
    }
    bool AtEndOfStream() const override { return in_.AtEndOfStream(); }
    QChar* WritableLastLine() override { return in_.WritableLastLine(); }
    void Write(const QString& text) override { in_.Write(text); }
    void WriteLine(const QString& text) override { in_.WriteLine(text); }
    void Close() override { in_.Close(); }

private:
    void Tell(qsizetype characters) {
        lineStart_ = next_;
        next_ += characters + 1;
        Grown(lineStart_);
    }
    void Grown(qint64 position) {
        if (position > told_) {
            told_ = position;
            position_(position);
        }
    }

    platform::TextStream& in_;
    const ReadingPosition& position_;
    qint64 lineStart_ = 0; // characters before the line last taken (each line end counts one)
    qint64 next_ = 0;      // characters before the line to take next
    qint64 told_ = -1;
};

// The 2001 reader over `in`, telling the position of each line it takes.
bool Read2001(CgifReader& reader, platform::TextStream& in, const ReadingPosition& position) {
    if (!position)
        return reader.ReadCgifStream(in);
    CountedLines counted(in, position);
    reader.SetPositionInLine([&counted](qsizetype at) { counted.TellWithinLine(at); });
    struct Forget {
        CgifReader& reader;
        ~Forget() { reader.SetPositionInLine({}); }
    } forget{reader};
    return reader.ReadCgifStream(counted);
}

} // namespace

bool ReadCgifInDialect(CgifReader& reader, platform::TextStream& in, dialect::DialectChoice choice,
                       const ReadingPosition& position) {
    switch (choice) {
    case dialect::DialectChoice::Draft2001:
        return Read2001(reader, in, position);
    case dialect::DialectChoice::Iso:
        return ReadIsoCgifStream(reader, in, position);
    case dialect::DialectChoice::Auto:
        break;
    }
    if (const std::optional<QStringView> text = in.UnreadText()) {
        // The stream holds its text: the detection looks over it, and the chosen reader then
        // reads the stream from the start as if the dialect had been given.
        dialect::DialectDetector detector;
        detector.FeedLines(reinterpret_cast<const char16_t*>(text->utf16()), static_cast<std::size_t>(text->size()));
        if (detector.Verdict() == dialect::Dialect::Iso)
            return ReadIsoCgifStream(reader, in, position);
        return Read2001(reader, in, position);
    }
    if (const std::optional<std::string_view> bytes = in.InputBytes()) {
        // The stream holds the file's bytes: the detection looks over them (it heeds ASCII
        // characters only, which are the same bytes in both encodings a file is read in).
        dialect::DialectDetector detector;
        detector.FeedLines(bytes->data(), bytes->size());
        if (detector.Verdict() == dialect::Dialect::Iso)
            return ReadIsoCgifStream(reader, in, position);
        return Read2001(reader, in, position);
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
        ReplayedLines replay(std::move(lines), nullptr);
        return ReadIsoCgifStream(reader, replay, position);
    }
    // The position tells the lines the reader takes again, not the ones the detection read.
    ReplayedLines replay(std::move(lines), std::move(failure));
    return Read2001(reader, replay, position);
}

} // namespace zov::cgif::iso
