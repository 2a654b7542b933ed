// The node commands: a concept, relation or actor from the text box at the mouse pointer,
// each read by the CGIF reader's own routine so that what can be typed is what it accepts,
// and the comment command.
#include "drawing/GraphEncoding.h"
#include "drawing/NodeShape.h"
#include "editor/EditorMessages.h"
#include "editor/EditorSession.h"

namespace zov::editor {

void EditorSession::NewConceptAtPointer() {
    const QString text = textBox_->Text();
    if (text.isEmpty()) {
        messages_.inform(messages::NoLabel, messages::ErrorTitle, platform::MessageIcon::Critical);
        return;
    }
    int index = 0;
    if (!ReadTypedConcept(text, messages::NodeSyntaxTitle, index))
        return;

    const QPoint pointer = Pointer();
    const SlidePoint at = ToSlidePoints(pointer.x(), pointer.y());

    // The record this read appended first is the typed concept (a nested graph in its referent
    // may have added more after it).
    const cgif::NodeRecord record = reader_.Tables().BoundArray[static_cast<std::size_t>(index)];
    QString name = record.Id.ToString();
    QString label = record.Type.ToString();
    int type = drawing::ConceptShapeType;
    if (!record.Referent.isEmpty())
        label += QStringLiteral(":") + record.Referent;
    if (!record.Name.isEmpty()) {
        type = drawing::CoreferentConceptShapeType;
        name = record.Name + QStringLiteral("/") + record.Id.ToString();
        // A label alone is drawn as itself (the form written back as a bound label); with a
        // type the label follows in parentheses, so that the type and referent still split
        // at the first ":" and the text before "(" is the concept.
        label = label.isEmpty() ? record.Name.ToString() : label + QStringLiteral("(") + record.Name + QStringLiteral(")");
    }
    drawing::CreateNodeShape(application_, settings_, name, type, label, static_cast<float>(at.Left),
                             static_cast<float>(at.Top), settings_.conceptColor);
    textBox_->SetText(QString());
}

void EditorSession::NewRelationAtPointer() {
    NewRelationOrActor(u')', false);
}

void EditorSession::NewActorAtPointer() {
    NewRelationOrActor(u'>', true);
}

void EditorSession::NewRelationOrActor(QChar terminator, bool actor) {
    const QString text = textBox_->Text();
    if (text.isEmpty()) {
        messages_.inform(messages::NoLabel, messages::ErrorTitle, platform::MessageIcon::Critical);
        return;
    }
    reader_.SetCurrentLine(text + terminator);
    try {
        if (!reader_.ReadIdentifier(false))
            return;
    } catch (const cgif::ParseError& failure) {
        messages_.inform(failure.message(), messages::NodeSyntaxTitle, platform::MessageIcon::Critical);
        return;
    }
    if (reader_.CurrentLine() != QString(terminator))
        messages_.inform(messages::ExtraCharactersIgnored, messages::ErrorTitle, platform::MessageIcon::Information);

    const QPoint pointer = Pointer();
    const SlidePoint at = ToSlidePoints(pointer.x(), pointer.y());
    const float left = static_cast<float>(at.Left);
    const float top = RoundToInt16(at.Top);

    int type = drawing::RelationShapeType;
    std::int32_t fill = settings_.relationColor;
    if (actor) {
        type = text == drawing::ActorMarkLabel ? drawing::ActorMarkShapeType : drawing::ActorShapeType;
        fill = settings_.actorColor;
    }
    drawing::CreateNodeShape(application_, settings_, ids_.NewNodeId(), type, reader_.Token(), left, top, fill);
    textBox_->SetText(QString());
}

void EditorSession::CommentAtPointer() {
    const QPoint pointer = Pointer();
    const SlidePoint at = ToSlidePoints(pointer.x(), pointer.y());
    host::Shape shape =
        drawing::CreateNodeShape(application_, settings_, ids_.NewNodeId(), drawing::CommentShapeType, QString(),
                                 static_cast<float>(at.Left), RoundToInt16(at.Top), settings_.commentColor);
    if (shape.IsNothing())
        return;
    host::TextRangeFormat text = shape.TextFrame().TextRange();
    text.SetText(QStringLiteral("Comment"));
    text.Font().SetName(settings_.commentFontName);
    text.Font().SetSize(static_cast<float>(settings_.commentFontSize));
    text.Select();
    shape.SetShapesDefaultProperties();
}

} // namespace zov::editor
