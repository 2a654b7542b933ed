// The session itself: construction, the run key's dispatch, slide measurement, the pointer,
// and the small helpers the commands share.
#include "editor/EditorSession.h"

#include "drawing/GraphEncoding.h"
#include "editor/EditorMessages.h"
#include "editor/NodeTables.h"
#include "host/HostError.h"

namespace zov::editor {

EditorSession::EditorSession(host::Application& application, const drawing::DrawingSettings& settings,
                             platform::MessageBoxes& messages, platform::CursorPosition& cursor)
    : application_(application), settings_(settings), messages_(messages), cursor_(cursor),
      nestedGraphs_(application, settings, messages), reader_(ids_, messages, nestedGraphs_) {
    // A graph title without "*" takes its name from the palette's text box.
    reader_.SetPaletteTextSource([this] { return textBox_->Text(); });
    // A generated graph name "G" + number passes over names slides already have, both for
    // Add graph and for the graphs an import draws.
    reader_.SetGraphNameTaken([this](const QString& name) { return FindGraphSlide(name) != 0; });
}

void EditorSession::ResetForStart(std::uint32_t seed) {
    reader_.SetGraphCounter(1);
    commandMode_ = CommandCode::NewConcept;
    reader_.Tables().Links.clear();
    ids_.Seed(seed);
}

void EditorSession::SetCommandMode(std::int16_t code) {
    commandMode_ = code;
    textBox_->SetText(QString());
}

void EditorSession::RunCommandAtPointer() {
    if (!MeasureSlide()) {
        messages_.inform(messages::NoPresentationWindow, messages::AppTitle, platform::MessageIcon::Critical);
        return;
    }
    try {
        switch (commandMode_) {
        case CommandCode::NewConcept: NewConceptAtPointer(); break;
        case CommandCode::NewRelation: NewRelationAtPointer(); break;
        case CommandCode::NewActor: NewActorAtPointer(); break;
        case CommandCode::Link: LinkAtPointer(); break;
        case CommandCode::ChangeLabel: ChangeLabelAtPointer(); break;
        case CommandCode::Jump: JumpAtPointer(); break;
        case CommandCode::Comment: CommentAtPointer(); break;
        default: break;
        }
    } catch (const std::exception& failure) {
        ReportFailure(failure);
    }
    if (commandMode_ != CommandCode::Link && commandMode_ != CommandCode::ChangeLabel &&
        commandMode_ != CommandCode::Comment)
        ClearAndFocusTextBox();
    RebuildNodeTables();
}

bool EditorSession::MeasureSlide() {
    host::DocumentWindow window = application_.ActiveWindow();
    if (window.IsNothing())
        return false;
    try {
        const host::Presentation presentation = window.Presentation();
        if (presentation.IsNothing())
            return false;
        window.SetViewType(host::ViewNormal);
        if (window.ActivePane().ViewType() != host::ViewSlide)
            window.Panes(2).Activate();
        editor::SlideGeometry measured;
        measured.OriginX = window.PointsToScreenPixelsX(0);
        measured.OriginY = window.PointsToScreenPixelsY(0);
        measured.HeightPoints = RoundToInt16(presentation.PageSetup().SlideHeight());
        measured.WidthPoints = presentation.PageSetup().SlideWidth();
        measured.EndX = window.PointsToScreenPixelsX(static_cast<float>(measured.WidthPoints));
        measured.EndY = window.PointsToScreenPixelsY(measured.HeightPoints);
        geometry_ = measured;
        return true;
    } catch (const host::HostError&) {
        return false;
    }
}

host::Shape EditorSession::ShapeAtPointer() const {
    const host::DocumentWindow window = application_.ActiveWindow();
    if (window.IsNothing())
        return host::Shape();
    const QPoint pointer = Pointer();
    return window.RangeFromPoint(pointer.x(), pointer.y());
}

void EditorSession::RebuildNodeTables() {
    try {
        editor::RebuildNodeTables(application_.ActivePresentation(), reader_);
    } catch (const host::HostError&) {
        // The walk reads what the host can give; a presentation that vanished leaves what was
        // found so far.
    }
}

QString EditorSession::NewCoreferenceLabel() const {
    return editor::NewCoreferenceLabel(application_.ActivePresentation());
}

void EditorSession::ClearLinkPicks() {
    linkFrom_ = host::Shape();
    linkTo_ = host::Shape();
}

int EditorSession::ShapesInView() const {
    const host::DocumentWindow window = application_.ActiveWindow();
    if (window.IsNothing())
        return -1;
    try {
        return window.View().Slide().Shapes().Count();
    } catch (const host::HostError&) {
        return -1;
    }
}

bool EditorSession::ReportNoBoxes() {
    if (ShapesInView() != 1)
        return false;
    // One shape is the graph's title label alone; on a slide without a title label (a blank
    // slide drawn on) the one shape may be a node, which the commands act on.
    try {
        if (drawing::IsGraphNodeShapeType(application_.ActiveWindow().View().Slide().Shapes().Item(1).AutoShapeType()))
            return false;
    } catch (const host::HostError&) {
        // a shape the host cannot read: no box
    }
    messages_.inform(messages::NoBoxes, messages::AppTitle, platform::MessageIcon::Critical);
    return true;
}

void EditorSession::ReportFailure(const std::exception& failure) {
    messages_.inform(messages::CommandFailed + QString::fromUtf8(failure.what()), messages::AppTitle,
                     platform::MessageIcon::Critical);
}

void EditorSession::ClearAndFocusTextBox() {
    textBox_->SetText(QString());
    textBox_->SetFocus();
}

bool EditorSession::ReadTypedConcept(const QString& text, const QString& syntaxTitle, int& recordIndex) {
    reader_.SetCurrentLine(QStringLiteral("[") + text + QStringLiteral("]"));
    reader_.SetAtEnd(false);
    // Read as if the concept were the next element of one graph that holds every node of the
    // presentation, so that a bound label resolves against the node table.
    cgif::ReaderTables& tables = reader_.Tables();
    recordIndex = static_cast<int>(tables.BoundArray.size());
    tables.Contexts.clear();
    tables.Contexts.push_back(cgif::ContextRecord{recordIndex, cgif::NodeKind::Graph, cgif::UpperBound(tables.Links),
                                                  cgif::UpperBound(tables.PendingArgs), cgif::NodeId(), cgif::NodeId()});
    // A nested graph drawn on a slide of its own moves the view there; the command goes on
    // on the slide it started on.
    host::Slide startSlide;
    const host::DocumentWindow window = application_.ActiveWindow();
    if (!window.IsNothing()) {
        try {
            startSlide = window.View().Slide();
        } catch (const host::HostError&) {
        }
    }
    struct ReturnToStart {
        const host::DocumentWindow& window;
        const host::Slide& slide;
        ~ReturnToStart() {
            try {
                if (!slide.IsNothing() && !(window.View().Slide() == slide))
                    window.View().GotoSlide(slide.SlideIndex());
            } catch (const host::HostError&) {
            }
        }
    } returnToStart{window, startSlide};
    try {
        if (!reader_.ReadConcept(false))
            return false;
    } catch (const cgif::ParseError& failure) {
        messages_.inform(failure.message(), syntaxTitle, platform::MessageIcon::Critical);
        return false;
    } catch (const std::exception& failure) {
        // Anything else the reading raised (a nested graph its sink could not draw) is shown
        // the same way: the command stops there.
        messages_.inform(QString::fromUtf8(failure.what()), syntaxTitle, platform::MessageIcon::Critical);
        return false;
    }
    return recordIndex < static_cast<int>(tables.BoundArray.size());
}

} // namespace zov::editor
