#include "drawing/GraphTitle.h"

#include "drawing/GraphEncoding.h"
#include "drawing/NameParts.h"
#include "host/Slide.h"

namespace zov::drawing {

namespace {
const QString TitleSeparator = QStringLiteral(" is ");
} // namespace

void RenameGraphTitle(host::Shape title, const QString& oldName, const QString& newName)
{
    host::TextRangeFormat text = title.TextFrame().TextRange();
    if (text.Text().startsWith(oldName + TitleSeparator))
        text.Characters(1, static_cast<int>(oldName.size())).SetText(newName);
    if (LabelPart(title.Name()) == oldName)
        title.SetName(newName + NameSeparator + IdPart(title.Name()));
}

std::optional<QString> GraphNameInTitle(const QString& text, const QString& known)
{
    if (!known.isEmpty() && text.startsWith(known + TitleSeparator))
        return known;
    const qsizetype at = text.indexOf(TitleSeparator);
    if (at < 0)
        return std::nullopt;
    return text.left(at);
}

void NameGraphSlide(host::Shape title, const QString& name)
{
    host::Slide slide = title.Parent();
    if (slide.Name() == name)
        return;
    slide.SetName(name);
    title.SetName(name + NameSeparator + IdPart(title.Name()));
}

} // namespace zov::drawing
