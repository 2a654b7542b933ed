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

    // A straight connector glued from one shape's site to another's.
    Shape connect(const Shape& from, const Shape& to, int fromSite = 1, int toSite = 1) {
        Shape arc = shapes().AddConnector(ConnectorStraight, 165, 156, 249, 96);
        arc.ConnectorFormat().BeginConnect(from, fromSite);
        arc.ConnectorFormat().EndConnect(to, toSite);
        return arc;
    }

    Application app;
    Presentation presentation;
};

} // namespace zov::host::test
