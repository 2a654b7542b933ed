#include "platform/CommonDialog.h"

#include <QStringList>

namespace zov::platform {

std::vector<FilterEntry> ParseFilter(const QString& filter) {
    QStringList parts = filter.split(QLatin1Char('|'));
    if (!parts.isEmpty() && parts.back().isEmpty())
        parts.removeLast(); // the "|" that ends the last pattern
    std::vector<FilterEntry> entries;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        FilterEntry entry{parts[i], i + 1 < parts.size() ? parts[i + 1] : QString()};
        if (entry.description.isEmpty() && entry.pattern.isEmpty())
            continue;
        entries.push_back(std::move(entry));
    }
    return entries;
}

} // namespace zov::platform
