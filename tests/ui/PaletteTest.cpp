// The palette: its controls, captions and menus, and closing (what the options, the run keys,
// the graph buttons, About and Help do is in the palette's scripts, tests/cases/ui/*.script;
// Arrange from the palette is in tests/app/EditorInHostTest.cpp).
#include "UiFixture.h"
#include "support/CaseFiles.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <map>

namespace zov::ui::testing {
namespace {

using PaletteTest = UiTest;

// The cases of tests/cases/ui: each control of the palette and the Configure dialog, found by
// its object name, with what it is and its caption; the palette's window and its rows.
TEST_F(PaletteTest, ControlCases) {
    start();
    palette().ConfigButton->click();
    for (const test::Case& c : test::LoadCases(QStringLiteral("ui"), QStringLiteral("controls.case"))) {
        QWidget* window = c.input.startsWith(QStringLiteral("configure ")) ? static_cast<QWidget*>(windows().ConfigurationDialog())
                                                                           : &palette();
        QObject* control = window->findChild<QObject*>(c.input.section(u' ', 1));
        QStringList trace;
        if (c.input == QStringLiteral("palette window")) {
            trace << QStringLiteral("%1 tool %2 on top %3 modal %4 one option %5").arg(palette().windowTitle())
                         .arg(palette().windowType() == Qt::Tool).arg(palette().windowFlags().testFlag(Qt::WindowStaysOnTopHint))
                         .arg(palette().isModal()).arg(palette().Options->exclusive());
        } else if (c.input == QStringLiteral("palette rows")) { // top to bottom, each left to right
            std::map<int, std::map<int, QString>> rows;
            for (QWidget* w : palette().findChildren<QWidget*>())
                if (w->isVisible() && (qobject_cast<QAbstractButton*>(w) || w == palette().TextBox1))
                    rows[w->mapTo(&palette(), QPoint()).y()][w->mapTo(&palette(), QPoint()).x()] = w->objectName();
            for (const auto& [top, row] : rows) {
                QStringList names;
                for (const auto& [left, name] : row)
                    names << name;
                trace << names.join(u' ');
            }
        }
        if (auto* option = qobject_cast<QRadioButton*>(control)) {
            trace << QStringLiteral("option %1 ").arg(palette().Options->id(option)) + option->text();
            EXPECT_EQ(option->parentWidget(), palette().Frame1) << c.where() << ": the options are grouped in the frame";
        } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
            trace << QStringLiteral("button ") + button->text();
        } else if (auto* label = qobject_cast<QLabel*>(control)) {
            trace << QStringLiteral("label ") + label->text();
        } else if (auto* menu = qobject_cast<QMenu*>(control)) {
            trace << QStringLiteral("menu ") + menu->title();
            for (const QAction* item : menu->actions())
                trace << item->objectName() + u' ' + item->text();
        }
        EXPECT_EQ(test::Lines(trace), test::Lines(c.expected)) << c.where();
    }
}

// Closing unloads the palette, which takes no more activations; the session going away closes
// an open palette once, with the offer to save changed settings.
// Without a window manager a click gives no window the focus, so none is active when "ZOV Edit"
// is pressed: the palette still opens beside (or inside the corner of) the main window, below
// its menus and tool bars, not over them at the screen's top-left corner.
TEST_F(PaletteTest, OpensBesideTheMainWindowWhenNoWindowIsActive) {
    QMainWindow main;
    main.setMenuBar(new QMenuBar);
    main.menuBar()->addMenu(QStringLiteral("&File"));
    main.setCentralWidget(new QWidget);
    main.setGeometry(0, 0, 600, 400);
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    QApplication::setActiveWindow(nullptr);
    ASSERT_EQ(QApplication::activeWindow(), nullptr);
    start();
    const QRect menusAndBars(main.geometry().topLeft(), QSize(main.width(), 60));
    EXPECT_FALSE(palette().frameGeometry().intersects(menusAndBars))
        << "the palette opened at " << palette().x() << "," << palette().y() << " over the main window's menus";
}

// On a screen with no room beside the main window, the palette opens over the window's lower
// left, where the editor lists its slides: clear of the menus and of the slide on the right.
TEST_F(PaletteTest, OpensOverTheLowerLeftOfAMainWindowThatFillsTheScreen) {
    QMainWindow main;
    main.setMenuBar(new QMenuBar);
    main.menuBar()->addMenu(QStringLiteral("&File"));
    main.setCentralWidget(new QWidget);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    main.setGeometry(screen.adjusted(10, 10, -10, -10));
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    QApplication::setActiveWindow(nullptr);
    start();
    const QRect at = palette().frameGeometry();
    const QRect frame = main.frameGeometry();
    EXPECT_TRUE(screen.contains(at)) << at.x() << "," << at.y();
    EXPECT_GE(at.top(), frame.top() + 60) << "over the menus";
    EXPECT_LE(at.right(), frame.left() + frame.width() / 2) << "over the slide";
    EXPECT_GE(at.bottom(), frame.top() + frame.height() / 2) << "over the upper slide list";
}

TEST_F(PaletteTest, ClosingUnloadsThePaletteAndTheSessionGoingAwayClosesItWithTheOffer) {
    start();
    palette().AddGraphButton->click();
    editor().Reader().ClearReaderTables();
    QPointer<ZOVMain> first = &palette();
    first->close();
    QEvent activate(QEvent::WindowActivate); // a closed palette on its way out rebuilds no tables
    QApplication::sendEvent(first, &activate);
    EXPECT_TRUE(editor().Reader().Tables().BoundArray.empty());
    QApplication::processEvents();
    EXPECT_TRUE(first.isNull());
    start();
    session->DrawingSettings().actorColor = 1;
    messages.script(platform::MessageAnswer::No);
    session.reset();
    EXPECT_EQ(messages.shown().size(), 1u);
}

// Closed, the palette leaves the keyboard with the main window (not another window of the
// program, such as the help), so that its menus and keys work without a click where no window
// manager gives a window the focus.
TEST_F(PaletteTest, ClosedItLeavesTheKeyboardWithTheMainWindow) {
    // Other windows of the program, open beside them (the help), made before and after it.
    QWidget before;
    before.show();
    QMainWindow main;
    main.setCentralWidget(new QWidget);
    main.show();
    QWidget after;
    after.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    start();
    palette().show();
    palette().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&palette()));
    palette().close();
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &main; }, 2000))
        << (QApplication::activeWindow() != nullptr ? "another window took it" : "no window has it");
}

// The run key runs a command only from the palette's own controls and never while a box is
// open: a key released on a message box the run put up (a child window of the palette) or
// while any modal window is open draws nothing more.
TEST_F(PaletteTest, TheRunKeyRunsNothingWhileABoxIsOpen) {
    start();
    palette().AddGraphButton->click();
    palette().NewConceptButton->click();
    cursor.setPosition(QPoint(300, 200));
    const int before = slideInView().Shapes().Count();
    QDialog box(&palette());
    box.setModal(true);
    box.show();
    QApplication::processEvents();
    palette().TextBox1->setText(QStringLiteral("Cat"));
    QTest::keyRelease(&box, Qt::Key_Insert);
    QTest::keyRelease(palette().TextBox1, Qt::Key_F4);
    EXPECT_EQ(slideInView().Shapes().Count(), before);
    box.close();
    QApplication::processEvents();
    QTest::keyRelease(palette().TextBox1, Qt::Key_Insert);
    EXPECT_EQ(slideInView().Shapes().Count(), before + 1);
}

// The run key also runs the command from the editor's main window, where the keyboard is after
// a slide was chosen in its list, but not while a text is typed there or a box is open.
TEST_F(PaletteTest, TheRunKeyRunsFromTheMainWindowButNotInItsTextFields) {
    start();
    palette().AddGraphButton->click();
    palette().NewConceptButton->click();
    palette().TextBox1->setText(QStringLiteral("Cat"));
    cursor.setPosition(QPoint(300, 200));
    QMainWindow mainWindow;
    auto* slides = new QWidget(&mainWindow);
    auto* rename = new QLineEdit(slides);
    mainWindow.setCentralWidget(slides);
    mainWindow.show();
    const int before = slideInView().Shapes().Count();

    rename->setFocus();
    QApplication::processEvents();
    QTest::keyRelease(rename, Qt::Key_Insert);
    EXPECT_EQ(slideInView().Shapes().Count(), before);

    slides->setFocusPolicy(Qt::StrongFocus);
    slides->setFocus();
    QApplication::processEvents();
    QTest::keyRelease(slides, Qt::Key_Insert);
    EXPECT_EQ(slideInView().Shapes().Count(), before + 1);

    palette().TextBox1->setText(QStringLiteral("Dog"));
    QDialog box(&mainWindow);
    box.setModal(true);
    box.show();
    QApplication::processEvents();
    QTest::keyRelease(slides, Qt::Key_F4);
    EXPECT_EQ(slideInView().Shapes().Count(), before + 1);
    box.close();
    QApplication::processEvents();
    QTest::keyRelease(slides, Qt::Key_F4);
    EXPECT_EQ(slideInView().Shapes().Count(), before + 2);
}

// F1 in the palette shows the help's contents, as the Help menu does.
TEST_F(PaletteTest, F1ShowsTheHelp) {
    start();
    palette().TextBox1->setFocus();
    QTest::keyClick(palette().TextBox1, Qt::Key_F1);
    ASSERT_EQ(help.calls().size(), 1u);
    EXPECT_EQ(help.calls().front().command, platform::HelpCommand::Contents);
}

} // namespace
} // namespace zov::ui::testing
