#pragma once
// The slide list beside the canvas: one row per slide with its thumbnail and name, in slide
// order. The user picks the slide in view, selects several (for deleting them at once), renames
// a slide in place, and drags the slide in view to a new place; the list only reports these
// wishes (signals) and shows what the model holds.
#include "app/render/SlidePainter.h"
#include "host/Presentation.h"

#include <QHash>
#include <QListWidget>
#include <QTimer>
#include <utility>
#include <vector>

namespace zov::app {

class SlideList : public QListWidget {
    Q_OBJECT
public:
    explicit SlideList(QWidget* parent = nullptr);

    void setPresentation(host::Presentation presentation);
    // Brings rows, names and the current row in line with the model; thumbnails of slides
    // whose content changed are redrawn shortly after (changes come in bursts).
    void refresh(const host::SlideData* current);
    // Redraws the thumbnails in and near the view that are out of date now. Rows farther away
    // show a blank page until they are scrolled near, so a presentation of thousands of slides
    // opens without drawing them all, and their pictures take memory in proportion to the view.
    void updateThumbnails();
    // The rows whose thumbnails are drawn: those in view, and as many again above and below.
    std::pair<int, int> thumbnailRows() const;
    // The slides selected in the list (Shift and Ctrl with a click extend the selection),
    // 1-based and ascending; the current one when no row is selected.
    std::vector<int> selectedSlides() const;

    static constexpr QSize kThumbnailSize{128, 96};

    // The gap (0-based: before row `gap`, or the number of rows for the end) a drop at `point`
    // of the view goes to: before a row when it falls in that row's upper half or in the spacing
    // above it, after the row in its lower half.
    int gapAt(QPoint point) const;

    // The height of the list's lower part that a tool window (the palette) covers, kept out of
    // the view so that the current slide can be scrolled clear of it; 0 when none is.
    int coveredHeight() const { return viewportMargins().bottom(); }

Q_SIGNALS:
    void slideChosen(int index);                      // 1-based
    void renameRequested(int index, const QString& name);
    void moveRequested(int from, int to);             // 1-based positions, as Slides.Move takes
    // Several slides (1-based, ascending) dragged to the gap before row `gap` (0-based; the
    // number of rows for the end).
    void movesRequested(const std::vector<int>& slides, int gap);

protected:
    void dropEvent(QDropEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    host::Presentation presentation_;
    render::SlidePainter painter_;
    std::vector<const host::SlideData*> shown_;
    QHash<const host::SlideData*, quint64> fingerprints_; // of the thumbnails drawn
    QIcon blank_;
    QTimer thumbnailTimer_;
    QTimer coverTimer_; // windows move and show in bursts
    bool updating_ = false;
    void keepClearOfToolWindows();
};

// A hash of everything about a slide that shows in its picture.
quint64 slideFingerprint(const host::SlideData& slide);

} // namespace zov::app
