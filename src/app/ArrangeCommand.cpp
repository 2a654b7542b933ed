// `zovedit arrange`: the Arrange command on every slide of a presentation. The presentation is
// read from IN, each slide's graph is arranged by the same code as the palette's button, and the
// result is saved to OUT (IN itself by default, through a temporary file so that a failure
// leaves IN as it was). Every message box becomes one line "TITLE: TEXT" on standard error.
#include "app/BatchArguments.h"
#include "app/BatchPresentation.h"
#include "app/BatchCommands.h"
#include "app/document/DocumentLock.h"

#include "editor/arrange/Arrange.h"
#include "platform/ConsoleMessageBoxes.h"
#include "platform/StatusLine.h"

#include <QFileInfo>
#include <chrono>

namespace zov::app {

namespace {

const QString Command = QStringLiteral("arrange");

} // namespace

int runArrange(const QStringList& args) {
    QString problem;
    const std::optional<InputOutputArguments> parsed = parseInputOutputArguments(args, problem);
    if (!parsed)
        return usageError(Command, problem);
    const QString output = parsed->output.isEmpty() ? parsed->input : parsed->output;

    platform::ConsoleMessageBoxes messages;
    // A folder given as IN is told as the input it cannot be (the opening says so), before it
    // would be looked at as the output.
    if (parsed->input != QLatin1String("-") && QFileInfo(parsed->input).isDir()) {
        host::Application app;
        openBatchPresentation(app, parsed->input, messages);
        return 2;
    }
    // An output that cannot be written is said before the presentation is read and arranged.
    if (!outputWritable(output, OutputKind::Presentation, messages))
        return 2;
    // Arranging IN in place reads, changes and writes it: IN's lock is held throughout and IN
    // is replaced only while it is still the version that was read.
    std::optional<DocumentLock> lock;
    std::optional<platform::FileStamp> readVersion;
    if (output == parsed->input && output != QLatin1String("-")) {
        lock.emplace(output);
        QString held;
        const auto waiting = [&] { messages.status().Show(DocumentLock::waitStatus(output)); };
        if (!lock->acquire(std::chrono::seconds(30), held, waiting)) {
            messages.inform(held, QStringLiteral("Error"), platform::MessageIcon::Critical);
            return 2;
        }
        readVersion = platform::StampOf(output);
    }
    // A long run tells what it is doing on a status line, unless the presentation goes to the terminal.
    platform::StatusLine& status = messages.status();
    if (output == QLatin1String("-"))
        status.Silence();
    status.Show(QStringLiteral("Opening ") + statusName(parsed->input));
    host::Application app;
    const std::optional<host::Presentation> presentation = openBatchPresentation(app, parsed->input, messages);
    if (!presentation)
        return 2;

    status.Show(QStringLiteral("Arranging the slides"));
    const int slides = presentation->Slides().Count();
    platform::PercentProgress arranging(status, QStringLiteral("Arranging the slides"), slides);
    const bool allArranged =
        editor::ArrangeSlides(*presentation, 1, slides, messages, [&](int done) { arranging.Advance(done); });
    status.Show(QStringLiteral("Saving ") + statusName(output, true));
    if (!saveBatchPresentation(*presentation, output, messages, readVersion))
        return 2;
    return allArranged ? 0 : 1;
}

} // namespace zov::app
