#pragma once
// One line of status at the foot of a terminal ("Opening big.pptx", "Reading graphs.cgf: 42%"),
// written over in place while a long command-line run goes on. It appears only on a terminal, so
// that scripts and pipes never see it; it is wiped before any other line is written to the same
// stream (ConsoleMessageBoxes does), and when it is destroyed. A step is shown as it starts (a
// quick run wipes it at once); a running count waits until the run has lasted a moment (Due).
#include <QString>
#include <cstdint>
#include <functional>
#include <iosfwd>

namespace zov::platform {

class StatusLine {
public:
    using Clock = std::function<std::int64_t()>; // milliseconds, steadily increasing
    static constexpr std::int64_t DefaultDelay = 700;
    static constexpr qsizetype MaxWidth = 79; // columns: a longer text is cut, ending in "..."

    // `terminal`: the stream is a terminal a person watches (StderrIsTerminal for std::cerr).
    StatusLine(std::ostream& out, bool terminal, Clock clock = {}, std::int64_t delayMs = DefaultDelay);
    ~StatusLine();
    StatusLine(const StatusLine&) = delete;
    StatusLine& operator=(const StatusLine&) = delete;

    // Shows `text` (on a terminal) in place of what the line showed; the same text again writes nothing.
    void Show(const QString& text);
    // Wipes the line (the cursor goes back to its start); it comes back with the next Show.
    void Clear();
    // For a run that writes its own output to the terminal, which the line would mix with:
    // nothing is shown from now on.
    void Silence() {
        Clear();
        terminal_ = false;
    }
    // True on a terminal once the moment has passed: a running count is worth showing.
    bool Due() const { return terminal_ && clock_() >= shownFrom_; }

private:
    std::ostream& out_;
    bool terminal_;
    Clock clock_;
    std::int64_t shownFrom_;  // the time before which a running count is not shown
    QString shown_;           // what the line shows now (empty: nothing)
    qsizetype width_ = 0;     // the columns it takes
};

bool StderrIsTerminal();

// "WHAT: P%" for `done` of `total` (P from 0 to 100); "WHAT" alone when the total is not known
// (standard input).
QString PercentStatus(const QString& what, std::int64_t done, std::int64_t total);

// Follows a long step on a status line once it is due, as "WHAT: P%" ("Reading big.cgf: 42%",
// "Arranging the slides: 7%"). Advance may be told very often (every line read): it looks at
// the clock only every `step` units and writes only when the line shows another text.
class PercentProgress {
public:
    static constexpr std::int64_t ReadingStep = 64 * 1024; // bytes of a file read
    PercentProgress(StatusLine& line, QString what, std::int64_t total, std::int64_t step = 1)
        : line_(line), what_(std::move(what)), total_(total), step_(step), lookedAt_(-step) {}
    void Advance(std::int64_t done);

private:
    StatusLine& line_;
    QString what_;
    std::int64_t total_;
    std::int64_t step_;
    std::int64_t lookedAt_; // the `done` at which the clock was last looked at
};

} // namespace zov::platform
