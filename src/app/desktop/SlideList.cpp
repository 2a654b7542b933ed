#include "app/desktop/SlideList.h"

#include <algorithm>

#include <QApplication>
#include <QDropEvent>
#include <QPixmap>
#include <QScrollBar>
#include <QSet>
#include <cstring>

namespace zov::app {

namespace {

quint64 mix(quint64 seed, quint64 value)
{
    return seed ^ (value + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2));
}

quint64 mixFloat(quint64 seed, double value)
{
    quint64 bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return mix(seed, bits);
}

} // namespace

quint64 slideFingerprint(const host::SlideData& slide)
{
    quint64 h = slide.shapes.size();
    if (slide.presentation) {
        h = mixFloat(h, slide.presentation->slideWidth);
        h = mixFloat(h, slide.presentation->slideHeight);
    }
    for (const auto& s : slide.shapes) {
        h = mix(h, static_cast<quint64>(s->kind));
        h = mix(h, static_cast<quint64>(s->autoShapeType));
        for (double v : {double(s->left), double(s->top), double(s->width), double(s->height), double(s->rotation),
                         double(s->lineWeight), double(s->fontSize), s->begin.x(), s->begin.y(), s->end.x(), s->end.y()})
            h = mixFloat(h, v);
        h = mix(h, (quint64(s->fillVisible) << 1) | quint64(s->lineVisible));
        h = mix(h, s->fillRgb);
        h = mix(h, s->lineRgb);
        h = mix(h, (quint64(s->beginArrowhead) << 8) | quint64(s->endArrowhead));
        h = mix(h, qHash(s->fontName));
        for (const QString& p : s->paragraphs)
            h = mix(h, qHash(p));
    }
    return h;
}

SlideList::SlideList(QWidget* parent) : QListWidget(parent)
{
    setViewMode(QListView::ListMode);
    setIconSize(kThumbnailSize);
    setSpacing(4);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setDragDropMode(QAbstractItemView::InternalMove);
    setDefaultDropAction(Qt::MoveAction);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    QPixmap blank(kThumbnailSize);
    blank.fill(Qt::white);
    blank_ = QIcon(blank);
    thumbnailTimer_.setSingleShot(true);
    thumbnailTimer_.setInterval(150);
    connect(&thumbnailTimer_, &QTimer::timeout, this, &SlideList::updateThumbnails);
    // On a small screen the palette opens over the lower part of the list: every window shown,
    // hidden, moved or resized may change what it covers.
    coverTimer_.setSingleShot(true);
    coverTimer_.setInterval(0);
    connect(&coverTimer_, &QTimer::timeout, this, &SlideList::keepClearOfToolWindows);
    qApp->installEventFilter(this);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { thumbnailTimer_.start(); });
    connect(this, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!updating_ && row >= 0)
            Q_EMIT slideChosen(row + 1);
    });
    connect(this, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        if (updating_)
            return;
        const int index = row(item);
        if (index < 0 || index >= static_cast<int>(shown_.size()))
            return;
        if (item->text() != shown_[static_cast<std::size_t>(index)]->name)
            Q_EMIT renameRequested(index + 1, item->text());
    });
}

void SlideList::setPresentation(host::Presentation presentation)
{
    presentation_ = std::move(presentation);
    fingerprints_.clear();
    shown_.clear();
    updating_ = true;
    clear();
    updating_ = false;
    refresh(nullptr);
}

void SlideList::refresh(const host::SlideData* current)
{
    updating_ = true;
    std::vector<const host::SlideData*> slides;
    if (!presentation_.IsNothing())
        for (const auto& s : presentation_.data().slides)
            slides.push_back(s.get());
    if (slides != shown_) {
        // Rows follow the model: rebuild them, keeping the pictures already drawn.
        QHash<const host::SlideData*, QIcon> icons;
        for (std::size_t i = 0; i < shown_.size(); ++i)
            icons.insert(shown_[i], item(static_cast<int>(i))->icon());
        clear();
        for (const host::SlideData* s : slides) {
            auto* row = new QListWidgetItem(s->name, this);
            row->setFlags(row->flags() | Qt::ItemIsEditable | Qt::ItemIsDragEnabled);
            QIcon icon = icons.value(s);
            if (icon.isNull()) {
                icon = blank_;
                fingerprints_.remove(s);
            }
            row->setIcon(icon);
        }
        shown_ = slides;
        const QSet<const host::SlideData*> present(slides.begin(), slides.end());
        for (auto it = fingerprints_.begin(); it != fingerprints_.end();)
            it = present.contains(it.key()) ? std::next(it) : fingerprints_.erase(it);
    }
    for (std::size_t i = 0; i < slides.size(); ++i) {
        QListWidgetItem* row = item(static_cast<int>(i));
        if (row->text() != slides[i]->name && !isPersistentEditorOpen(row))
            row->setText(slides[i]->name);
        row->setToolTip(QStringLiteral("%1. %2").arg(i + 1).arg(slides[i]->name));
    }
    const auto it = std::find(slides.begin(), slides.end(), current);
    const int wanted = it == slides.end() ? -1 : static_cast<int>(it - slides.begin());
    if (currentRow() != wanted)
        setCurrentRow(wanted);
    updating_ = false;
    thumbnailTimer_.start();
}

std::pair<int, int> SlideList::thumbnailRows() const
{
    const int rows = count();
    if (rows == 0)
        return {0, -1};
    // The row at a height of the view, looking a little lower when the point falls between rows.
    const QRect view = viewport()->rect();
    const auto rowAt = [&](int y) {
        for (int step = 0; step <= 2 * spacing() + 2; step += 2)
            if (const QModelIndex index = indexAt(QPoint(view.center().x(), y + step)); index.isValid())
                return index.row();
        return -1;
    };
    int first = rowAt(view.top());
    int last = rowAt(view.bottom());
    if (first < 0)
        first = 0;
    if (last < 0 || last < first)
        last = rows - 1; // the rows end above the bottom of the view
    const int margin = std::max(last - first + 1, 8);
    return {std::max(first - margin, 0), std::min(last + margin, rows - 1)};
}

std::vector<int> SlideList::selectedSlides() const
{
    std::vector<int> slides;
    for (const QModelIndex& index : selectionModel()->selectedRows())
        slides.push_back(index.row() + 1);
    std::sort(slides.begin(), slides.end());
    if (slides.empty() && currentRow() >= 0)
        slides.push_back(currentRow() + 1);
    return slides;
}

void SlideList::resizeEvent(QResizeEvent* event)
{
    QListWidget::resizeEvent(event);
    thumbnailTimer_.start();
    coverTimer_.start();
}

bool SlideList::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::Move:
    case QEvent::Resize:
        if (watched->isWidgetType() && static_cast<QWidget*>(watched)->isWindow())
            coverTimer_.start();
        break;
    default:
        break;
    }
    return QListWidget::eventFilter(watched, event);
}

// A window of this program that is not modal and lies over the lower part of the list, across
// at least half its width and down to less than half a row above its bottom (the palette sits
// just above the status bar), takes the list from its top edge down off the view, as long as a
// row stays in sight; the current row is scrolled back into what is left.
void SlideList::keepClearOfToolWindows()
{
    const QMargins margins = viewportMargins();
    const QRect inner = contentsRect();
    const QRect area(mapToGlobal(inner.topLeft()), inner.size());
    int covered = 0;
    if (isVisible()) {
        const int row = std::max(sizeHintForRow(0), 0) + 2 * spacing();
        for (const QWidget* other : QApplication::topLevelWidgets()) {
            if (other == window() || !other->isVisible() || other->isMinimized() ||
                other->windowModality() != Qt::NonModal)
                continue;
            const QRect over = other->frameGeometry() & area;
            if (over.isEmpty() || 2 * (area.bottom() - over.bottom()) >= row || 2 * over.width() < area.width())
                continue;
            covered = std::max(covered, area.bottom() - over.top() + 1);
        }
        if (area.height() - covered < row)
            covered = 0; // better a covered row than none in sight
    }
    if (covered == margins.bottom())
        return;
    setViewportMargins(margins.left(), margins.top(), margins.right(), covered);
    if (currentIndex().isValid())
        scrollTo(currentIndex());
}

void SlideList::updateThumbnails()
{
    updating_ = true;
    const auto [first, last] = thumbnailRows();
    // Pictures far from the view are let go.
    for (int i = 0; i < static_cast<int>(shown_.size()); ++i) {
        if ((i < first || i > last) && fingerprints_.remove(shown_[static_cast<std::size_t>(i)]))
            item(i)->setIcon(blank_);
    }
    for (int i = first; i <= last; ++i) {
        const host::SlideData* s = shown_[static_cast<std::size_t>(i)];
        const quint64 fingerprint = slideFingerprint(*s);
        const auto known = fingerprints_.constFind(s);
        if (known != fingerprints_.constEnd() && *known == fingerprint)
            continue;
        fingerprints_.insert(s, fingerprint);
        // Drawn in the screen's own pixels (twice as many each way on a screen scaled by two),
        // so that a thumbnail is as sharp as the slide beside it.
        const qreal ratio = std::max<qreal>(1, devicePixelRatioF());
        QImage image = painter_.renderImage(*s, (QSizeF(kThumbnailSize) * ratio).toSize(), Qt::transparent);
        image.setDevicePixelRatio(ratio);
        QPainter frame(&image);
        frame.setPen(QColor(160, 160, 160));
        const QSizeF page = render::SlidePainter::pageSize(*s);
        const double scale = std::min(kThumbnailSize.width() / page.width(), kThumbnailSize.height() / page.height());
        const QSizeF drawn = page * scale;
        frame.drawRect(QRectF((kThumbnailSize.width() - drawn.width()) / 2, (kThumbnailSize.height() - drawn.height()) / 2,
                              drawn.width() - 1, drawn.height() - 1));
        frame.end();
        // The same picture when the row is selected: a slide keeps its colours.
        QIcon icon;
        const QPixmap pixmap = QPixmap::fromImage(image);
        icon.addPixmap(pixmap, QIcon::Normal);
        icon.addPixmap(pixmap, QIcon::Selected);
        item(i)->setIcon(icon);
    }
    updating_ = false;
}

int SlideList::gapAt(QPoint point) const
{
    if (const QModelIndex under = indexAt(point); under.isValid())
        return under.row() + (point.y() < visualRect(under).center().y() ? 0 : 1);
    // Between two rows (the list's spacing), above the first or below the last: rows are one
    // under the other, and the first whose middle is below the point comes after the gap.
    for (int row = 0; row < count(); ++row) {
        const QRect rect = visualRect(model()->index(row, 0));
        if (point.y() < rect.center().y())
            return row;
    }
    return count();
}

void SlideList::dropEvent(QDropEvent* event)
{
    if (event->source() != this) {
        event->ignore();
        return;
    }
    const int from = currentRow();
    const int gap = gapAt(event->position().toPoint());
    event->setDropAction(Qt::IgnoreAction);
    event->accept();
    // Several slides selected, the one dragged among them: they all go, in their order.
    const std::vector<int> selected = selectedSlides();
    if (selected.size() > 1 && std::find(selected.begin(), selected.end(), from + 1) != selected.end()) {
        Q_EMIT movesRequested(selected, gap);
        return;
    }
    // `gap` is the gap before row `gap`; after taking the slide out, the rows below shift up.
    const int to = gap > from ? gap - 1 : gap;
    if (from >= 0 && to != from && to >= 0 && to < count())
        Q_EMIT moveRequested(from + 1, to + 1);
}

} // namespace zov::app
