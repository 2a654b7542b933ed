// The desktop's forms of the common dialog's filters, and its save dialog's question.
#include "platform/CommonDialog.h"
#include "platform/CursorPosition.h"
#include "support/CaseFiles.h"
#include "ui/QtPlatform.h"

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QScreen>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace zov::ui::testing {
namespace {

// The cases of tests/cases/ui/file-filters.case: a filter as the common dialog takes it → its
// entries "DESCRIPTION [PATTERN]", then the name filters of Qt's file dialogs, "qt FILTER".
TEST(FileFilters, Cases) {
    for (const test::Case& c : test::LoadCases(QStringLiteral("ui"), QStringLiteral("file-filters.case"))) {
        QStringList read;
        for (const platform::FilterEntry& entry : platform::ParseFilter(c.input))
            read << entry.description + QStringLiteral(" [") + entry.pattern + u']';
        for (const QString& filter : QtNameFilters(c.input))
            read << QStringLiteral("qt ") + filter;
        EXPECT_EQ(test::Lines(read), test::Lines(c.expected)) << c.where();
    }
}

// The desktop's save dialog asks before it hands back the name of a file that exists: No
// goes back to the dialog, Yes returns the name.
TEST(QtFileDialogs, SavingOverAnExistingFileAsksFirst) {
    QTemporaryDir folder;
    const QString existing = QDir(folder.path()).filePath(QStringLiteral("old.cgf"));
    {
        QFile file(existing);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    platform::FileDialogRequest request;
    request.filter = QStringLiteral("CGIF Files (*.cgf)|*.cgf");
    request.initDir = folder.path();
    request.defaultExt = QStringLiteral(".cgf");
    request.fileName = QStringLiteral("old.cgf");

    QStringList asked;
    int accepts = 0;
    QRect shownAt;
    QTimer user;
    user.setInterval(20);
    QObject::connect(&user, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        // The answers go through the event queue: the question opens inside the dialog's
        // accept, and this timer fires again only once its handler has returned.
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            asked << box->text();
            QAbstractButton* answer = box->button(asked.size() == 1 ? QMessageBox::No : QMessageBox::Yes);
            QMetaObject::invokeMethod(answer, &QAbstractButton::click, Qt::QueuedConnection);
        } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            // QFileDialog's accept is reached through QDialog's; after two questions, give up
            // rather than hang.
            if (accepts == 0)
                shownAt = dialog->geometry();
            const auto answer = ++accepts > 2 ? &QDialog::reject : &QDialog::accept;
            QMetaObject::invokeMethod(dialog, answer, Qt::QueuedConnection);
        }
    });
    user.start();
    const std::optional<QString> chosen = QtCommonDialog().ShowSave(request);
    user.stop();
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(QFileInfo(*chosen).absoluteFilePath(), QFileInfo(existing).absoluteFilePath());
    EXPECT_EQ(asked, QStringList(2, QStringLiteral("old.cgf already exists.\nDo you want to replace it?")));
    // It opened wide enough for its columns, in the middle of the screen.
    const QRect screen = QApplication::primaryScreen()->availableGeometry();
    EXPECT_GE(shownAt.width(), std::min(800, screen.width() - 40));
    EXPECT_LT((shownAt.center() - screen.center()).manhattanLength(), 40);
}

// The palette's commands act where the pointer is on the slide: over another window the place
// it last had over the slide stands for it, and before that the middle of the slide's view.
TEST(QtPointer, OverAnotherWindowThePlaceLastOverTheSlideStandsForIt) {
    QWidget main;
    main.setGeometry(100, 100, 400, 300);
    auto* view = new QWidget(&main);
    view->setGeometry(100, 0, 300, 300);
    view->setProperty(platform::SlideViewProperty, true);
    auto* inside = new QWidget(view); // a child of the view (an edited text) counts as the view
    inside->setGeometry(0, 0, 50, 50);
    QWidget palette;
    palette.setGeometry(600, 100, 200, 200);
    main.show();
    palette.show();
    QApplication::processEvents();

    // Slide points are shown at `scale` pixels a point from the view's corner (a zoom).
    double scale = 1;
    QtCursorPosition pointer([&](QPointF point) -> std::optional<QPoint> { return view->mapToGlobal((point * scale).toPoint()); });
    const QPoint viewCentre = view->mapToGlobal(view->rect().center());
    QCursor::setPos(palette.mapToGlobal(QPoint(20, 20)));
    EXPECT_EQ(pointer.position(), viewCentre) << "never over the slide yet";
    const QPoint onSlide = view->mapToGlobal(QPoint(100, 60));
    QCursor::setPos(onSlide);
    EXPECT_EQ(pointer.position(), onSlide);
    const QPoint overChild = inside->mapToGlobal(QPoint(10, 10));
    QCursor::setPos(overChild);
    EXPECT_EQ(pointer.position(), overChild);
    // The view notes the slide point where the pointer last moved over it (the slide canvas
    // does on each move); it stands for the pointer where it is shown now.
    view->setProperty(platform::LastPointerProperty, QPointF(100, 60));
    QCursor::setPos(palette.mapToGlobal(QPoint(30, 40)));
    EXPECT_EQ(pointer.position(), onSlide);
    QCursor::setPos(main.mapToGlobal(QPoint(20, 20))); // the main window, beside the view
    EXPECT_EQ(pointer.position(), onSlide);
    scale = 2; // zoomed in: the same slide point is shown elsewhere
    EXPECT_EQ(pointer.position(), view->mapToGlobal(QPoint(200, 120)));
    scale = 4; // now out of the view: its middle stands for it
    EXPECT_EQ(pointer.position(), viewCentre);
    // A place another window covers now does not count.
    scale = 1;
    palette.move(onSlide - QPoint(10, 10));
    QApplication::processEvents();
    EXPECT_EQ(pointer.position(), viewCentre);
    // A shape chosen from the keyboard since the pointer last moved over the slide: its place
    // stands for the pointer, even while the idle pointer rests over the slide.
    palette.move(600, 100);
    QApplication::processEvents();
    view->setProperty(platform::LastPointerProperty, QPointF(150, 200));
    view->setProperty(platform::ChosenByKeyProperty, true);
    QCursor::setPos(onSlide);
    EXPECT_EQ(pointer.position(), view->mapToGlobal(QPoint(150, 200)));
    palette.move(view->mapToGlobal(QPoint(140, 190))); // over the chosen place: it still counts
    QApplication::processEvents();
    QCursor::setPos(palette.mapToGlobal(QPoint(20, 20)));
    EXPECT_EQ(pointer.position(), view->mapToGlobal(QPoint(150, 200)));
    view->setProperty(platform::ChosenByKeyProperty, false); // the pointer moved over the slide
    EXPECT_EQ(pointer.position(), viewCentre) << "a place pointed at, covered, does not count";
    palette.move(600, 100);
    QApplication::processEvents();
    QCursor::setPos(onSlide);
    EXPECT_EQ(pointer.position(), onSlide);
}

} // namespace
} // namespace zov::ui::testing
