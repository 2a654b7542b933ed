#pragma once
// A desktop host for tests: one host Application, its main window on the offscreen platform,
// and scripted platform services. `makeGraph` puts a small graph on the first slide.
#include "app/desktop/MainWindow.h"
#include "app/desktop/SlideCanvas.h"
#include "app/document/DocumentStore.h"
#include "host/Application.h"
#include "platform/fake/FakeMessageBoxes.h"
#include "platform/fake/MemorySettingsStore.h"
#include "platform/fake/ScriptedCommonDialog.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace zov::test {

// Fill colours of the sample graph, as 0x00BBGGRR.
constexpr std::uint32_t kConceptFill = 0x0000CCFF; // orange-yellow
constexpr std::uint32_t kRelationFill = 0x0090EE90; // light green

struct SampleGraph {
    host::Shape cat;   // a rectangle labelled "Cat"
    host::Shape relation;  // an oval labelled "On"
    host::Shape arc;       // a connector glued from cat to relation, arrow at the end
};

class DesktopFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A rectangle and an oval joined by a glued arrow, on the slide in view.
    SampleGraph makeGraph();
    // Applies pending layout and paint work, and the window's idle synchronisation.
    void settle();
    app::SlideCanvas& canvas() { return *window->canvas(); }
    QPoint viewportPoint(QPointF slidePoint) { return canvas().slideToViewport(slidePoint).toPoint(); }

    host::Application application;
    platform::FakeMessageBoxes messages;
    platform::ScriptedCommonDialog dialogs;
    platform::MemorySettingsStore settings;
    std::unique_ptr<app::DocumentStore> store = std::make_unique<app::PptxDocumentStore>();
    std::unique_ptr<app::MainWindow> window;
    QTemporaryDir folder;
};

} // namespace zov::test
