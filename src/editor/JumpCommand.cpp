// The coreference jump: from a coreferent concept to the graph where its label occurs
// earlier in the node table, or, when the concept's text is its label, to the graph of that
// name.
#include "drawing/GraphEncoding.h"
#include "drawing/NameParts.h"
#include "editor/EditorMessages.h"
#include "editor/EditorSession.h"
#include "host/HostError.h"

namespace zov::editor {

void EditorSession::JumpAtPointer() {
    if (ReportNoBoxes())
        return;
    const host::Shape shape = ShapeAtPointer();
    QString text;
    QString name;
    try {
        if (shape.IsNothing())
            return;
        if (shape.AutoShapeType() != drawing::CoreferentConceptShapeType) {
            messages_.inform(messages::NotAConcept, messages::AppTitle, platform::MessageIcon::Critical);
            return;
        }
        text = shape.TextFrame().TextRange().Text();
        name = shape.Name();
    } catch (const host::HostError&) {
        return;
    }
    textBox_->SetText(text);
    if (text.isEmpty()) {
        messages_.inform(messages::NoNameToJumpTo, messages::ErrorTitle, platform::MessageIcon::Critical);
        return;
    }
    const QString label = drawing::LabelPart(name);
    if (label == textBox_->Text()) {
        GoToGraph(text);
        return;
    }
    cgif::NodeRecord record;
    int index = 0;
    if (!reader_.FindNodeById(drawing::IdPart(name), record, index))
        index = 0;
    cgif::NodeRecord defining;
    cgif::NodeRecord graph;
    try {
        reader_.FindCurrentCoreference(record.Name, index - 1, defining, graph);
    } catch (const cgif::ParseError&) {
        messages_.inform(messages::CoreferenceNotFound, messages::ErrorTitle, platform::MessageIcon::Critical);
        return;
    }
    GoToGraph(graph.Name.ToString());
}

} // namespace zov::editor
