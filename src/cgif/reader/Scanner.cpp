// Scanner operations: each consumes one lexical item from the front of the current line and
// pulls further lines from the input when the line is used up. The current line is held as a
// string and a read position, so consuming never copies the rest of the line.
#include "cgif/reader/CgifReader.h"
#include "cgif/reader/CharClass.h"
#include "platform/TextStream.h"

#include <algorithm>

namespace zov::cgif {

void CgifReader::SetCurrentLine(const QString& text) {
    line_ = text;
    pos_ = 0;
}

// True when the current line has something to read. Gives up at the end of the input; only
// a call that finds the input already exhausted sets AtEnd. Without an input (the editor's
// parse buffer) there is nothing to fetch, and a stream that fails while it is read ends the
// fetch the same way.
bool CgifReader::FetchLine() {
    if (!LineEmpty())
        return true;
    if (input_ == nullptr)
        return false;
    try {
        if (input_->AtEndOfStream()) {
            atEnd_ = true;
            return false;
        }
        do {
            NextInputLine();
            SkipSpaces();
            if (!LineEmpty())
                return true;
        } while (!input_->AtEndOfStream());
    } catch (const std::exception&) {
        line_.clear();
        pos_ = 0;
    }
    return false;
}

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
        line_ = QStringView(line_).toString();
    } catch (...) {
        // No memory for the copy: the line is dropped (an empty line needs none).
        line_ = QString();
        pos_ = 0;
    }
}

// Token is written in place when it holds the only reference to its text and has room, so that
// tokens that are not kept cost no allocation. Otherwise (the last token went into a record) a
// short token shares the text of an equal token read recently: type labels, coreference labels
// and positions repeat from graph to graph, and sharing spares an allocation for each.
void CgifReader::AssignToken(QStringView text) {
    if (token_.isDetached() && token_.capacity() >= text.size()) {
        token_.resize(text.size());
        std::copy(text.begin(), text.end(), token_.data());
        return;
    }
    if (text.size() > MaxSharedTokenSize) {
        token_ = text.toString();
        return;
    }
    // A cheap hash from the length and three characters: a collision only costs a copy.
    std::size_t hash = static_cast<std::size_t>(text.size());
    if (!text.isEmpty()) {
        hash = hash * 31 + text.front().unicode();
        hash = hash * 31 + text[text.size() / 2].unicode();
        hash = hash * 31 + text.back().unicode();
    }
    QString& recent = recentTokens_[hash % recentTokens_.size()];
    if (recent.size() != text.size() || !std::equal(text.begin(), text.end(), recent.constData()))
        recent = text.toString();
    token_ = recent;
}

void CgifReader::ClearToken() {
    if (token_.isDetached())
        token_.resize(0);
    else
        token_ = QString();
}

bool CgifReader::ReadIdentifier(bool optional) {
    ClearToken();
    if (!FetchLine())
        return optional;
    if (!IsIdentifierStart(Front())) {
        if (optional)
            return true;
        ReportParseError(1030, QStringLiteral("First character not alpha or _"));
    }
    const qsizetype start = pos_;
    const QChar* data = line_.constData();
    const qsizetype size = line_.size();
    ++pos_;
    while (pos_ < size && IsIdentifierPart(data[pos_]))
        ++pos_;
    AssignToken(QStringView(data + start, pos_ - start));
    SkipSpaces();
    return true;
}

bool CgifReader::ReadNumber(bool optional) {
    const QChar* data = line_.constData();
    const qsizetype size = line_.size();
    qsizetype end = pos_;
    while (end < size && IsDigit(data[end]))
        ++end;
    if (end >= size) {
        AssignToken(pos_ < size ? QStringView(data + pos_, size - pos_) : QStringView());
        pos_ = size;
        return true;
    }
    if (end == pos_)
        return optional;
    AssignToken(QStringView(data + pos_, end - pos_));
    pos_ = end;
    SkipSpaces();
    return true;
}

bool CgifReader::ReadUntil(QChar terminator) {
    qsizetype found = line_.indexOf(terminator, pos_);
    if (found >= 0) { // the usual case: the item ends on the line it starts on
        AssignToken(QStringView(line_.constData() + pos_, found - pos_));
        pos_ = found;
        return true;
    }
    ClearToken();
    while (found < 0 && !(LineEmpty() && atEnd_)) {
        token_.append(QStringView(line_).mid(pos_));
        token_.append(QStringLiteral("\r\n"));
        if (input_ == nullptr || input_->AtEndOfStream())
            throw ParseError(RuntimeFailure::InputPastEnd,
                             QStringLiteral("Input past end of file: no closing %1 found").arg(terminator));
        NextInputLine();
        SkipSpaces();
        if (input_->AtEndOfStream())
            atEnd_ = true;
        found = line_.indexOf(terminator, pos_);
    }
    if (LineEmpty() && atEnd_)
        return false;
    token_.append(QStringView(line_).mid(pos_, found - pos_));
    pos_ = found;
    return true;
}

// Puts a comment back in front of the saved rest of a line: nothing when `asComment` is false,
// else ";" + text, followed by ";" when `closed`. When the consumed part of the saved line is
// long enough the comment is written over its end, so the rest of a long line is not copied
// again for every comment on it. `text` may point into the current line.
void CgifReader::RebuildLine(QStringView text, bool asComment, bool closed, QString savedLine, qsizetype savedPos) {
    const qsizetype size = asComment ? text.size() + (closed ? 2 : 1) : 0;
    if (size <= savedPos) {
        if (size > 0) {
            QChar* out = savedLine.data() + (savedPos - size);
            *out++ = u';';
            out = std::copy(text.begin(), text.end(), out);
            if (closed)
                *out = u';';
        }
        line_ = std::move(savedLine);
        pos_ = savedPos - size;
    } else {
        QString rebuilt;
        rebuilt.reserve(size + savedLine.size() - savedPos);
        rebuilt.append(u';');
        rebuilt.append(text);
        if (closed)
            rebuilt.append(u';');
        rebuilt.append(QStringView(savedLine).mid(savedPos));
        line_ = std::move(rebuilt);
        pos_ = 0;
    }
}

// The comment text is in Token. With `keep` the rest is put back as a complete comment (its
// closing ";" was consumed); without, the closing ";" or other terminator is still at the front
// of the saved line, so only ";" and the text go back (an empty comment still leaves its ";").
QString CgifReader::ExtractTitle(bool keep) {
    QString savedLine = std::move(line_);
    const qsizetype savedPos = pos_;
    line_ = token_;
    pos_ = 0;
    if (!line_.isEmpty() && MatchChar(u'%', false)) {
        if (!ReadUntil(u'%'))
            return {}; // the saved line is not restored
        const QString title = token_;
        MatchChar(u'%', false);
        const QStringView rest = QStringView(line_).mid(pos_);
        if (rest.isEmpty())
            RebuildLine({}, !keep, false, std::move(savedLine), savedPos);
        else
            RebuildLine(rest, true, keep, std::move(savedLine), savedPos);
        return title;
    }
    if (token_.isEmpty())
        RebuildLine({}, !keep, false, std::move(savedLine), savedPos);
    else
        RebuildLine(token_, true, keep, std::move(savedLine), savedPos);
    return {};
}

void CgifReader::ReportParseError(int number, const QString& message) {
    throw ParseError(number, message + QStringLiteral(" (at ") + CurrentLine() + u')');
}

} // namespace zov::cgif
