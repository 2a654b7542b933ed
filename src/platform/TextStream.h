#pragma once
// Line-oriented text files, as the reader and the writer use them. Reading decodes UTF-8 (or
// Windows-1252 when the bytes are not valid UTF-8) and takes CR LF, LF and a lone CR as line
// ends; writing encodes UTF-8 and ends lines with CR LF.
#include <QByteArray>
#include <QString>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace zov::platform {

class TextStream {
public:
    virtual ~TextStream() = default;
    virtual QString ReadLine() = 0;          // the next line without its end; "" past the end
    // The same line as a view that stays valid until the next read, Close or the end of the
    // stream; a reader that copies only what it keeps saves a copy of every line with it.
    virtual QStringView ReadLineView();
    virtual bool AtEndOfStream() const = 0;  // true when no line is left
    // The stream's own text of the line ReadLineView handed out last, for a reader that writes
    // into the part of it already read (a comment put back) instead of copying the whole line;
    // valid as long as that view. nullptr when the text is not the stream's alone to change
    // (the default).
    virtual QChar* WritableLastLine() { return nullptr; }
    // The text of the lines not read yet, with their line ends, for a caller that looks over the
    // whole input before reading it line by line; valid until the next read or Close. Nothing
    // when the stream does not hold its text (the default): its lines must be read to be seen.
    virtual std::optional<QStringView> UnreadText() const { return std::nullopt; }
    // The bytes of the whole input in their own encoding (UTF-8 without its byte order mark, or
    // Windows-1252), for a caller that looks over the input for ASCII characters only before
    // reading it line by line; valid until the first read or Close. Nothing once a line was
    // read, or when the stream does not hold the bytes (the default).
    virtual std::optional<std::string_view> InputBytes() const { return std::nullopt; }
    virtual void Write(const QString& text) = 0;
    virtual void WriteLine(const QString& text) = 0; // text, then CR LF
    virtual void Close() = 0;
    // Ends writing without making the file: a file it was to replace keeps its old content.
    // Streams that write nowhere in particular just close.
    virtual void Discard() { Close(); }

private:
    QString viewedLine_; // what ReadLineView hands out when a stream has no view of its own
};

class FileError : public std::exception {
public:
    explicit FileError(QString message, QString reason = QString())
        : message_(std::move(message)), reason_(std::move(reason)), bytes_(message_.toStdString()) {}
    const QString& message() const { return message_; }
    // The reason alone, as "No space left on device" (empty when the message has none apart).
    const QString& reason() const { return reason_; }
    const char* what() const noexcept override { return bytes_.c_str(); }
private:
    QString message_;
    QString reason_;
    std::string bytes_;
};

// Opens a file for reading (throws FileError naming the file and the reason). "-" reads
// standard input. The whole file is read at once and decoded a block of lines at a time
// (TextFileReader.h); a file larger than MaxTextFileBytes is refused.
std::unique_ptr<TextStream> OpenTextFile(const QString& path);
// Creates (or replaces) a file for writing (throws FileError). "-" writes standard output.
// A regular file is replaced only by Close, when everything was written (see OutputFile.h);
// Discard, or a failure, leaves it as it was.
// Write, WriteLine and Close throw FileError when the bytes cannot be written; writing to a
// closed stream throws FileError too.
std::unique_ptr<TextStream> CreateTextFile(const QString& path);
// A stream over text held in memory (tests, the palette's parse buffer).
std::unique_ptr<TextStream> StringTextStream(const QString& text);

// The largest file OpenTextFile reads.
constexpr qint64 MaxTextFileBytes = qint64(256) * 1024 * 1024;

// The text that file bytes stand for: UTF-8 when they are valid UTF-8 (a leading byte order
// mark is dropped), otherwise Windows-1252.
QString DecodeTextBytes(QByteArrayView bytes);

} // namespace zov::platform
