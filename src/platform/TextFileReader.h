#pragma once
// Reading a text file's lines from its bytes held in memory, decoded a block of whole lines at a
// time instead of all at once: a file of many lines then never holds its whole text twice (as
// bytes and as UTF-16, which takes twice the bytes), and only the block is written to fresh
// memory. A line longer than a block makes a block of its own. The bytes go as soon as the last
// block is decoded, so a file of one long line holds no more than the whole text would.
#include "platform/TextEncoding.h"
#include "platform/TextStream.h"

#include <QByteArray>
#include <QString>

namespace zov::platform {

// How many bytes of a file are decoded at a time (cut back to the last line end in them).
constexpr qsizetype TextBlockBytes = 64 * 1024;

class TextFileReader : public TextStream {
public:
    // `bytes`: the whole file, decoded in the encoding TextEncoding.h tells, as DecodeTextBytes
    // decodes it.
    explicit TextFileReader(QByteArray bytes);

    QString ReadLine() override { return ReadLineView().toString(); }
    QStringView ReadLineView() override;
    bool AtEndOfStream() const override { return pos_ >= block_.size() && next_ >= bytes_.size(); }
    QChar* WritableLastLine() override { return lastLine_ < 0 ? nullptr : block_.data() + lastLine_; }
    // The rest of the text once the last block is decoded (a UTF-16 file is one block).
    std::optional<QStringView> UnreadText() const override;
    // The bytes of a UTF-8 or Windows-1252 file, where ASCII characters are single bytes.
    std::optional<std::string_view> InputBytes() const override;

    void Write(const QString&) override;
    void WriteLine(const QString&) override;
    void Close() override;

private:
    // Decodes the next block of whole lines into block_; false when no bytes are left.
    bool DecodeNextBlock();
    // Where the block starting at next_ ends: after the last line end within TextBlockBytes, or
    // after the first one beyond when there is none, or at the end of the bytes.
    qsizetype BlockEnd() const;

    QByteArray bytes_;
    TextEncoding encoding_ = TextEncoding::Utf8;
    qsizetype next_ = 0;       // the first byte not decoded yet
    bool linesRead_ = false;
    QString block_;            // the decoded block
    qsizetype pos_ = 0;        // the first character of block_ not handed out
    qsizetype lastLine_ = -1;  // where in block_ the line handed out last starts
};

} // namespace zov::platform
