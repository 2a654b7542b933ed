#include "platform/TextStream.h"

#include "platform/LineSplit.h"
#include "platform/OutputFile.h"
#include "platform/TextFileReader.h"

#include "memory/LargeMemory.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <algorithm>
#include <cstdio>
#include <utility>

namespace zov::platform {

namespace {

const QString kLineEnd = QStringLiteral("\r\n");

// Reading: the decoded text, handed out line by line.
class LineReader : public TextStream {
public:
    explicit LineReader(QString text) : text_(std::move(text)) {}

    QString ReadLine() override { return ReadLineView().toString(); }

    QStringView ReadLineView() override
    {
        if (pos_ >= text_.size())
            return {};
        lastLine_ = pos_;
        return TakeLine(text_, pos_);
    }

    bool AtEndOfStream() const override { return pos_ >= text_.size(); }

    // Only a text nobody else shares: writing into a shared one would change the other's copy.
    QChar* WritableLastLine() override
    {
        if (lastLine_ < 0 || !text_.isDetached())
            return nullptr;
        return text_.data() + lastLine_;
    }

    std::optional<QStringView> UnreadText() const override { return QStringView(text_).mid(pos_); }

    void Write(const QString&) override { throw FileError(QStringLiteral("The file is open for reading, not writing")); }
    void WriteLine(const QString&) override { Write(QString()); }
    void Close() override
    {
        text_.clear();
        pos_ = 0;
        lastLine_ = -1;
    }

private:
    QString text_;
    qsizetype pos_ = 0;
    qsizetype lastLine_ = -1; // where the line handed out last starts
};

// Writing: UTF-8 bytes gathered in a buffer and handed to the file in large pieces. A named
// file goes through an OutputFile (replaced on Close only); standard output through a QFile.
class FileWriter : public TextStream {
public:
    FileWriter(std::unique_ptr<QFile> file, QString displayName)
        : file_(std::move(file)), displayName_(std::move(displayName)) {}
    explicit FileWriter(std::unique_ptr<OutputFile> output)
        : output_(std::move(output)), displayName_(output_->Path()) {}

    ~FileWriter() override
    {
        // Unfinished output is abandoned: a file it was to replace stays as it was.
        try {
            if (file_)
                Close();
        } catch (const FileError&) {
            // Nobody is left to tell; a caller who cares calls Close itself.
        }
    }

    QString ReadLine() override { throw FileError(QStringLiteral("The file is open for writing, not reading")); }
    bool AtEndOfStream() const override { return true; }

    void Write(const QString& text) override
    {
        if (!file_ && !output_)
            throw FileError(QStringLiteral("The file \"%1\" is already closed").arg(displayName_));
        buffer_ += text.toUtf8();
        if (buffer_.size() >= kFlushBytes)
            flush();
    }

    void WriteLine(const QString& text) override
    {
        Write(text);
        Write(kLineEnd);
    }

    void Close() override
    {
        if (output_) {
            try {
                flush();
                output_->Commit();
            } catch (const FileError&) {
                output_.reset();
                throw;
            }
            output_.reset();
            return;
        }
        if (!file_)
            return;
        try {
            flush();
            if (!file_->flush())
                fail();
        } catch (const FileError&) {
            file_.reset();
            throw;
        }
        file_->close();
        file_.reset();
    }

    void Discard() override
    {
        buffer_.clear();
        if (output_) {
            output_.reset();
            return;
        }
        Close();
    }

private:
    static constexpr qsizetype kFlushBytes = 64 * 1024;

    void flush()
    {
        if (output_) {
            const QByteArray bytes = std::exchange(buffer_, QByteArray());
            output_->Write(bytes);
            return;
        }
        qsizetype done = 0;
        while (done < buffer_.size()) {
            const qint64 written = file_->write(buffer_.constData() + done, buffer_.size() - done);
            if (written <= 0)
                fail();
            done += static_cast<qsizetype>(written);
        }
        buffer_.clear();
    }

    [[noreturn]] void fail()
    {
        buffer_.clear();
        throw FileError(QStringLiteral("Cannot write to \"%1\": %2").arg(displayName_, file_->errorString()),
                        file_->errorString());
    }

    std::unique_ptr<QFile> file_;
    std::unique_ptr<OutputFile> output_;
    QString displayName_;
    QByteArray buffer_;
};

QString nameOf(const QString& path, const char* standardName)
{
    return path == QLatin1String("-") ? QString::fromLatin1(standardName) : path;
}

} // namespace

QStringView TextStream::ReadLineView()
{
    viewedLine_ = ReadLine();
    return viewedLine_;
}

// All the bytes of a file or of standard input, in pieces so that standard input (whose size is
// unknown) obeys the same limit; a regular file's are read into room for them all.
QByteArray readAllBytes(QFile& file, const QString& name)
{
    const auto tooLarge = [&] {
        return FileError(QStringLiteral("Cannot read \"%1\": the file is larger than %2 MB")
                             .arg(name)
                             .arg(MaxTextFileBytes / (1024 * 1024)));
    };
    const qint64 size = file.isSequential() ? 0 : file.size();
    if (size > MaxTextFileBytes)
        throw tooLarge();
    // Read straight into the buffer, which grows by doubling when the file turns out larger
    // than it said (standard input says nothing).
    QByteArray bytes(std::max<qint64>(size + 1, 64 * 1024), Qt::Uninitialized);
    qsizetype filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            if (filled > MaxTextFileBytes)
                throw tooLarge();
            bytes.resize(std::min<qsizetype>(2 * filled, MaxTextFileBytes + 1));
        }
        const qint64 got = file.read(bytes.data() + filled, bytes.size() - filled);
        if (got < 0)
            throw FileError(QStringLiteral("Cannot read \"%1\": %2").arg(name, file.errorString()));
        if (got == 0)
            break;
        filled += static_cast<qsizetype>(got);
    }
    if (filled > MaxTextFileBytes)
        throw tooLarge();
    bytes.truncate(filled);
    return bytes;
}

std::unique_ptr<TextStream> OpenTextFile(const QString& path)
{
    const QString name = nameOf(path, "standard input");
    auto file = std::make_unique<QFile>();
    bool opened = false;
    if (path == QLatin1String("-")) {
        opened = file->open(stdin, QIODevice::ReadOnly);
    } else {
        if (path.isEmpty())
            throw FileError(QStringLiteral("Cannot open a file without a name"));
        if (QFileInfo(path).isDir())
            throw FileError(QStringLiteral("Cannot open \"%1\": it is a folder").arg(name));
        file->setFileName(path);
        opened = file->open(QIODevice::ReadOnly);
    }
    if (!opened)
        throw FileError(QStringLiteral("Cannot open \"%1\": %2").arg(name, file->errorString()));
    QByteArray bytes = readAllBytes(*file, name);
    // A presentation given where text belongs would otherwise be read as text and fail on its
    // compressed bytes with a message quoting them.
    if (bytes.startsWith("PK\x03\x04") || bytes.startsWith("PK\x05\x06"))
        throw FileError(QStringLiteral("Cannot read \"%1\" as text: it is a zip archive, such as a presentation").arg(name));
    return std::make_unique<TextFileReader>(std::move(bytes));
}

std::unique_ptr<TextStream> CreateTextFile(const QString& path)
{
    if (path != QLatin1String("-"))
        return std::make_unique<FileWriter>(std::make_unique<OutputFile>(path));
    auto file = std::make_unique<QFile>();
    std::fflush(stdout);
    if (!file->open(stdout, QIODevice::WriteOnly))
        throw FileError(QStringLiteral("Cannot create \"standard output\": %1").arg(file->errorString()));
    return std::make_unique<FileWriter>(std::move(file), QStringLiteral("standard output"));
}

std::unique_ptr<TextStream> StringTextStream(const QString& text)
{
    return std::make_unique<LineReader>(text);
}

} // namespace zov::platform
