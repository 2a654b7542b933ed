#pragma once
// An application with one new presentation holding one blank slide, shown in the active window.
#include "host/Application.h"
#include "host/Presentation.h"

#include <gtest/gtest.h>

namespace zov::host::test {

class HostFixture : public ::testing::Test {
protected:
    void SetUp() override {
        presentation = app.Presentations().Add();
        presentation.Slides().Add(1, LayoutBlank);
    }

    DocumentWindow window() const { return app.ActiveWindow(); }
    Slide slide() const { return app.ActiveWindow().View().Slide(); }
    Shapes shapes() const { return slide().Shapes(); }

    Shape addText(int type, const QString& text, float left = 50, float top = 50) {
        Shape s = shapes().AddShape(type, left, top, 100, 10);
        s.TextFrame().TextRange().SetText(text);
        s.TextFrame().SetAutoSize(AutoSizeShapeToFitText);
        return s;
    }

    Application app;
    Presentation presentation;
};

} // namespace zov::host::test
