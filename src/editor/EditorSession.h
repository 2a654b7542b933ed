#pragma once
// The editor: the commands the palette runs at the mouse pointer and on whole graph slides,
// with the state they keep between runs (command mode, slide geometry, link picks, label
// target) and the CGIF reader whose tables are the commands' parse buffer and node table.
//
// One EditorSession lives while the add-in is connected; tests make as many as they like.
// It borrows the host application, the drawing settings in force, the message boxes and the
// pointer position, and reaches the palette's text box through PaletteTextBox.
//
// How the palette uses it:
//   option buttons   -> SetCommandMode(code)   (then the palette focuses its text box)
//   Insert / F4      -> RunCommandAtPointer()
//   "Add Graph"      -> AddGraphSlide()
//   "Clear Graph"    -> ClearGraphSlide() then Reader().ClearReaderTables()
//   "Show"           -> GoToGraph(text box text as typed)
//   activation, after Import -> RebuildNodeTables()
#include "cgif/reader/CgifReader.h"
#include "cgif/import/GraphBuilder.h"
#include "drawing/DrawingSettings.h"
#include "drawing/NodeId.h"
#include "editor/PaletteTextBox.h"
#include "editor/SlideGeometry.h"
#include "host/Application.h"
#include "platform/CursorPosition.h"
#include "platform/MessageBox.h"

#include <QString>
#include <cstdint>
#include <exception>

namespace zov::editor {

// Command codes of the run key.
namespace CommandCode {
constexpr std::int16_t NewConcept = 1;
constexpr std::int16_t NewRelation = 2;
constexpr std::int16_t NewActor = 3;
constexpr std::int16_t Link = 4;
constexpr std::int16_t ChangeLabel = 5;
constexpr std::int16_t Jump = 6;
constexpr std::int16_t Comment = 7;
} // namespace CommandCode

class EditorSession {
public:
    EditorSession(host::Application& application, const drawing::DrawingSettings& settings,
                  platform::MessageBoxes& messages, platform::CursorPosition& cursor);
    EditorSession(const EditorSession&) = delete;
    EditorSession& operator=(const EditorSession&) = delete;

    // The palette's text box; until one is set (and after nullptr) the session uses a text
    // box of its own. The palette passes nullptr before its text box goes away.
    void SetTextBox(PaletteTextBox* textBox) { textBox_ = textBox ? textBox : &ownTextBox_; }
    PaletteTextBox& TextBox() const { return *textBox_; }

    // The parts of the editor's start that belong to the session: graph counter 1, command
    // mode 1 (concept), the link table emptied, the node-id sequence seeded.
    void ResetForStart(std::uint32_t seed);

    // --- dispatch and pointer ------------------------------------------------------------
    std::int16_t CommandMode() const { return commandMode_; }
    // Sets the mode and clears the text box.
    void SetCommandMode(std::int16_t code);
    // The run key: measure, run the mode's command, clear and focus the text box (except for
    // link, change label and comment), rebuild the node tables.
    void RunCommandAtPointer();
    // Fills SlideGeometry from the active window. False when there is no window or
    // presentation to measure (the geometry is left as it was).
    bool MeasureSlide();
    const editor::SlideGeometry& SlideGeometry() const { return geometry_; }
    SlidePoint ToSlidePoints(double x, double y) const { return editor::ToSlidePoints(geometry_, x, y); }
    // The shape under the mouse pointer on the slide in view, or the empty handle.
    host::Shape ShapeAtPointer() const;

    // --- commands at the pointer ---------------------------------------------------------
    void NewConceptAtPointer();
    void NewRelationAtPointer();
    void NewActorAtPointer();
    void LinkAtPointer();
    void CommentAtPointer();
    void ChangeLabelAtPointer();
    void JumpAtPointer();

    // --- graph slides --------------------------------------------------------------------
    // Splits "type*name" into the reader's GraphTitleName and GraphTitleType; without "*",
    // the name is the text box's text, blanks trimmed, and the type "Graph".
    void SplitGraphTitle(const QString& title) { reader_.SplitGraphTitle(title); }
    void AddGraphSlide();
    void ClearGraphSlide();
    // 1-based index of the first slide with exactly this name; 0 when none has it (an empty
    // name is never a graph's name, so it finds nothing).
    // The index of the first slide of that name, 0 when none; a whole int, since a presentation
    // holds up to 49,000 slides.
    int FindGraphSlide(const QString& name) const;
    void GoToGraph(const QString& name);

    // --- node tables ---------------------------------------------------------------------
    void RebuildNodeTables();

    // --- state ---------------------------------------------------------------------------
    cgif::CgifReader& Reader() { return reader_; }
    const cgif::CgifReader& Reader() const { return reader_; }
    drawing::NodeIdGenerator& Ids() { return ids_; }
    host::Application& Application() const { return application_; }
    const drawing::DrawingSettings& Settings() const { return settings_; }

    // The pending link: the source picked by a first link run (empty handle when none) and
    // the name of the slide it was picked on.
    const host::Shape& LinkFrom() const { return linkFrom_; }
    const QString& LinkFromSlide() const { return linkFromSlide_; }
    void ClearLinkPicks();
    // The shape the change-label command works on; set only while that command runs.
    const host::Shape& LabelTarget() const { return labelTarget_; }

    // "x" + a number, a coreference label that no shape name on any slide carries and no
    // slide is named.
    QString NewCoreferenceLabel() const;

private:
    // Shapes on the slide in view; -1 when no slide is in view.
    int ShapesInView() const;
    // The "No boxes" check of the commands that act on a shape: true (after the message)
    // when the slide in view holds exactly one shape.
    bool ReportNoBoxes();
    // Puts "[" + text + "]" in the reader's line and reads it as a concept. False when the
    // reader refused it; a ParseError has then been shown under `syntaxTitle`.
    bool ReadTypedConcept(const QString& text, const QString& syntaxTitle, int& recordIndex);
    bool RenameGraphSlide(host::Shape title, const QString& name);
    // Reads an identifier from text + terminator for the relation and actor commands.
    void NewRelationOrActor(QChar terminator, bool actor);
    host::Shape AddTitleLabel(host::Slide slide, const QString& id, const QString& text);
    void CrossSlideCoreference(host::Slide shownSlide);
    void RefuseLink(const QString& text);
    void ReportFailure(const std::exception& failure);
    void ClearAndFocusTextBox();
    QPoint Pointer() const { return cursor_.position(); }

    host::Application& application_;
    const drawing::DrawingSettings& settings_;
    platform::MessageBoxes& messages_;
    platform::CursorPosition& cursor_;
    MemoryTextBox ownTextBox_;
    PaletteTextBox* textBox_ = &ownTextBox_;

    drawing::NodeIdGenerator ids_;
    // Draws a nested graph with arcs typed into a concept on a slide of its own, as an
    // import would.
    cgif::SlideBuilder nestedGraphs_;
    cgif::CgifReader reader_;

    std::int16_t commandMode_ = CommandCode::NewConcept;
    editor::SlideGeometry geometry_;
    host::Shape linkFrom_;
    host::Shape linkTo_;
    QString linkFromSlide_;
    host::Shape labelTarget_;
};

} // namespace zov::editor
