#pragma once
// A text stream for tests that write: everything written is kept as text (line ends as CR LF,
// exactly as a file would get them), and the test can tell whether the stream was closed.
// Writing after Close throws FileError, like a real file.
#include "platform/TextStream.h"

namespace zov::platform {

class MemoryTextStream : public TextStream {
public:
    QString ReadLine() override { throw FileError(QStringLiteral("The stream is open for writing, not reading")); }
    bool AtEndOfStream() const override { return true; }
    void Write(const QString& text) override
    {
        if (closed_)
            throw FileError(QStringLiteral("The stream is already closed"));
        written_ += text;
    }
    void WriteLine(const QString& text) override
    {
        Write(text);
        Write(QStringLiteral("\r\n"));
    }
    void Close() override
    {
        closed_ = true;
        ++closeCount_;
    }

    const QString& written() const { return written_; }
    bool closed() const { return closed_; }
    int closeCount() const { return closeCount_; }

private:
    QString written_;
    bool closed_ = false;
    int closeCount_ = 0;
};

} // namespace zov::platform
