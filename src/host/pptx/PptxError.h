#pragma once
// Every failure to open or save a .pptx file: the message names the file and the reason.
#include "host/HostError.h"

#include <QString>

namespace zov::host {

class PptxError : public HostError {
public:
    explicit PptxError(const QString& message) : HostError(message.toStdString()), message_(message) {}
    const QString& message() const { return message_; }
private:
    QString message_;
};

} // namespace zov::host
