#include "platform/TextFileReader.h"

#include "memory/LargeMemory.h"
#include "platform/LineSplit.h"
#include "platform/TextEncoding.h"

#include <QStringDecoder>
#include <cstring>

namespace zov::platform {

namespace {

bool IsLineEnd(char c) { return c == '\n' || c == '\r'; }

} // namespace

TextFileReader::TextFileReader(QByteArray bytes) : bytes_(std::move(bytes))
{
    qsizetype mark = 0; // a byte order mark is not part of the first line
    encoding_ = EncodingOf(bytes_, mark);
    next_ = mark;
    if (DecodedWhole(encoding_)) {
        // Rare, and no smaller as text than as bytes: decoded whole, as one block.
        block_ = DecodeTextBytes(bytes_);
        bytes_ = QByteArray();
        next_ = 0;
    }
}

std::optional<QStringView> TextFileReader::UnreadText() const
{
    if (next_ < bytes_.size())
        return std::nullopt; // blocks are still to be decoded
    return QStringView(block_).mid(pos_);
}

std::optional<std::string_view> TextFileReader::InputBytes() const
{
    if (linesRead_ || (encoding_ != TextEncoding::Utf8 && encoding_ != TextEncoding::Windows1252))
        return std::nullopt;
    return std::string_view(bytes_.constData() + next_, static_cast<std::size_t>(bytes_.size() - next_));
}

qsizetype TextFileReader::BlockEnd() const
{
    const char* data = bytes_.constData();
    const qsizetype size = bytes_.size();
    if (size - next_ <= TextBlockBytes)
        return size;
    qsizetype end = next_ + TextBlockBytes;
    qsizetype lineEnd = end - 1;
    while (lineEnd >= next_ && !IsLineEnd(data[lineEnd]))
        --lineEnd;
    if (lineEnd < next_) { // a line longer than a block: the block holds it whole
        // Its end: the first LF, or a CR before it (each searched for no further than needed).
        const void* lf = std::memchr(data + end, '\n', static_cast<std::size_t>(size - end));
        const qsizetype lfAt = lf ? static_cast<const char*>(lf) - data : size;
        const void* cr = std::memchr(data + end, '\r', static_cast<std::size_t>(lfAt - end));
        lineEnd = cr ? static_cast<const char*>(cr) - data : lfAt;
        if (lineEnd == size)
            return size;
    }
    // A CR LF is one line end: the block never ends between its two bytes.
    if (data[lineEnd] == '\r' && lineEnd + 1 < size && data[lineEnd + 1] == '\n')
        ++lineEnd;
    return lineEnd + 1;
}

bool TextFileReader::DecodeNextBlock()
{
    if (next_ >= bytes_.size())
        return false;
    const qsizetype end = BlockEnd();
    const QByteArrayView piece(bytes_.constData() + next_, end - next_);
    // Never more UTF-16 units than bytes. A large block (a long line) asks for 2 MB pages: it is
    // written once, straight through, and a fault per 4 KB page would cost as much as decoding.
    if (block_.capacity() < piece.size()) {
        block_ = QString(piece.size(), Qt::Uninitialized);
        memory::AdviseLargePages(block_.data(), static_cast<std::size_t>(piece.size()) * sizeof(QChar));
    } else {
        block_.resize(piece.size());
    }
    QChar* out = block_.data();
    if (encoding_ == TextEncoding::Utf8) {
        QStringDecoder utf8(QStringDecoder::Utf8, KeepMarks);
        block_.truncate(utf8.appendToBuffer(out, piece) - out);
    } else {
        DecodeCp1252(piece, out);
    }
    pos_ = 0;
    next_ = end;
    if (next_ >= bytes_.size())
        bytes_ = QByteArray(); // all decoded: the bytes are not needed any more
    return true;
}

QStringView TextFileReader::ReadLineView()
{
    linesRead_ = true;
    if (pos_ >= block_.size() && !DecodeNextBlock()) {
        lastLine_ = -1;
        return {};
    }
    // A block ends after a line end (or at the end of the file): every line is whole in it.
    lastLine_ = pos_;
    return TakeLine(block_, pos_);
}

void TextFileReader::Write(const QString&)
{
    throw FileError(QStringLiteral("The file is open for reading, not writing"));
}

void TextFileReader::WriteLine(const QString&) { Write(QString()); }

void TextFileReader::Close()
{
    bytes_ = QByteArray();
    block_ = QString();
    next_ = 0;
    pos_ = 0;
    lastLine_ = -1;
}

} // namespace zov::platform
