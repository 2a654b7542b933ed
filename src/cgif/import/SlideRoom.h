#pragma once
// Stops an import before it draws more slides than a saved presentation can hold and still be
// opened again: past that, every graph drawn would be lost at the save, which refuses the whole
// presentation. The reading stops between two top-level graphs, the slides drawn stay, and the
// user is told.
#include "host/Presentation.h"
#include "host/pptx/ZipArchive.h"

namespace zov::platform {
class MessageBoxes;
}

namespace zov::cgif::importer {

class SlideRoom {
public:
    explicit SlideRoom(host::Presentation presentation, int maxSlides = host::pptx::SlidesThatReopen)
        : presentation_(std::move(presentation)), maxSlides_(maxSlides), slidesBefore_(presentation_.Slides().Count()) {}

    // The reader's keep-reading check: true while the presentation has room for another slide.
    bool Left();
    // After the reading: when it stopped for want of room, shows so (with how many slides this
    // import drew and the last graph drawn, so that the user knows where the rest begins) and
    // returns true.
    bool TellWhenFull(platform::MessageBoxes& messages) const;

private:
    host::Presentation presentation_;
    int maxSlides_;
    int slidesBefore_; // the presentation's slides when the import began
    bool full_ = false;
};

} // namespace zov::cgif::importer
