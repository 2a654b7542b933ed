#include "platform/StatusLine.h"

#include <algorithm>
#include <chrono>
#include <ostream>
#include <unistd.h>

namespace zov::platform {

namespace {
std::int64_t SteadyMilliseconds() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}
} // namespace

StatusLine::StatusLine(std::ostream& out, bool terminal, Clock clock, std::int64_t delayMs)
    : out_(out), terminal_(terminal), clock_(clock ? std::move(clock) : Clock(SteadyMilliseconds)),
      shownFrom_(clock_() + delayMs) {}

StatusLine::~StatusLine() { Clear(); }

void StatusLine::Show(const QString& given) {
    // A line longer than the narrowest terminal would wrap, and a carriage return would then go
    // back to the start of its last row only: the end of a long name gives way.
    const QString text = given.size() > MaxWidth ? given.left(MaxWidth - 3) + QStringLiteral("...") : given;
    if (!terminal_ || text == shown_)
        return;
    const std::string bytes = text.toStdString();
    // A shorter text leaves the end of the longer one before it: blanks cover it.
    const qsizetype width = text.size();
    out_ << '\r' << bytes << std::string(static_cast<std::size_t>(std::max<qsizetype>(0, width_ - width)), ' ');
    if (width_ > width)
        out_ << '\r' << bytes;
    out_.flush();
    shown_ = text;
    width_ = width;
}

void StatusLine::Clear() {
    if (shown_.isEmpty())
        return;
    out_ << '\r' << std::string(static_cast<std::size_t>(width_), ' ') << '\r';
    out_.flush();
    shown_.clear();
    width_ = 0;
}

bool StderrIsTerminal() { return isatty(STDERR_FILENO) == 1; }

QString PercentStatus(const QString& what, std::int64_t done, std::int64_t total) {
    if (total <= 0)
        return what;
    const std::int64_t percent = std::clamp<std::int64_t>(done * 100 / total, 0, 100);
    return QStringLiteral("%1: %2%").arg(what).arg(percent);
}

void PercentProgress::Advance(std::int64_t done) {
    // The end is always looked at: it shows 100%.
    if (done - lookedAt_ < step_ && (total_ <= 0 || done < total_))
        return;
    lookedAt_ = done;
    if (!line_.Due())
        return;
    // The line writes only what it does not show already; after another step's text (a large
    // graph drawn between two readings) it shows this one again.
    line_.Show(PercentStatus(what_, done, total_));
}

} // namespace zov::platform
