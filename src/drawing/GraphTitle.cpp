#include "drawing/GraphTitle.h"

#include "drawing/GraphEncoding.h"
#include "drawing/NameParts.h"

namespace zov::drawing {

void RenameGraphTitle(host::Shape title, const QString& oldName, const QString& newName)
{
    host::TextRangeFormat text = title.TextFrame().TextRange();
    if (text.Text().startsWith(oldName + QStringLiteral(" is ")))
        text.Characters(1, static_cast<int>(oldName.size())).SetText(newName);
    if (LabelPart(title.Name()) == oldName)
        title.SetName(newName + NameSeparator + IdPart(title.Name()));
}

} // namespace zov::drawing
