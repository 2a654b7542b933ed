// The change-label command: with an empty text box it copies the label of the shape under the
// pointer into the box; with text in the box it checks the text as concept content and writes
// it onto the shape. A graph title converts between "name is type" and "type:*name".
#include "drawing/GraphEncoding.h"
#include "drawing/GraphTitle.h"
#include "drawing/NameParts.h"
#include "editor/EditorMessages.h"
#include "editor/EditorSession.h"
#include "host/HostError.h"

namespace zov::editor {

namespace {

// "p1 is Proposition" -> "Proposition:*p1 ": what follows the first " is ", then ":*", then
// everything before that " is " with the blank that opens it.
QString TitleAsConceptText(const QString& title) {
    const qsizetype found = title.indexOf(QStringLiteral(" is "));
    const qsizetype position = found < 0 ? 0 : found + 1; // 1-based, 0 when absent
    const qsizetype tailLength = std::max<qsizetype>(0, title.size() - position - 3);
    return title.right(tailLength) + QStringLiteral(":*") + title.left(position);
}

// A pentagon's text as the editor and the import write it: the concept, then the coreference
// it stands for in parentheses ("Cat(x)", "Cat:'Tom'(t)", "Cat(Person in G1)",
// "Proposition (G2)", "(Dog in G1)"). The concept part, without blanks around it, is what must
// read as a concept; a text without such parentheses is all concept.
QString PentagonConceptPart(const QString& text) {
    if (!text.endsWith(u')'))
        return text;
    const qsizetype open = text.indexOf(u'(');
    if (open < 0)
        return text;
    return text.left(open).trimmed();
}

} // namespace

void EditorSession::ChangeLabelAtPointer() {
    if (ReportNoBoxes())
        return;
    labelTarget_ = ShapeAtPointer();
    // The target is held only while this run lasts, however it ends.
    struct ReleaseTarget {
        host::Shape& target;
        ~ReleaseTarget() { target = host::Shape(); }
    } release{labelTarget_};
    host::TextRangeFormat range(std::weak_ptr<host::ShapeData>(), 1, -1);
    QString current;
    int type = 0;
    try {
        if (labelTarget_.IsNothing())
            return;
        type = labelTarget_.AutoShapeType();
        range = labelTarget_.TextFrame().TextRange();
        current = range.Text();
    } catch (const host::HostError&) {
        return;
    }

    const QString typed = textBox_->Text();
    if (!typed.isEmpty()) {
        int index = 0;
        const QString conceptText = type == drawing::CoreferentConceptShapeType ? PentagonConceptPart(typed) : typed;
        if (!conceptText.isEmpty() && !ReadTypedConcept(conceptText, messages::LabelSyntaxTitle, index))
            return;
        if (type == drawing::TitleLabelShapeType) {
            reader_.SplitGraphTitle(typed);
            if (!RenameGraphSlide(labelTarget_, reader_.GraphTitleName().ToString()))
                return;
            range.SetText(reader_.GraphTitleName() + QStringLiteral(" is ") + reader_.GraphTitleType());
        } else {
            range.SetText(typed);
        }
        textBox_->SetText(QString());
    } else if (type == drawing::TitleLabelShapeType) {
        textBox_->SetText(TitleAsConceptText(current));
    } else {
        textBox_->SetText(current);
    }
}

// The graph's name is its slide's name: a new name in the title renames the slide, and the
// title label's own name with it, so that Show and Jump find the graph by it. A name the host
// refuses (empty, or another slide's) is reported with the host's message; nothing changes.
bool EditorSession::RenameGraphSlide(host::Shape title, const QString& name) {
    try {
        drawing::NameGraphSlide(title, name);
        return true;
    } catch (const host::HostError& refused) {
        messages_.inform(QString::fromUtf8(refused.what()), messages::ErrorTitle, platform::MessageIcon::Critical);
        return false;
    }
}

} // namespace zov::editor
