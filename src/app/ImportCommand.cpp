// `zovedit import` and `zovedit check`: the Import command on the command line. Both read the
// CGIF file with the same reader and the same Import command core as the palette; import draws
// into a presentation and saves it, check draws nothing and writes nothing. Every message box
// becomes one line "TITLE: TEXT" on standard error.
#include "app/BatchArguments.h"
#include "app/BatchCommands.h"
#include "app/BatchPresentation.h"
#include "app/document/DocumentLock.h"
#include "cgif/reader/ShownText.h"

#include "cgif/import/GraphBuilder.h"
#include "cgif/import/ImportCommand.h"
#include "cgif/import/SlideRoom.h"
#include "cgif/import/UnplacedGraphs.h"
#include "cgif/reader/CgifReader.h"
#include "cgif/reader/GraphSink.h"
#include "drawing/DrawingSettings.h"
#include "drawing/NodeId.h"
#include "editor/arrange/Arrange.h"
#include "host/Application.h"
#include "host/pptx/PptxFile.h"
#include "platform/ConsoleMessageBoxes.h"
#include "platform/OutputFile.h"
#include "platform/StatusLine.h"

#include <QFileInfo>
#include <chrono>
#include <optional>
#include <random>

namespace zov::app {

namespace {

using cgif::importer::ImportOutcome;

const QString ErrorTitle = QStringLiteral("Error");

// Text after the last graph that is neither "." nor an element ends a reading without an
// error of its own (as after "Current coreference not found", which ends the graph there), and
// so does the end of the input inside a relation or actor: what follows, or that element, is
// left out, which a user at the command line must learn of. True when so.
bool toldReadingEndedEarly(const cgif::CgifReader& reader, platform::MessageBoxes& messages) {
    // A file cut short (a download broken off, a copy not finished) ends inside its last element.
    if (const QString& element = reader.ElementCutShortAtEnd(); !element.isEmpty()) {
        messages.inform(QStringLiteral("The file ends inside %1, which was left out").arg(element),
                        QStringLiteral("ZOVEdit"), platform::MessageIcon::Exclamation);
        return true;
    }
    const QString& rest = reader.UnreadText();
    if (rest.isEmpty())
        return false;
    // A tab, a no-break space or the byte order mark two files put together leave are named:
    // they show as nothing, and the quote would start with what looks like valid CGIF.
    messages.inform(QStringLiteral("The reading ended before the end of the file, at \"%1\": the rest was not read")
                        .arg(cgif::ShownText(rest)),
                    QStringLiteral("ZOVEdit"), platform::MessageIcon::Exclamation);
    return true;
}

struct ImportArguments {
    QString input;  // "-" reads standard input
    QString output; // empty: the default
    QString into;   // empty: a new presentation
    bool arrange = false;   // arrange every slide the import drew
    bool noArrange = false; // leave graphs read without positions where the reader put them
    cgif::dialect::DialectChoice dialect = cgif::dialect::DialectChoice::Auto;
};

// Parses `IN [-o OUT] [--into DOC] [--arrange | --no-arrange] [--dialect 2001|iso|auto]` (options in any
// order; `check` takes only --dialect). On a usage error, `problem` says what is wrong and the
// result is empty.
std::optional<ImportArguments> parseImportArguments(const QStringList& args, bool allowOptions, QString& problem) {
    ImportArguments parsed;
    bool dialectGiven = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == QLatin1String("--dialect")) {
            if (dialectGiven) {
                problem = QStringLiteral("--dialect given twice");
                return std::nullopt;
            }
            const std::optional<cgif::dialect::DialectChoice> choice =
                i + 1 < args.size() ? cgif::dialect::ParseDialectChoice(args[i + 1].toStdString()) : std::nullopt;
            if (!choice) {
                problem = QStringLiteral("--dialect needs 2001, iso or auto");
                return std::nullopt;
            }
            parsed.dialect = *choice;
            dialectGiven = true;
            ++i;
            continue;
        }
        if (allowOptions && (arg == QLatin1String("-o") || arg == QLatin1String("--into"))) {
            QString& slot = arg == QLatin1String("-o") ? parsed.output : parsed.into;
            if (!slot.isEmpty()) {
                problem = arg + QStringLiteral(" given twice");
                return std::nullopt;
            }
            if (i + 1 >= args.size() || args[i + 1].isEmpty()) {
                problem = arg + QStringLiteral(" needs a file name");
                return std::nullopt;
            }
            slot = args[++i];
            continue;
        }
        if (allowOptions && (arg == QLatin1String("--arrange") || arg == QLatin1String("--no-arrange"))) {
            (arg == QLatin1String("--arrange") ? parsed.arrange : parsed.noArrange) = true;
            if (parsed.arrange && parsed.noArrange) {
                problem = QStringLiteral("--arrange and --no-arrange cannot both be given");
                return std::nullopt;
            }
            continue;
        }
        if (!takeInputArgument(arg, parsed.input, problem))
            return std::nullopt;
    }
    if (missingInput(parsed.input, QStringLiteral("IN.cgf"), problem))
        return std::nullopt;
    return parsed;
}

// IN with its last extension replaced by ".pptx" (or ".pptx" appended when it has none).
QString defaultOutputName(const QString& input) {
    const QString suffix = QFileInfo(input).suffix();
    const QString stem = suffix.isEmpty() ? input : input.chopped(suffix.size() + 1);
    return stem + QStringLiteral(".pptx");
}

// The batch run of the editor's session: what Connect and StartEditor set up, minus windows.
// Drawing uses the default settings, so that a script gets the same slides for every user.
struct BatchSession {
    drawing::DrawingSettings settings;
    drawing::NodeIdGenerator ids{std::random_device{}()};
    platform::ConsoleMessageBoxes messages;
};

// Hands each graph to the builder and notes the ones it could not draw ("Slide name is already
// in use"): the reader shows the failure and reads on, but the command does not end in success.
class NotingSink : public cgif::ForwardingGraphSink {
public:
    explicit NotingSink(cgif::GraphSink& builder) : ForwardingGraphSink(builder) {}
    void BuildGraphSlide(cgif::CgifReader& reader, const QString& slideName, QStringView graphType,
                         int firstLinkIndex, int firstNodeIndex) override {
        try {
            ForwardingGraphSink::BuildGraphSlide(reader, slideName, graphType, firstLinkIndex, firstNodeIndex);
        } catch (...) {
            failed_ = true;
            throw;
        }
    }
    bool anyFailed() const { return failed_; }

private:
    bool failed_ = false;
};

// How long `import --into` waits for another program that is changing the same presentation.
constexpr std::chrono::seconds LockWait{30};

// The size of the file to read, 0 for standard input or a file that cannot be looked at.
qint64 inputSize(const QString& path) { return path == QLatin1String("-") ? 0 : QFileInfo(path).size(); }

// Opens the presentation given with --into; a failure is shown in an "Error" box naming the
// file and the reason. Saving goes through saveBatchPresentation.
bool openDocument(host::Application& app, const QString& path, platform::MessageBoxes& messages) {
    try {
        host::openPresentation(app, path);
        return true;
    } catch (const host::HostError& failure) {
        messages.inform(QString::fromUtf8(failure.what()), ErrorTitle, platform::MessageIcon::Critical);
        return false;
    }
}

// True when a slide from `first` on holds more than its title: a graph drawn with a node.
bool drewAnyNode(const host::Presentation& presentation, int first) {
    const host::Slides slides = presentation.Slides();
    for (int i = first; i <= slides.Count(); ++i)
        if (slides.Item(i).Shapes().Count() > 1)
            return true;
    return false;
}

} // namespace

int runImport(const QStringList& args) {
    QString problem;
    const std::optional<ImportArguments> parsed = parseImportArguments(args, true, problem);
    if (!parsed)
        return usageError(QStringLiteral("import"), problem);

    QString output = parsed->output;
    if (parsed->into == QLatin1String("-"))
        return usageError(QStringLiteral("import"), QStringLiteral("--into needs a presentation file, not -"));
    if (output.isEmpty())
        output = parsed->into;
    if (output.isEmpty()) {
        if (parsed->input == QLatin1String("-"))
            return usageError(QStringLiteral("import"),
                              QStringLiteral("reading standard input needs -o OUT.pptx or --into DOC.pptx"));
        output = defaultOutputName(parsed->input);
        if (defaultOutputTaken(output, parsed->input, problem))
            return usageError(QStringLiteral("import"), problem);
    }
    if (platform::SameFile(output, parsed->input))
        return usageError(QStringLiteral("import"),
                          QStringLiteral("the output ") + output + QStringLiteral(" would replace the input"));

    BatchSession session;
    // A folder given as the document to add to is told as a document that cannot be opened,
    // not as an output that cannot be saved.
    if (!parsed->into.isEmpty() && QFileInfo(parsed->into).isDir()) {
        host::Application app;
        openDocument(app, parsed->into, session.messages);
        return 2;
    }
    // An output that cannot be written (a folder, a read-only file, a missing folder) is said
    // before the whole input is read for nothing.
    if (!outputWritable(output, OutputKind::Presentation, session.messages))
        return 2;
    host::Application app;
    // --into reads, changes and writes DOC: it holds DOC's lock throughout, and replaces DOC
    // only while it is still the version that was read.
    std::optional<DocumentLock> lock;
    std::optional<platform::FileStamp> readVersion;
    if (parsed->into.isEmpty()) {
        app.Presentations().Add(); // no slides, 720 x 540 points, in the window that becomes active
    } else {
        lock.emplace(parsed->into);
        QString held;
        const auto waiting = [&] { session.messages.status().Show(DocumentLock::waitStatus(parsed->into)); };
        if (!lock->acquire(LockWait, held, waiting)) {
            session.messages.inform(held, ErrorTitle, platform::MessageIcon::Critical);
            return 2;
        }
        readVersion = platform::StampOf(parsed->into);
        if (!openDocument(app, parsed->into, session.messages))
            return 2;
        if (!platform::SameFile(output, parsed->into))
            readVersion.reset();
    }
    platform::MessageBoxes& messages = session.messages;
    const host::Presentation presentation = app.ActivePresentation();
    const int slidesBefore = presentation.Slides().Count();

    cgif::SlideBuilder builder(app, session.settings, messages);
    // As the palette's Import does with its default settings, graphs read without positions are
    // arranged once the reading is over; --arrange arranges every graph drawn, --no-arrange none.
    cgif::importer::UnplacedGraphs unplaced(builder, app);
    const bool arrangeUnplaced = !parsed->arrange && !parsed->noArrange;
    NotingSink sink(arrangeUnplaced ? static_cast<cgif::GraphSink&>(unplaced) : builder);
    cgif::CgifReader reader(session.ids, messages, sink);
    reader.SetGraphNameTaken([&builder](const QString& name) { return builder.SlideNameInUse(name); });
    cgif::importer::SlideRoom room(presentation);
    reader.SetKeepReading([&room] { return room.Left(); });
    // A long import tells how far it has got on a status line, when standard error is a terminal.
    platform::StatusLine& status = session.messages.status();
    platform::PercentProgress progress(status, QStringLiteral("Reading ") + statusName(parsed->input),
                                       inputSize(parsed->input), platform::PercentProgress::ReadingStep);
    // A large graph takes a while to draw once it is read: the line says so meanwhile.
    std::optional<platform::PercentProgress> drawing;
    builder.SetDrawProgress([&](std::int64_t done, std::int64_t total) {
        if (done == 0)
            drawing.emplace(status, QStringLiteral("Drawing a graph of %1 arcs").arg(total), total);
        if (drawing)
            drawing->Advance(done);
        if (done >= total)
            drawing.reset();
    });
    // The graphs without positions are arranged as a courtesy, before "File read" as in the
    // editor: what stops it (a graph of more nodes than Arrange takes) is told, but the
    // presentation still holds everything the file said, so it does not fail the import.
    std::optional<bool> errorBeforeArranging; // set when the reading is over
    const auto arrangeUnplacedSlides = [&] {
        errorBeforeArranging = session.messages.errorShown();
        if (!arrangeUnplaced || unplaced.Slides().empty())
            return;
        platform::PercentProgress arranging(status, QStringLiteral("Arranging the slides"),
                                            static_cast<qint64>(unplaced.Slides().size()));
        status.Show(QStringLiteral("Arranging the slides"));
        editor::ArrangeEachSlide(presentation, unplaced.Slides(), messages, [&](int done) { arranging.Advance(done); });
    };
    // No node tables are kept between commands on the command line: nothing to rebuild.
    // The reader asks for room between graphs only: a document full already takes no graph.
    bool endedEarly = false; // told instead of "File read"
    const ImportOutcome outcome =
        !room.Left() ? ImportOutcome::StoppedAtError
                     : cgif::importer::ImportCgifFile(reader, parsed->input, messages, {}, parsed->dialect,
                                                      [&progress](qint64 done) { progress.Advance(done); },
                                                      arrangeUnplacedSlides,
                                                      [&] { return endedEarly = toldReadingEndedEarly(reader, messages); });
    if (outcome == ImportOutcome::FileNotOpened)
        return 2;
    room.TellWhenFull(messages);
    // --arrange: only the slides this import drew; slides already in DOC stay as they are.
    const int slidesAfter = presentation.Slides().Count();
    bool arranged = true;
    if (parsed->arrange) {
        platform::PercentProgress arranging(status, QStringLiteral("Arranging the slides"), slidesAfter - slidesBefore);
        status.Show(QStringLiteral("Arranging the slides"));
        arranged = editor::ArrangeSlides(presentation, slidesBefore + 1, slidesAfter, messages,
                                         [&](int done) { arranging.Advance(done); });
    }

    // Saved also when the reader stopped at an error: the graphs drawn before it stay, as they
    // stay on the slides in the editor, and a line says the file holds only those. An import
    // that drew no node (an error in the first graph; a file of blanks, which is read as one
    // empty graph) writes nothing, so that a file named by -o is not replaced by an empty
    // presentation when the text that was to be imported did not come.
    const bool read = outcome == ImportOutcome::Read && !endedEarly && !sink.anyFailed();
    const int drawn = presentation.Slides().Count() - slidesBefore;
    if (!drewAnyNode(presentation, slidesBefore + 1)) {
        messages.inform(QStringLiteral("No graph drawn, so \"%1\" was not written").arg(output),
                        QStringLiteral("ZOVEdit"), platform::MessageIcon::Exclamation);
        return 1;
    }
    status.Show(QStringLiteral("Saving ") + statusName(output, true));
    if (!saveBatchPresentation(presentation, output, session.messages, readVersion))
        return 2;
    if (!read) {
        const QString graphs = drawn == 1 ? QStringLiteral("the 1 graph") : QStringLiteral("the %1 graphs").arg(drawn);
        const QString which = outcome == ImportOutcome::Read && !endedEarly ? QStringLiteral(" that could be drawn")
                                                             : QStringLiteral(" drawn before the reading stopped");
        messages.inform(QStringLiteral("\"%1\" was written with ").arg(output) + graphs + which, QStringLiteral("ZOVEdit"),
                        platform::MessageIcon::Exclamation);
    }
    // An error shown along the way (a label whose definition is not found, a graph that could
    // not be drawn) means the presentation does not hold everything the file said.
    const bool errorShown = arrangeUnplaced && errorBeforeArranging ? *errorBeforeArranging : session.messages.errorShown();
    return read && arranged && !errorShown ? 0 : 1;
}

int runCheck(const QStringList& args) {
    QString problem;
    const std::optional<ImportArguments> parsed = parseImportArguments(args, false, problem);
    if (!parsed)
        return usageError(QStringLiteral("check"), problem);

    BatchSession session;
    platform::MessageBoxes& messages = session.messages;
    cgif::CheckingBuilder builder(session.settings, messages);
    NotingSink sink(builder);
    cgif::CgifReader reader(session.ids, messages, sink);
    reader.SetGraphNameTaken([&builder](const QString& name) { return builder.SlideNameInUse(name); });
    bool endedEarly = false; // told instead of "File read"
    const ImportOutcome outcome = cgif::importer::ImportCgifFile(
        reader, parsed->input, messages, {}, parsed->dialect, {}, {},
        [&] { return endedEarly = toldReadingEndedEarly(reader, messages); });
    if (outcome == ImportOutcome::FileNotOpened)
        return 2;
    // A file read whole that an import would draw nothing of: import writes nothing then, and
    // says so. (After a reader error, its message says enough.)
    if (outcome == ImportOutcome::Read && !builder.DrewAnyNode()) {
        messages.inform(QStringLiteral("No graph drawn, so an import would write nothing"), QStringLiteral("ZOVEdit"),
                        platform::MessageIcon::Exclamation);
        return 1;
    }
    // As import: a graph that could not be drawn, or any other error shown on the way.
    const bool read = outcome == ImportOutcome::Read && !endedEarly && !sink.anyFailed();
    return read && !session.messages.errorShown() ? 0 : 1;
}

} // namespace zov::app
