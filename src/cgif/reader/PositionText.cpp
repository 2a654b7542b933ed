#include "cgif/reader/PositionText.h"

#include "cgif/grammar/WriterPosition.h"
#include "cgif/reader/CgifReader.h"

namespace zov::cgif {

std::optional<float> ToSingle(QStringView text) {
    QStringView view = text;
    while (!view.isEmpty() && view.front().isSpace())
        view = view.mid(1);
    while (!view.isEmpty() && view.back().isSpace())
        view.chop(1);
    return grammar::ParseSingle<ReaderText>(view.data(), view.size());
}

PositionValue PositionFromTitle(QStringView title) {
    const qsizetype at = title.indexOf(u'@');
    if (title.isEmpty() || at < 0)
        return {};
    const std::optional<float> x = ToSingle(title.left(at));
    const std::optional<float> y = ToSingle(title.mid(at + 1));
    if (!y)
        return {};
    return {x.value_or(0.0f), *y};
}

} // namespace zov::cgif
