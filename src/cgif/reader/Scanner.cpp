// The reader's side of the scanner: its lines come from a text stream, and its tokens are
// strings that records keep. The current line is held as a string and a read position, so
// consuming never copies the rest of the line. The scanner routines themselves are the
// grammar's (cgif/grammar/Scanner.h).
#include "cgif/reader/CgifReader.h"
#include "platform/TextStream.h"

#include <algorithm>

namespace zov::cgif {

void CgifReader::SetCurrentLine(const QString& text) {
    line_ = text;
    pos_ = 0;
}

bool CgifReader::InputExhausted() const { return input_->AtEndOfStream(); }

// The next input line becomes the current line. While ReadCgifStream reads a stream the line
// is borrowed from the stream's text without a copy (the stream outlives the reading); writing
// into it (a comment put back) copies it first, and KeepCurrentLine copies it when the reading
// ends. Outside ReadCgifStream every line is a copy.
void CgifReader::NextInputLine() {
    if (reading_) {
        const QStringView line = input_->ReadLineView();
        line_ = QString::fromRawData(line.data(), line.size());
        if (line.size() >= LongLine)
            ReserveForLine(line.size());
    } else {
        line_ = input_->ReadLine();
    }
    pos_ = 0;
}

// A long line holds many nodes: the tables get room for the most it can hold at once, so that
// they do not grow by copying everything read so far again and again. Room not used costs
// address space only; where even that cannot be had, the tables grow as they need.
void CgifReader::ReserveForLine(qsizetype characters) {
    constexpr qsizetype CharactersPerNode = 8; // "[A] [B] " and up
    const auto room = static_cast<std::size_t>(characters / CharactersPerNode);
    try {
        tables_.BoundArray.reserve(tables_.BoundArray.size() + room);
        tables_.Links.reserve(tables_.Links.size() + room / 2);
    } catch (const std::exception&) {
        // not enough address space: grow step by step instead
    }
}

void CgifReader::KeepCurrentLine() noexcept {
    if (line_.isDetached())
        return;
    try {
        // Only the unread rest is kept: after a file of one long line, that is nothing.
        line_ = QStringView(line_).mid(pos_).toString();
        pos_ = 0;
    } catch (...) {
        // No memory for the copy: the line is dropped (an empty line needs none).
        line_ = QString();
        pos_ = 0;
    }
}

// Short texts recur (type labels, quantifiers, labels): a record keeps the copy made the last
// time the same text was kept, so that keeping it takes no room of its own. A longer token is
// cut from the pool.
const RecordText& CgifReader::SharedToken() {
    if (TokenSize() > MaxSharedTokenSize) {
        longToken_ = texts_.Make(TokenView());
        return longToken_;
    }
    return SharedText(TokenView());
}

const RecordText& CgifReader::SharedText(QStringView text) {
    RecordText& recent = recentTokens_[RecentTextHash(text) % recentTokens_.size()];
    if (!SameText(recent.View(), text))
        recent = texts_.Make(text);
    return recent;
}

// A line borrowed from the stream is written in the stream's own text where the stream allows
// it, so that a comment put back into a long line does not copy the whole line.
QChar* CgifReader::WritableLine(SavedLine& saved) {
    if (reading_ && input_ != nullptr && !saved.line.isDetached()) {
        QChar* own = input_->WritableLastLine();
        if (own != nullptr && own == saved.line.constData())
            return own;
    }
    return saved.line.data();
}

// Used when the consumed part of the saved line has no room for the comment put back.
void CgifReader::RebuildWithoutRoom(const QChar* text, std::ptrdiff_t size, bool closed, SavedLine&& saved) {
    const QStringView rest = QStringView(saved.line).mid(saved.pos);
    QString rebuilt;
    rebuilt.reserve(size + (closed ? 2 : 1) + rest.size());
    rebuilt.append(u';');
    rebuilt.append(QStringView(text, size));
    if (closed)
        rebuilt.append(u';');
    rebuilt.append(rest);
    line_ = std::move(rebuilt);
    pos_ = 0;
}

void CgifReader::InputPastEnd(QChar terminator) {
    throw ParseError(RuntimeFailure::InputPastEnd,
                     QStringLiteral("Input past end of file: no closing %1 found").arg(terminator));
}

void CgifReader::ReportParseError(int number, const QString& message) {
    throw ParseError(number, message + QStringLiteral(" (at ") + CurrentLine() + u')');
}

} // namespace zov::cgif
