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
    messages.inform(QStringLiteral("The presentation has %1 slides, the most it can hold and still be opened again "
                                   "once saved: the graphs after them were not imported.")
                        .arg(QLocale(QLocale::English).toString(presentation_.Slides().Count())),
                    QStringLiteral("ZOVEdit"), platform::MessageIcon::Exclamation);
    return true;
}

} // namespace zov::cgif::importer
