#pragma once
// The editor session: everything the editor keeps while the add-in is connected. `Connect`
// makes one on connection and drops it on disconnection; tests make as many as they need.
// It owns the drawing settings in force, the editor with its reader tables, command mode, slide
// geometry and link picks, and the editor's windows (made through the ui layer's factory).
#include "addin/AddinServices.h"
#include "addin/EditorWindows.h"
#include "cgif/dialect/Dialect.h"
#include "cgif/export/ExportDialect.h"
#include "cgif/reader/GraphSink.h"
#include "drawing/DrawingSettings.h"
#include "editor/EditorSession.h"
#include "host/Slide.h"

#include <QString>
#include <memory>
#include <vector>

namespace zov::host {
class Application;
}

namespace zov::addin {

class ImportProgress;

// The help file below the add-in's folder, and the topic the help opens at.
inline const QString HelpFileName = QStringLiteral("ZOVEditHelp/ZOVEditHelp.xml");
inline const QString HelpIntroTopic = QStringLiteral("intro.htm");
// The help at its first page, as a help viewer takes it: "FILE::/TOPIC".
QString IntroHelpLocation(const QString& libraryFolder);

class Session {
public:
    // `services` must carry message boxes, a settings store and a pointer position.
    Session(host::Application& application, AddinServices services, EditorWindowsFactory windows);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // The start of the editor, run by every press of the "ZOV Edit" button. The drawing
    // settings are read from the store, except while the palette is open: a press then keeps
    // the settings chosen in this session, unsaved ones included.
    void StartEditor();

    host::Application& Application() const { return application_; }
    const AddinServices& Services() const { return services_; }
    drawing::DrawingSettings& DrawingSettings() { return settings_; }
    const drawing::DrawingSettings& DrawingSettings() const { return settings_; }
    // The help file set by the last start of the editor (empty before).
    const QString& HelpFile() const { return helpFile_; }
    // The palette and configuration dialog; null until the editor was first started.
    EditorWindows* Windows() const { return windows_.get(); }
    editor::EditorSession& Editor() { return editor_; }
    const editor::EditorSession& Editor() const { return editor_; }

    // Run when the palette closes: offers to keep changed drawing settings for the next run.
    void OfferToSaveSettings();

    // The Import command's reading: every graph of the CGIF file at `path` drawn on new slides
    // of the active presentation, "File read" when the whole file was read, and the node
    // tables rebuilt. A file that cannot be opened, or no presentation to draw in, is told in
    // a message box. With `progress`, the reading reports its position in the file and is
    // stopped between two graphs when the progress asks for it (the graphs drawn stay, no
    // "File read"); returns false when it was stopped so. With the drawing setting
    // arrangeImported on, each graph read without any node position is arranged on its slide
    // afterwards (as `zovedit import` does), in the same step. `dialect` chooses the
    // CGIF reader (by default the file's own dialect).
    bool ImportFile(const QString& path, ImportProgress* progress = nullptr,
                    cgif::dialect::DialectChoice dialect = cgif::dialect::DialectChoice::Auto);
    // The Export command's writing: every graph of the active presentation to `path` in
    // `dialect`, "File written" when a graph was written.
    void ExportFile(const QString& path,
                    cgif::exporter::ExportDialect dialect = cgif::exporter::ExportDialect::Cgif2001);

private:
    host::Application& application_;
    AddinServices services_;
    EditorWindowsFactory windowsFactory_;
    drawing::DrawingSettings settings_; // before the editor, which reads it
    editor::EditorSession editor_;
    cgif::NullGraphSink editingSink_;    // the reader's sink outside an import
    QString helpFile_;
    std::unique_ptr<EditorWindows> windows_;
};

} // namespace zov::addin
