#include "platform/HelpViewer.h"

namespace zov::platform {

HelpLocation SplitHelpLocation(const QString& location) {
    const QString marker = QStringLiteral("::/");
    const qsizetype at = location.indexOf(marker);
    if (at < 0)
        return {location, QString()};
    return {location.left(at), location.mid(at + marker.size())};
}

} // namespace zov::platform
