#pragma once
// Splitting shape names ("label/id") and label texts ("type:referent") at their first
// separator. Every search is exact and case-sensitive.
#include <QString>
#include <QStringView>
#include <cstdint>

namespace zov::drawing {

// The text before the first "/" of a shape name; "" when there is none.
QString LabelPart(const QString& name);
// The same as a piece of `name`, for callers that keep no copy.
QStringView LabelPartView(QStringView name);
// The text after the first "/" of a shape name; the whole name when there is none.
QString IdPart(const QString& name);
// The text before the first ":" of a label; the whole label when there is none.
QString TypePart(const QString& label);
QStringView TypePartView(QStringView label);
// The text after the first ":" of a label; "" when there is none.
QString ReferentPart(const QString& label);
QStringView ReferentPartView(QStringView label);

// The 1-based position of the first occurrence of `search` in `text`, plus one (so the
// position just after a one-character match); 0 when it does not occur. Positions past the
// 16-bit range saturate at 32767.
std::int16_t PositionAfter(const QString& search, const QString& text);
// PositionAfter("*", text).
std::int16_t StarPosition(const QString& text);

} // namespace zov::drawing
