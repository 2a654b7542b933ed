#pragma once
// Every failure to open or save a .pptx file. Inside the .pptx layer the message is the bare
// reason; the public calls (PptxFile.h) rethrow it with the file named: message() is then
// "Cannot open \"FILE\": REASON" (or "Cannot save ..."), file() the file and reason() the reason.
#include "host/HostError.h"

#include <QString>

namespace zov::host {

class PptxError : public HostError {
public:
    explicit PptxError(const QString& reason) : HostError(reason.toStdString()), message_(reason), reason_(reason) {}
    PptxError(const QString& message, const QString& file, const QString& reason)
        : HostError(message.toStdString()), message_(message), file_(file), reason_(reason)
    {
    }
    const QString& message() const { return message_; }
    const QString& file() const { return file_; }
    const QString& reason() const { return reason_; }

private:
    QString message_;
    QString file_;
    QString reason_;
};

} // namespace zov::host
