// The slide list: one row per slide in order, names as the model holds them, and thumbnails
// that are redrawn exactly when a slide's picture changed.
#include "DesktopFixture.h"

#include "app/desktop/SlideList.h"
#include "host/AutoShapeType.h"

#include <QTest>

namespace zov::test {

namespace {

QImage thumbnail(const app::SlideList& list, int row)
{
    return list.item(row)->icon().pixmap(app::SlideList::kThumbnailSize).toImage();
}

} // namespace

using SlideListTest = DesktopFixture;

TEST_F(SlideListTest, ThumbnailsFollowTheSlidesContent)
{
    const SampleGraph g = makeGraph();
    window->addSlide();
    app::SlideList& list = *window->slideList();
    list.updateThumbnails();
    ASSERT_EQ(list.count(), 2);
    const QImage graph = thumbnail(list, 0);
    const QImage blank = thumbnail(list, 1);
    EXPECT_NE(graph, blank);

    const quint64 before = app::slideFingerprint(g.cat.Parent().data());
    host::Shape moved = g.cat;
    moved.SetTop(moved.Top() + 100);
    settle();
    EXPECT_NE(app::slideFingerprint(g.cat.Parent().data()), before);
    list.updateThumbnails();
    EXPECT_NE(thumbnail(list, 0), graph);
    EXPECT_EQ(thumbnail(list, 1), blank);

    // Text alone changes the picture too.
    const quint64 placed = app::slideFingerprint(g.cat.Parent().data());
    g.relation.TextFrame().TextRange().SetText(QStringLiteral("Under"));
    EXPECT_NE(app::slideFingerprint(g.cat.Parent().data()), placed);
}

// A presentation of many slides: only rows in and near the view are drawn, and pictures of rows
// scrolled far away are let go, so memory follows the view rather than the presentation.
TEST_F(SlideListTest, OnlyRowsNearTheViewHoldPictures)
{
    for (int i = 0; i < 200; ++i)
        window->addSlide();
    settle();
    app::SlideList& list = *window->slideList();
    list.resize(240, 400);
    list.setCurrentRow(0);
    list.scrollToTop();
    list.updateThumbnails();
    ASSERT_EQ(list.count(), 201);
    QPixmap plain(app::SlideList::kThumbnailSize);
    plain.fill(Qt::white);
    const QImage blank = plain.toImage();
    const auto drawn = [&](int row) { return thumbnail(list, row) != blank; };

    const auto [first, last] = list.thumbnailRows();
    EXPECT_EQ(first, 0);
    EXPECT_GT(last, 3);
    EXPECT_LT(last, 100);
    EXPECT_TRUE(drawn(0));
    EXPECT_TRUE(drawn(last));
    EXPECT_FALSE(drawn(last + 1));
    EXPECT_FALSE(drawn(200));

    list.scrollToBottom();
    list.updateThumbnails();
    EXPECT_EQ(list.thumbnailRows().second, 200);
    EXPECT_TRUE(drawn(200));
    EXPECT_FALSE(drawn(0)) << "a picture far from the view is let go";
}

TEST_F(SlideListTest, RowsFollowSlidesAddedBehindTheWindow)
{
    host::Slides slides = application.ActivePresentation().Slides();
    host::Slide added = slides.Add(1, host::LayoutBlank);
    added.SetName(QStringLiteral("Front"));
    settle();
    app::SlideList& list = *window->slideList();
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list.item(0)->text(), QStringLiteral("Front"));
    // The view stayed on the slide it showed, now second.
    EXPECT_EQ(list.currentRow(), 1);
    window->goToSlide(1);
    EXPECT_EQ(list.currentRow(), 0);
    EXPECT_EQ(application.ActiveWindow().View().Slide(), added);
}

// A slide dropped in the list goes to the gap nearest the drop: before a row in its upper half
// or in the spacing just above it, after it in its lower half, at the end below the last row.
TEST_F(SlideListTest, ADropGoesToTheGapNearestIt)
{
    for (int i = 0; i < 4; ++i)
        window->addSlide();
    settle();
    app::SlideList& list = *window->slideList();
    list.scrollToTop();
    ASSERT_EQ(list.count(), 5);
    const QRect second = list.visualRect(list.model()->index(1, 0));
    const QRect third = list.visualRect(list.model()->index(2, 0));
    ASSERT_GT(third.top(), second.bottom() + 1) << "rows have spacing between them";
    const int x = second.center().x();
    EXPECT_EQ(list.gapAt(QPoint(x, second.top() + 2)), 1);
    EXPECT_EQ(list.gapAt(QPoint(x, second.bottom() - 2)), 2);
    EXPECT_EQ(list.gapAt(QPoint(x, (second.bottom() + third.top()) / 2)), 2) << "in the spacing between two rows";
    EXPECT_EQ(list.gapAt(QPoint(x, third.top() + 2)), 2);
    EXPECT_EQ(list.gapAt(QPoint(x, 0)), 0);
    const QRect last = list.visualRect(list.model()->index(4, 0));
    EXPECT_EQ(list.gapAt(QPoint(x, last.bottom() + 20)), 5);
}

// On a small screen the palette opens over the lower part of the list: the list's view ends
// above it, so that the slide in view, the last one too, is scrolled clear of it; the view takes
// the whole list again when the palette goes.
TEST_F(SlideListTest, TheSlideInViewStaysClearOfAToolWindowOverTheList)
{
    for (int i = 0; i < 30; ++i)
        window->addSlide();
    settle();
    app::SlideList& list = *window->slideList();
    const QRect area(list.mapToGlobal(list.contentsRect().topLeft()), list.contentsRect().size());
    ASSERT_GT(area.height(), 400);
    QWidget palette(nullptr, Qt::Tool);
    palette.setGeometry(area.left() + 4, area.bottom() - 249, 300, 300); // over the lower 250 pixels
    palette.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&palette));
    QTest::qWait(20);
    const int covered = area.bottom() - palette.frameGeometry().top() + 1; // the frame counts
    EXPECT_GE(covered, 250);
    EXPECT_EQ(list.coveredHeight(), covered);
    const auto clear = [&](int row) {
        const QRect rect = list.visualRect(list.model()->index(row, 0));
        const QRect global(list.viewport()->mapToGlobal(rect.topLeft()), rect.size());
        return !rect.isEmpty() && list.viewport()->rect().contains(rect) && !global.intersects(palette.frameGeometry());
    };
    for (const int slide : {31, 1, 20}) {
        window->goToSlide(slide);
        settle();
        EXPECT_TRUE(clear(slide - 1)) << "slide " << slide;
    }

    // Nor is it covered by a palette that stops just above the list's bottom (as it opens, above
    // the status bar).
    palette.setGeometry(area.left() + 4, area.bottom() - 279, 300, 250);
    QTest::qWait(20);
    EXPECT_EQ(list.coveredHeight(), area.bottom() - palette.frameGeometry().top() + 1);
    window->goToSlide(31);
    settle();
    EXPECT_TRUE(clear(30));

    // A palette beside the list, or one over so much of it that no row would be left, changes
    // nothing.
    palette.setGeometry(area.right() + 20, area.top(), 300, 300);
    QTest::qWait(20);
    EXPECT_EQ(list.coveredHeight(), 0);
    palette.setGeometry(area.left(), area.top() + 20, 300, area.height());
    QTest::qWait(20);
    EXPECT_EQ(list.coveredHeight(), 0);
    palette.setGeometry(area.left() + 4, area.bottom() - 249, 300, 300);
    QTest::qWait(20);
    EXPECT_EQ(list.coveredHeight(), covered);
    palette.hide();
    QTest::qWait(20);
    EXPECT_EQ(list.coveredHeight(), 0);
}

} // namespace zov::test
