#include "addin/Session.h"

#include "addin/ImportProgress.h"
#include "cgif/export/ExportCommand.h"
#include "cgif/import/GraphBuilder.h"
#include "cgif/import/ImportCommand.h"
#include "host/Application.h"
#include "platform/MessageBox.h"
#include "platform/SettingsStore.h"
#include "platform/TextStream.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <optional>
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

// Passes the lines of a file on to the reader and tells the progress how far they reach. The
// position counts one byte per character and line end, which is exact for plain ASCII files and
// close enough for a progress bar otherwise.
class ProgressStream : public platform::TextStream {
public:
    ProgressStream(platform::TextStream& in, ImportProgress& progress, qint64 total)
        : in_(in), progress_(progress), total_(total) {}
    QString ReadLine() override {
        QString line = in_.ReadLine();
        done_ += line.size() + 1;
        progress_.Advance(total_ > 0 ? std::min(done_, total_) : done_, total_);
        return line;
    }
    bool AtEndOfStream() const override { return in_.AtEndOfStream(); }
    void Write(const QString& text) override { in_.Write(text); }
    void WriteLine(const QString& text) override { in_.WriteLine(text); }
    void Close() override { in_.Close(); }

private:
    platform::TextStream& in_;
    ImportProgress& progress_;
    qint64 total_;
    qint64 done_ = 0;
};

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

bool Session::ImportFile(const QString& path, ImportProgress* progress) {
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
    cgif::SlideBuilder builder(application_, settings_, *services_.messages);
    cgif::CgifReader& reader = editor_.Reader();
    reader.SetSink(builder);
    if (progress)
        reader.SetKeepReading([progress] { return !progress->CancelRequested(); });
    // The reader goes back to drawing nothing and reading on, whatever way the import ends.
    struct RestoreReader {
        cgif::CgifReader& reader;
        cgif::GraphSink& sink;
        ~RestoreReader() {
            reader.SetSink(sink);
            reader.SetKeepReading({});
        }
    } restore{reader, editingSink_};
    const qint64 total = path == QLatin1String("-") ? 0 : QFileInfo(path).size();
    std::optional<ProgressStream> counted;
    if (progress)
        counted.emplace(*file, *progress, total);
    platform::TextStream& in = counted ? static_cast<platform::TextStream&>(*counted) : *file;
    cgif::importer::ImportCgif(reader, in, *services_.messages, [this] { editor_.RebuildNodeTables(); });
    if (progress)
        progress->Advance(total, total);
    return !reader.StoppedBetweenGraphs();
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
