#include "cgif/import/SlideRoom.h"

#include "platform/MessageBox.h"

#include <QLocale>

namespace zov::cgif::importer {

bool SlideRoom::Left() {
    full_ = presentation_.Slides().Count() >= maxSlides_;
    return !full_;
}

bool SlideRoom::TellWhenFull(platform::MessageBoxes& messages) const {
    if (!full_)
        return false;
    const QLocale english(QLocale::English);
    const int slides = presentation_.Slides().Count();
    const int drawn = slides - slidesBefore_;
    // Graphs are drawn at the end, a nested graph's slide before its holder's: the last slide is
    // the last top-level graph read.
    const QString what = drawn > 0 ? QStringLiteral("this import drew %1 of them, up to graph %2, and the graphs after it "
                                                    "were not imported")
                                         .arg(english.toString(drawn), presentation_.Slides().Item(slides).Name())
                                   : QStringLiteral("no graph was imported");
    // The count may pass the limit: a nested graph's slide comes with its holder's, and a
    // presentation may have been fuller than that before the import.
    messages.inform(QStringLiteral("The presentation has %1 slides, and an import stops at %2, so that the "
                                   "presentation can still be opened again once saved: %3.")
                        .arg(english.toString(slides), english.toString(maxSlides_), what),
                    QStringLiteral("ZOVEdit"), platform::MessageIcon::Exclamation);
    return true;
}

} // namespace zov::cgif::importer
