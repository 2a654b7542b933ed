#include "addin/Session.h"

#include "cgif/export/ExportCommand.h"
#include "cgif/import/GraphBuilder.h"
#include "cgif/import/ImportCommand.h"
#include "host/Application.h"
#include "platform/MessageBox.h"
#include "platform/SettingsStore.h"

#include <QDateTime>
#include <QDir>
#include <stdexcept>

namespace zov::addin {

namespace {

const AddinServices& checked(const AddinServices& services) {
    if (!services.messages || !services.settings || !services.cursor)
        throw std::invalid_argument("the editor session needs message boxes, a settings store and a pointer");
    return services;
}

std::uint32_t clockSeed() {
    return static_cast<std::uint32_t>(QDateTime::currentMSecsSinceEpoch() & 0xFFFFFFFFu);
}

const QString appTitle = QStringLiteral("ZOVEdit");

} // namespace

Session::Session(host::Application& application, AddinServices services, EditorWindowsFactory windows)
    : application_(application), services_(checked(services)), windowsFactory_(std::move(windows)),
      editor_(application, settings_, *services_.messages, *services_.cursor) {}

Session::~Session() {
    // The windows go first, while everything they reach is still there; closing the palette
    // offers to save the settings.
    windows_.reset();
}

void Session::StartEditor() {
    // Graph counter 1, command mode 1 (concept), the link table emptied; the node-id
    // sequence is seeded here too, from the clock, so ids differ from run to run.
    editor_.ResetForStart(services_.seedSource ? services_.seedSource() : clockSeed());
    // Unsaved changes made in the configuration dialog are dropped by a new start.
    settings_ = drawing::LoadDrawingSettings(*services_.settings);
    // The palette and the configuration dialog, loaded but not shown.
    if (!windows_ && windowsFactory_)
        windows_ = windowsFactory_(*this);
    if (windows_) {
        windows_->LoadPalette();
        windows_->LoadConfiguration();
    }
    if (application_.Presentations().Count() == 0)
        application_.Presentations().Add();
    editor_.MeasureSlide();
    helpFile_ = QDir(services_.libraryFolder).filePath(HelpFileName);
    if (windows_) {
        // Showing the palette activates it, which rebuilds the node tables.
        windows_->ShowPalette();
        windows_->SelectConceptOption();
    }
}

void Session::OfferToSaveSettings() { drawing::OfferToSaveSettings(settings_, *services_.settings, *services_.messages); }

void Session::ImportFile(const QString& path) {
    if (application_.ActiveWindow().IsNothing()) {
        services_.messages->inform(QStringLiteral("There is no presentation window to import into."), appTitle,
                                   platform::MessageIcon::Critical);
        return;
    }
    cgif::SlideBuilder builder(application_, settings_, *services_.messages);
    cgif::CgifReader& reader = editor_.Reader();
    reader.SetSink(builder);
    // The reader goes back to drawing nothing, whatever way the import ends.
    struct RestoreSink {
        cgif::CgifReader& reader;
        cgif::GraphSink& sink;
        ~RestoreSink() { reader.SetSink(sink); }
    } restore{reader, editingSink_};
    cgif::importer::ImportCgifFile(reader, path, *services_.messages, [this] { editor_.RebuildNodeTables(); });
}

void Session::ExportFile(const QString& path) {
    const host::Presentation presentation = application_.ActivePresentation();
    if (presentation.IsNothing()) {
        services_.messages->inform(QStringLiteral("There is no open presentation to export."), appTitle,
                                   platform::MessageIcon::Critical);
        return;
    }
    cgif::exporter::ExportGraphsToFile(presentation, path, *services_.messages);
}

} // namespace zov::addin
