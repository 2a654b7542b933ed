// Whole graph slides: adding a graph on a new slide with its title label, clearing a slide
// back to its title, finding a graph's slide by name and going there.
#include "drawing/GraphEncoding.h"
#include "editor/EditorMessages.h"
#include "editor/EditorSession.h"
#include "host/HostError.h"

namespace zov::editor {

namespace {
constexpr float TitleLeft = 0, TitleTop = 0, TitleWidth = 100, TitleHeight = 45;
}

host::Shape EditorSession::AddTitleLabel(host::Slide slide, const QString& id, const QString& text) {
    host::Shape title = slide.Shapes().AddLabel(host::TextOrientationHorizontal, TitleLeft, TitleTop, TitleWidth,
                                                TitleHeight);
    title.SetAutoShapeType(drawing::TitleLabelShapeType);
    title.SetName(id);
    host::TextRangeFormat range = title.TextFrame().TextRange();
    range.Characters(1, 0).Select();
    range.SetText(text);
    range.Font().SetName(drawing::TitleFontName);
    range.Font().SetSize(drawing::TitleFontSize);
    return title;
}

void EditorSession::AddGraphSlide() {
    const QString text = textBox_->Text();
    QString type;
    QString name;
    if (!text.isEmpty()) {
        int index = 0;
        if (!ReadTypedConcept(text, messages::LabelSyntaxTitle, index))
            return;
        SplitGraphTitle(text);
        type = reader_.GraphTitleType().ToString();
        name = reader_.GraphTitleName().ToString();
        if (FindGraphSlide(name) != 0) {
            messages_.inform(messages::DuplicateName, messages::ErrorTitle, platform::MessageIcon::Critical);
            ClearAndFocusTextBox();
            return;
        }
    }
    try {
        host::DocumentWindow window = application_.ActiveWindow();
        const host::Presentation presentation = application_.ActivePresentation();
        if (window.IsNothing() || presentation.IsNothing()) {
            messages_.inform(messages::NoPresentationWindow, messages::AppTitle, platform::MessageIcon::Critical);
            return;
        }
        cgif::NodeRecord graph;
        if (!reader_.AddGraphNode(graph, type, name)) {
            messages_.inform(messages::NoGraphLabel, messages::ErrorTitle, platform::MessageIcon::Critical);
            ClearAndFocusTextBox();
            return;
        }
        host::Slides slides = presentation.Slides();
        const int index = slides.Count() + 1;
        host::Slide slide = slides.Add(index, host::LayoutBlank);
        window.View().GotoSlide(index);
        slide.SetName(graph.Name.ToString());
        AddTitleLabel(slide, graph.Id.ToString(), graph.Name + QStringLiteral(" is ") + graph.Type);
        window.Selection().Unselect();
    } catch (const std::exception& failure) {
        ReportFailure(failure);
    }
    ClearAndFocusTextBox();
}

void EditorSession::ClearGraphSlide() {
    try {
        host::DocumentWindow window = application_.ActiveWindow();
        // A presentation with no slide says so, as the other commands do ("No slide is in view").
        if (!window.IsNothing() && window.View().Slide().Shapes().Count() > 0) {
            host::Slide slide = window.View().Slide();
            QString title;
            try {
                title = slide.Shapes().Item(1).TextFrame().TextRange().Text();
            } catch (const host::HostError&) {
                // A first shape without text (a connector, a picture) leaves an empty title.
            }
            slide.Shapes().Range().Delete();
            AddTitleLabel(slide, ids_.NewNodeId(), title);
            window.Selection().Unselect();
        }
    } catch (const std::exception& failure) {
        ReportFailure(failure);
    }
    textBox_->SetFocus();
}

int EditorSession::FindGraphSlide(const QString& name) const {
    if (name.isEmpty())
        return 0;
    const host::Presentation presentation = application_.ActivePresentation();
    if (presentation.IsNothing())
        return 0;
    const host::Slide slide = presentation.Slides().FindByName(name);
    if (slide.IsNothing())
        return 0;
    return slide.SlideIndex();
}

void EditorSession::GoToGraph(const QString& name) {
    const int index = FindGraphSlide(name);
    if (index != 0) {
        try {
            application_.ActiveWindow().View().GotoSlide(index);
        } catch (const host::HostError& failure) {
            ReportFailure(failure);
        }
    } else {
        messages_.inform(messages::NoGraphWithThatName, messages::AppTitle, platform::MessageIcon::Critical);
    }
    ClearAndFocusTextBox();
}

} // namespace zov::editor
