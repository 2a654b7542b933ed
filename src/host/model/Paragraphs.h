#pragma once
// Splitting text into paragraphs: CR LF, a lone CR and a lone LF each end a paragraph; a
// vertical tab is a soft line break and stays inside its paragraph.
#include <QString>
#include <QStringList>

namespace zov::host {

QStringList splitParagraphs(const QString& text);

} // namespace zov::host
