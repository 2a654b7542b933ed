#include "platform/CommandLineNames.h"

#include <clocale>

namespace zov::platform {

namespace {
// The length of the UTF-8 sequence a lead byte starts, 0 for a byte that starts none.
qsizetype SequenceLength(unsigned char lead) {
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}
} // namespace

std::optional<QString> NameNotUtf8(QByteArrayView argument) {
    if (argument.isValidUtf8())
        return std::nullopt;
    QString shown;
    for (qsizetype i = 0; i < argument.size();) {
        const qsizetype length = SequenceLength(static_cast<unsigned char>(argument[i]));
        if (length > 0 && i + length <= argument.size() && argument.sliced(i, length).isValidUtf8()) {
            shown += QString::fromUtf8(argument.sliced(i, length));
            i += length;
        } else {
            const auto byte = static_cast<unsigned char>(argument[i]);
            shown += QStringLiteral("\\x") + QString::number(byte, 16).toUpper().rightJustified(2, u'0');
            ++i;
        }
    }
    return shown;
}

QString NotUtf8Reason() {
    return QStringLiteral("its name is not UTF-8 text, and ZOVEdit can open or write a file only by a UTF-8 name: "
                          "rename the file, or choose another name");
}

void KeepSystemMessagesInEnglish() { std::setlocale(LC_MESSAGES, "C"); }

} // namespace zov::platform
