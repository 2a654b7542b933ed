#pragma once
// A presentation in a window whose view transform puts slide point (0, 0) at screen pixel
// (100, 50) at zoom 1, an editor session over it, a scripted pointer, recorded message boxes
// and an in-memory text box. Tests point at slide positions and run commands as a user would.
#include "drawing/NodeShape.h"
#include "editor/EditorSession.h"
#include "host/Application.h"
#include "platform/fake/FakeMessageBoxes.h"
#include "platform/fake/FixedCursorPosition.h"

#include <QRegularExpression>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <cmath>
#include <ostream>
#include <vector>

// Failing comparisons of texts print the text, not its bytes.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace zov::platform {
// A message box in a failure report: its title and text.
inline void PrintTo(const Message& message, std::ostream* out) {
    *out << '[' << message.title.toStdString() << ": " << message.text.toStdString() << ']';
}
} // namespace zov::platform

namespace zov::editor::testing {

using platform::Message;
using platform::MessageIcon;

class EditorTest : public ::testing::Test {
protected:
    static constexpr double OriginX = 100;
    static constexpr double OriginY = 50;

    EditorTest() {
        presentation = app.Presentations().Add();
        window = app.ActiveWindow();
        window.SetViewTransform(OriginX, OriginY, 1.0);
        session.SetTextBox(&textBox);
        session.ResetForStart(20240607);
    }

    // Adds a graph slide through the Add graph command and returns it (the slide in view).
    host::Slide AddGraph(const QString& text = QString()) {
        textBox.SetText(text);
        session.AddGraphSlide();
        return window.View().Slide();
    }

    void PointAt(double left, double top) {
        cursor.setPosition(QPoint(static_cast<int>(std::lround(OriginX + left)),
                                  static_cast<int>(std::lround(OriginY + top))));
    }
    void PointInto(const host::Shape& shape) {
        PointAt(shape.Left() + shape.Width() / 2, shape.Top() + shape.Height() / 2);
    }

    // Chooses the command as the option buttons do, types `text`, and presses the run key.
    void Run(std::int16_t mode, const QString& text) {
        session.SetCommandMode(mode);
        textBox.SetText(text);
        session.RunCommandAtPointer();
    }
    void RunAt(std::int16_t mode, const QString& text, double left, double top) {
        PointAt(left, top);
        Run(mode, text);
    }
    // Presses the run key again without touching the mode or the text box.
    void RunAgainOn(const host::Shape& shape) {
        PointInto(shape);
        session.RunCommandAtPointer();
    }

    // Draws a node through its command and returns it (the newest shape of the slide in view).
    host::Shape Draw(std::int16_t mode, const QString& text, double left, double top) {
        RunAt(mode, text, left, top);
        return LastShape();
    }
    // Links `from` to `to` with two runs of the link command.
    void Link(const host::Shape& from, const host::Shape& to) {
        session.SetCommandMode(CommandCode::Link);
        RunAgainOn(from);
        RunAgainOn(to);
    }

    host::Shape LastShape() const {
        const host::Shapes shapes = window.View().Slide().Shapes();
        return shapes.Item(shapes.Count());
    }
    int ShapeCount() const { return window.View().Slide().Shapes().Count(); }
    int ShownSlideIndex() const { return window.View().Slide().SlideIndex(); }

    std::vector<Message> TakeMessages() {
        std::vector<Message> shown = boxes.shown();
        boxes.clear();
        return shown;
    }
    // Expects exactly one message box since the last look, with this text, title and icon.
    void ExpectOnly(const QString& text, const QString& title, MessageIcon icon = MessageIcon::Critical) {
        const std::vector<Message> shown = TakeMessages();
        ASSERT_EQ(shown.size(), 1u) << text.toStdString();
        EXPECT_EQ(shown[0].text, text);
        EXPECT_EQ(shown[0].title, title);
        EXPECT_EQ(shown[0].icon, icon);
    }
    void ExpectNoMessage() { EXPECT_THAT(TakeMessages(), ::testing::IsEmpty()); }
    static QString TextOf(const host::Shape& shape) { return shape.TextFrame().TextRange().Text(); }

    host::Application app;
    drawing::DrawingSettings settings;
    platform::FakeMessageBoxes boxes;
    platform::FixedCursorPosition cursor;
    MemoryTextBox textBox;
    EditorSession session{app, settings, boxes, cursor};
    host::Presentation presentation;
    host::DocumentWindow window;
};


} // namespace zov::editor::testing
