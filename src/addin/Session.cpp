#include "addin/Session.h"

#include "addin/ImportProgress.h"
#include "cgif/export/ExportCommand.h"
#include "cgif/import/GraphBuilder.h"
#include "cgif/import/ImportCommand.h"
#include "cgif/import/SlideRoom.h"
#include "cgif/import/UnplacedGraphs.h"
#include "editor/arrange/Arrange.h"
#include "host/Application.h"
#include "host/HostError.h"
#include "platform/MessageBox.h"
#include "platform/OutputFile.h"
#include "platform/SettingsStore.h"
#include "platform/TextStream.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <algorithm>
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

QString IntroHelpLocation(const QString& libraryFolder) {
    return QDir(libraryFolder).filePath(HelpFileName) + QStringLiteral("::/") + HelpIntroTopic;
}

Session::Session(host::Application& application, AddinServices services, EditorWindowsFactory windows)
    : application_(application), services_(checked(services)), windowsFactory_(std::move(windows)),
      editor_(application, settings_, *services_.messages, *services_.cursor) {}

Session::~Session() {
    // The windows go first, while everything they reach is still there; closing the palette
    // offers to save the settings.
    windows_.reset();
}

void Session::StartEditor() {
    // Pressed again while the palette is open, the button brings it forward; the settings the
    // user chose in this session and has not saved yet are kept.
    const bool paletteOpen = windows_ && windows_->PaletteOpen();
    // Graph counter 1, command mode 1 (concept), the link table emptied; the node-id
    // sequence is seeded here too, from the clock, so ids differ from run to run.
    editor_.ResetForStart(services_.seedSource ? services_.seedSource() : clockSeed());
    // A new start begins from the stored settings.
    if (!paletteOpen)
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

bool Session::ImportFile(const QString& path, ImportProgress* progress, cgif::dialect::DialectChoice dialect) {
    if (application_.ActiveWindow().IsNothing()) {
        services_.messages->inform(QStringLiteral("There is no presentation window to import into."), appTitle,
                                   platform::MessageIcon::Critical);
        return true;
    }
    std::unique_ptr<platform::TextStream> file;
    try {
        file = platform::OpenTextFile(path);
    } catch (const platform::FileError& failure) {
        services_.messages->inform(failure.message(), QStringLiteral("Error"), platform::MessageIcon::Critical);
        return true;
    }
    cgif::importer::SlideRoom room(application_.ActivePresentation());
    // The reader asks for room between graphs only: a presentation full already takes no graph.
    if (!room.Left())
        return room.TellWhenFull(*services_.messages);
    cgif::SlideBuilder builder(application_, settings_, *services_.messages);
    if (progress)
        builder.SetDrawProgress([progress](std::int64_t done, std::int64_t total) { progress->Drawing(done, total); });
    cgif::importer::UnplacedGraphs unplaced(builder, application_);
    cgif::CgifReader& reader = editor_.Reader();
    reader.SetSink(settings_.arrangeImported ? static_cast<cgif::GraphSink&>(unplaced) : builder);
    reader.SetKeepReading([progress, &room] { return !(progress && progress->CancelRequested()) && room.Left(); });
    // The reader goes back to drawing nothing and reading on, whatever way the import ends.
    struct RestoreReader {
        cgif::CgifReader& reader;
        cgif::GraphSink& sink;
        ~RestoreReader() {
            reader.SetSink(sink);
            reader.SetKeepReading({});
        }
    } restore{reader, editingSink_};
    // The position counts one byte per character and line end, which is exact for plain ASCII
    // files and close enough for a progress bar otherwise. It follows the reader, so the bar
    // reaches its end with the last graph (the dialect's detection before moves it not).
    const qint64 total = path == QLatin1String("-") ? 0 : QFileInfo(path).size();
    cgif::iso::ReadingPosition position;
    if (progress)
        position = [progress, total](qint64 done) { progress->Advance(total > 0 ? std::min(done, total) : done, total); };
    cgif::importer::ImportCgif(reader, *file, *services_.messages, [this] { editor_.RebuildNodeTables(); }, dialect,
                               position, [this, &unplaced] {
                                   // Each graph read without positions, one after the other; a failure or a
                                   // graph too large is told, and the other slides are still arranged.
                                   editor::ArrangeEachSlide(application_.ActivePresentation(), unplaced.Slides(),
                                                            *services_.messages);
                               });
    if (progress)
        progress->Advance(total, total);
    // A reading stopped because the presentation is full was not cancelled: it is told as such.
    return !reader.StoppedBetweenGraphs() || room.TellWhenFull(*services_.messages);
}

void Session::ExportFile(const QString& path, cgif::exporter::ExportDialect dialect) {
    const host::Presentation presentation = application_.ActivePresentation();
    if (presentation.IsNothing()) {
        services_.messages->inform(QStringLiteral("There is no open presentation to export."), appTitle,
                                   platform::MessageIcon::Critical);
        return;
    }
    // CGIF written over the presentation's own file would leave text where the slides were, and
    // the presentation, unchanged in the editor, would not ask to be saved again.
    const QFileInfo own(presentation.FullName());
    if (!presentation.FullName().isEmpty() && platform::SameFile(path, presentation.FullName())) {
        services_.messages->inform(
            QStringLiteral("Cannot export to \"%1\": it is the file of the open presentation. Choose another name, such "
                           "as \"%2.cgf\".")
                .arg(path, own.completeBaseName()),
            appTitle, platform::MessageIcon::Exclamation);
        return;
    }
    cgif::exporter::ExportGraphsToFile(presentation, path, *services_.messages, dialect);
}

} // namespace zov::addin
