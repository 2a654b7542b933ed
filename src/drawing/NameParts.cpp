#include "drawing/NameParts.h"

#include "drawing/GraphEncoding.h"

#include <limits>

namespace zov::drawing {

QString LabelPart(const QString& name) { return LabelPartView(name).toString(); }

QStringView LabelPartView(QStringView name) {
    const qsizetype at = name.indexOf(NameSeparator);
    return at < 0 ? QStringView() : name.left(at);
}

QString IdPart(const QString& name) {
    const qsizetype at = name.indexOf(NameSeparator);
    return at < 0 ? name : name.mid(at + 1);
}

QString TypePart(const QString& label) {
    const qsizetype at = label.indexOf(LabelSeparator);
    return at < 0 ? label : label.left(at);
}

QString ReferentPart(const QString& label) {
    const qsizetype at = label.indexOf(LabelSeparator);
    return at < 0 ? QString() : label.mid(at + 1);
}

QStringView TypePartView(QStringView label) {
    const qsizetype at = label.indexOf(LabelSeparator);
    return at < 0 ? label : label.left(at);
}

QStringView ReferentPartView(QStringView label) {
    const qsizetype at = label.indexOf(LabelSeparator);
    return at < 0 ? QStringView() : label.mid(at + 1);
}

std::int16_t PositionAfter(const QString& search, const QString& text) {
    const qsizetype at = text.indexOf(search, 0, Qt::CaseSensitive);
    if (at < 0)
        return 0;
    const qsizetype position = at + 2; // 0-based index -> 1-based position, plus one
    constexpr qsizetype limit = std::numeric_limits<std::int16_t>::max();
    return static_cast<std::int16_t>(position > limit ? limit : position);
}

std::int16_t StarPosition(const QString& text) { return PositionAfter(QStringLiteral("*"), text); }

} // namespace zov::drawing
