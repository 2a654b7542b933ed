// The status line of long command-line runs: never seen by scripts or quick runs, written over
// in place on a terminal, and out of the way of every message line.
#include "platform/ConsoleMessageBoxes.h"
#include "platform/StatusLine.h"

#include <gtest/gtest.h>
#include <sstream>

namespace zov::platform {
namespace {

struct FakeClock {
    std::int64_t now = 0;
    StatusLine::Clock clock() {
        return [this] { return now; };
    }
};

TEST(StatusLine, ShowsOnlyOnATerminalAndIsWrittenOverInPlace) {
    FakeClock time;
    std::ostringstream piped;
    {
        StatusLine line(piped, false, time.clock(), 500);
        time.now = 10'000;
        line.Show(QStringLiteral("Reading a.cgf: 50%"));
        EXPECT_FALSE(line.Due());
    }
    EXPECT_EQ(piped.str(), "") << "a pipe or a file never gets the line";

    std::ostringstream terminal;
    time.now = 0;
    {
        StatusLine line(terminal, true, time.clock(), 500);
        time.now = 499;
        EXPECT_FALSE(line.Due());
        time.now = 500;
        EXPECT_TRUE(line.Due());
        line.Show(QStringLiteral("Reading a.cgf: 10%"));
        line.Show(QStringLiteral("Reading a.cgf: 10%"));
        EXPECT_EQ(terminal.str(), "\rReading a.cgf: 10%") << "the same text is not written again";
        line.Show(QStringLiteral("Saving b.pptx"));
        EXPECT_EQ(terminal.str(), "\rReading a.cgf: 10%\rSaving b.pptx     \rSaving b.pptx")
            << "blanks cover the end of the longer text before";
        terminal.str("");
        line.Clear();
        line.Clear();
        EXPECT_EQ(terminal.str(), "\r             \r");
        terminal.str("");
        line.Show(QStringLiteral("Reading ") + QString(100, u'n') + QStringLiteral(".cgf: 5%"));
        EXPECT_EQ(terminal.str(), "\rReading " + std::string(68, 'n') + "...") << "a line too long for a terminal is cut";
        line.Clear();
        terminal.str("");
        line.Show(QStringLiteral("Saving b.pptx"));
    }
    EXPECT_EQ(terminal.str(), "\rSaving b.pptx\r             \r") << "the line is wiped when the run ends";

    // A run whose output goes to the terminal silences the line: it is wiped and stays away.
    terminal.str("");
    StatusLine silenced(terminal, true, time.clock(), 0);
    silenced.Show(QStringLiteral("Opening a.pptx"));
    silenced.Silence();
    silenced.Show(QStringLiteral("Writing standard output"));
    EXPECT_EQ(terminal.str(), "\rOpening a.pptx\r              \r");
}

TEST(StatusLine, IsWipedBeforeEachMessageLine) {
    FakeClock time;
    std::ostringstream out;
    ConsoleMessageBoxes boxes(out, true, time.clock());
    time.now = StatusLine::DefaultDelay;
    boxes.status().Show(QStringLiteral("Reading a.cgf: 3%"));
    boxes.inform(QStringLiteral("Current coreference not found for: x"), QStringLiteral("Error"), MessageIcon::Critical);
    boxes.status().Show(QStringLiteral("Reading a.cgf: 4%"));
    EXPECT_EQ(out.str(), "\rReading a.cgf: 3%\r                 \rError: Current coreference not found for: x\n"
                         "\rReading a.cgf: 4%");
}

TEST(PercentProgress, TellsThePercentageDoneAndLooksAtTheClockOnlyEveryStep) {
    const QString reading = QStringLiteral("Reading a.cgf");
    EXPECT_EQ(PercentStatus(reading, 0, 1000), QStringLiteral("Reading a.cgf: 0%"));
    EXPECT_EQ(PercentStatus(reading, 999, 1000), QStringLiteral("Reading a.cgf: 99%"));
    EXPECT_EQ(PercentStatus(reading, 1200, 1000), QStringLiteral("Reading a.cgf: 100%"))
        << "line ends counted as one character may run past the size";
    EXPECT_EQ(PercentStatus(QStringLiteral("Reading standard input"), 5000, 0), QStringLiteral("Reading standard input"));

    FakeClock time;
    int looks = 0;
    std::ostringstream out;
    StatusLine line(out, true, [&] { ++looks; return time.now; }, 500);
    const std::int64_t step = PercentProgress::ReadingStep;
    const std::int64_t total = 100 * step;
    PercentProgress progress(line, QStringLiteral("Reading big.cgf"), total, step);
    looks = 0;
    for (std::int64_t done = 0; done <= total; done += 100) {
        if (done >= 10 * step)
            time.now = 500;
        progress.Advance(done);
    }
    EXPECT_LE(looks, 2 * 101) << "the clock is looked at once a step, not once a line";
    EXPECT_EQ(out.str().find("\rReading big.cgf: 9%"), std::string::npos) << "a quick reading shows nothing";
    EXPECT_NE(out.str().find("\rReading big.cgf: 10%"), std::string::npos);
    EXPECT_NE(out.str().find("\rReading big.cgf: 57%"), std::string::npos);
    EXPECT_NE(out.str().find("\rReading big.cgf: 100%"), std::string::npos);

    // Counted one by one (slides arranged), each change of the percentage is written once.
    std::ostringstream slides;
    StatusLine slideLine(slides, true, [] { return std::int64_t(1000); }, 0);
    PercentProgress arranging(slideLine, QStringLiteral("Arranging the slides"), 400);
    for (int done = 1; done <= 400; ++done)
        arranging.Advance(done);
    const std::string written = slides.str();
    EXPECT_EQ(std::count(written.begin(), written.end(), '\r'), 101) << "each percentage from 0 to 100 once, for 400 slides";
    EXPECT_NE(written.find("\rArranging the slides: 100%"), std::string::npos);

    // A step shown between two of a reading's (a large graph drawn) gives the line back to the
    // reading at its next step, though the reading's percentage has not changed.
    std::ostringstream shared;
    StatusLine sharedLine(shared, true, [] { return std::int64_t(1000); }, 0);
    PercentProgress read(sharedLine, QStringLiteral("Reading a.cgf"), 1000);
    read.Advance(500);
    PercentProgress(sharedLine, QStringLiteral("Drawing a graph of 9000 arcs"), 9000).Advance(900);
    read.Advance(501);
    read.Advance(502);
    const std::string steps = shared.str();
    EXPECT_EQ(steps.substr(steps.rfind('\r') + 1), "Reading a.cgf: 50%");
    // One return per text, two for the shorter one written over the longer; the same text again
    // writes nothing.
    EXPECT_EQ(std::count(steps.begin(), steps.end(), '\r'), 4);
}

} // namespace
} // namespace zov::platform
