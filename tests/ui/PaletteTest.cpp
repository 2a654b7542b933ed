// The palette: its controls, captions and menus, what each one runs, the run keys at the mouse
// pointer, activation, closing, About and Help.
#include "UiFixture.h"
#include "support/CaseFiles.h"

#include <QAction>
#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace zov::ui::testing {
namespace {

using PaletteTest = UiTest;

TEST_F(PaletteTest, HasEveryControlWithItsCaptionInItsRow) {
    start();
    ZOVMain& p = palette();
    EXPECT_EQ(p.windowTitle(), QStringLiteral("ZOV Edit"));
    EXPECT_TRUE(p.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(p.windowType(), Qt::Tool);
    EXPECT_FALSE(p.isModal());

    EXPECT_TRUE(p.Options->exclusive()) << "one command at a time (the options: tests/cases/ui/controls.case)";
    ASSERT_NE(p.findChild<QLineEdit*>(QStringLiteral("TextBox1")), nullptr);

    // Rows top to bottom: Clear/Add, Show/Configure, the options (C R A Link; Comment Edit
    // Jump), the text box across the width.
    auto top = [](QWidget* w) { return w->mapTo(w->window(), QPoint(0, 0)).y(); };
    EXPECT_EQ(top(p.NewGraph), top(p.AddGraphButton));
    EXPECT_LT(p.NewGraph->x(), p.AddGraphButton->x());
    EXPECT_LT(top(p.NewGraph), top(p.ShowButton));
    EXPECT_EQ(top(p.ShowButton), top(p.ConfigButton));
    EXPECT_LT(top(p.ShowButton), top(p.Frame1));
    EXPECT_EQ(top(p.NewConceptButton), top(p.NewLinkButton));
    EXPECT_LT(top(p.NewLinkButton), top(p.Comment));
    EXPECT_EQ(top(p.Comment), top(p.JumpGraphButton));
    EXPECT_LT(p.Comment->x(), p.ChangeLabelButton->x());
    EXPECT_LT(p.ChangeLabelButton->x(), p.JumpGraphButton->x());
    EXPECT_LT(top(p.Frame1), top(p.TextBox1));
    EXPECT_GE(p.TextBox1->width(), p.Frame1->width());
}

// The cases of tests/cases/ui: each control of the palette and the Configure dialog, found by
// its object name, with what it is and its caption.
TEST_F(PaletteTest, ControlCases) {
    start();
    palette().ConfigButton->click();
    for (const test::Case& c : test::LoadCases(QStringLiteral("ui"))) {
        QWidget* window = c.input.startsWith(QStringLiteral("configure ")) ? static_cast<QWidget*>(windows().ConfigurationDialog())
                                                                           : &palette();
        QObject* control = window->findChild<QObject*>(c.input.section(u' ', 1));
        QStringList trace;
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

TEST_F(PaletteTest, StartingShowsThePaletteAtTheConceptCommandWithAnEmptyFocusedTextBox) {
    app.Presentations().Add();
    app.ActivePresentation().Slides().Add(1, 12);
    start();
    palette().TextBox1->setText(QStringLiteral("left over"));
    palette().SelectOption(3);
    start(); // the button pressed again while the palette is open
    ZOVMain& p = palette();
    EXPECT_TRUE(p.isVisible());
    EXPECT_TRUE(p.NewConceptButton->isChecked());
    EXPECT_EQ(editor().CommandMode(), 1);
    EXPECT_TRUE(p.TextBox1->text().isEmpty());
    EXPECT_EQ(p.focusWidget(), p.TextBox1);
    EXPECT_EQ(app.Presentations().Count(), 1);
}

TEST_F(PaletteTest, OptionsSetTheCommandModeAndClearTheTextBox) {
    start();
    addGraph();
    ZOVMain& p = palette();
    for (int code : {2, 3, 4, 5, 6, 1}) {
        p.TextBox1->setText(QStringLiteral("typed"));
        p.ChangeLabelButton->setFocus();
        p.Options->button(code)->click();
        EXPECT_EQ(editor().CommandMode(), code);
        EXPECT_TRUE(p.TextBox1->text().isEmpty());
        EXPECT_EQ(p.focusWidget(), p.TextBox1) << "code " << code;
    }
    // "Comment" clears the text box too, but the focus stays on the option.
    p.TextBox1->setText(QStringLiteral("typed"));
    p.Comment->setFocus();
    p.Comment->click();
    EXPECT_EQ(editor().CommandMode(), 7);
    EXPECT_TRUE(p.TextBox1->text().isEmpty());
    EXPECT_EQ(p.focusWidget(), p.Comment);
    // The run key still works there, and then hands the focus to the text box.
    cursor.setPosition(QPoint(150, 100));
    QTest::keyRelease(p.Comment, Qt::Key_Insert);
    EXPECT_EQ(shapeAt(50, 50).AutoShapeType(), 106);
    EXPECT_EQ(p.focusWidget(), p.TextBox1);
}

// An option chosen with the arrow keys hands the focus to the text box as a click does; the
// comment option keeps it.
TEST_F(PaletteTest, ArrowKeysChooseAnOptionAndHandTheFocusBackAsAClickDoes) {
    start();
    addGraph();
    ZOVMain& p = palette();
    p.activateWindow(); // the arrow keys move between options of the active window only
    ASSERT_TRUE(QTest::qWaitForWindowActive(&p));
    p.NewConceptButton->setFocus();
    p.TextBox1->setText(QStringLiteral("typed"));
    QTest::keyClick(p.NewConceptButton, Qt::Key_Right);
    QApplication::processEvents();
    EXPECT_EQ(editor().CommandMode(), 2);
    EXPECT_TRUE(p.NewRelationButton->isChecked());
    EXPECT_TRUE(p.TextBox1->text().isEmpty());
    EXPECT_EQ(p.focusWidget(), p.TextBox1);

    p.JumpGraphButton->click();
    p.JumpGraphButton->setFocus();
    QTest::keyClick(p.JumpGraphButton, Qt::Key_Left);
    QApplication::processEvents();
    EXPECT_EQ(editor().CommandMode(), 5);
    EXPECT_EQ(p.focusWidget(), p.TextBox1);
    p.ChangeLabelButton->setFocus();
    QTest::keyClick(p.ChangeLabelButton, Qt::Key_Left);
    QApplication::processEvents();
    EXPECT_EQ(editor().CommandMode(), 7);
    EXPECT_EQ(p.focusWidget(), p.Comment) << "the comment option keeps the focus";
}

// Clear Graph leaves the node tables describing the slides, so a jump made right after it and
// Show follows the coreference.
TEST_F(PaletteTest, JumpRightAfterClearGraphAndShowFollowsTheCoreference) {
    start();
    ZOVMain& p = palette();
    const auto graphWithPentagon = [&](const QString& graph, const QString& name) {
        p.TextBox1->setText(graph);
        p.AddGraph();
        host::Shape pentagon = slideInView().Shapes().AddShape(51, 100, 100, 80, 30);
        pentagon.SetName(name);
        pentagon.TextFrame().TextRange().SetText(QStringLiteral("Cat"));
    };
    graphWithPentagon(QStringLiteral("Dog"), QStringLiteral("x/AAAAAAAA"));
    graphWithPentagon(QStringLiteral("Bird"), QStringLiteral("x/BBBBBBBB"));
    graphWithPentagon(QStringLiteral("Scratch"), QStringLiteral("y/CCCCCCCC"));
    p.NewGraph->click();
    p.TextBox1->setText(QStringLiteral("Bird"));
    p.ShowButton->click();
    ASSERT_EQ(slideInView().Name(), QStringLiteral("Bird"));
    p.JumpGraphButton->click();
    cursor.setPosition(QPoint(100 + 140, 50 + 115));
    p.RunAtPointer();
    EXPECT_EQ(shownTexts(), std::vector<QString>{});
    EXPECT_EQ(slideInView().Name(), QStringLiteral("Dog"));
}

TEST_F(PaletteTest, InsertReleasedInTheTextBoxDrawsAConceptAtThePointer) {
    start();
    addGraph();
    ZOVMain& p = palette();
    p.NewConceptButton->click();
    QTest::keyClicks(p.TextBox1, QStringLiteral("Cat"));
    cursor.setPosition(QPoint(460, 320)); // slide point (360, 270)
    QTest::keyPress(p.TextBox1, Qt::Key_Insert);
    EXPECT_TRUE(shapeAt(360, 270).IsNothing()) << "the press alone runs nothing";
    QTest::keyRelease(p.TextBox1, Qt::Key_Insert);

    const host::Shape cat = shapeAt(360, 270);
    ASSERT_FALSE(cat.IsNothing());
    EXPECT_EQ(cat.AutoShapeType(), 1);
    EXPECT_EQ(cat.TextFrame().TextRange().Text(), QStringLiteral("Cat"));
    EXPECT_TRUE(p.TextBox1->text().isEmpty());
    EXPECT_EQ(p.focusWidget(), p.TextBox1);
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(PaletteTest, F4WithAnyShiftStateRunsWhicheverControlHasTheFocus) {
    start();
    addGraph();
    ZOVMain& p = palette();
    p.NewRelationButton->click();
    p.TextBox1->setText(QStringLiteral("On"));
    cursor.setPosition(QPoint(300, 150));
    QTest::keyRelease(p.NewRelationButton, Qt::Key_F4, Qt::ShiftModifier);
    const host::Shape on = shapeAt(200, 100);
    ASSERT_FALSE(on.IsNothing());
    EXPECT_EQ(on.AutoShapeType(), 9);

    // Other keys are left to the control: nothing is drawn.
    p.NewActorButton->click();
    p.TextBox1->setText(QStringLiteral("Plus"));
    cursor.setPosition(QPoint(500, 400));
    const int before = slideInView().Shapes().Count();
    QTest::keyRelease(p.TextBox1, Qt::Key_F5);
    QTest::keyRelease(p.TextBox1, Qt::Key_F3);
    EXPECT_EQ(slideInView().Shapes().Count(), before);
    // A held key repeats its release events; only the real release runs the command.
    QKeyEvent repeated(QEvent::KeyRelease, Qt::Key_Insert, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(p.TextBox1, &repeated);
    EXPECT_EQ(slideInView().Shapes().Count(), before);
    QTest::keyRelease(p.ConfigButton, Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_EQ(slideInView().Shapes().Count(), before + 1);
    EXPECT_EQ(shapeAt(400, 350).AutoShapeType(), 4);
}

TEST_F(PaletteTest, ArrangeMovesTheGraphOfTheSlideInViewOnly) {
    start();
    ZOVMain& p = palette();
    p.TextBox1->setText(QStringLiteral("First"));
    p.AddGraphButton->click();
    p.TextBox1->setText(QStringLiteral("Second"));
    p.AddGraphButton->click();
    const host::Presentation pres = app.ActivePresentation();
    for (int i = 1; i <= 2; ++i) {
        host::Shapes shapes = pres.Slides().Item(i).Shapes();
        host::Shape a = shapes.AddShape(1, 0, 0, 60, 30);
        host::Shape b = shapes.AddShape(9, 0, 0, 60, 30);
        host::Shape arc = shapes.AddConnector(1, 0, 0, 10, 10);
        arc.ConnectorFormat().BeginConnect(a, 1);
        arc.ConnectorFormat().EndConnect(b, 1);
    }
    ASSERT_EQ(slideInView().SlideIndex(), 2);
    p.ArrangeButton->click();
    const host::Shapes second = pres.Slides().Item(2).Shapes();
    EXPECT_GT(second.Item(3).Top(), second.Item(2).Top() + second.Item(2).Height()) << "the arc's target is not below";
    EXPECT_FLOAT_EQ(pres.Slides().Item(1).Shapes().Item(2).Top(), 0) << "a slide not in view was arranged";
}

TEST_F(PaletteTest, WholeGraphButtonsAddShowAndClearGraphs) {
    start();
    ZOVMain& p = palette();
    p.TextBox1->setText(QStringLiteral("Dog"));
    p.AddGraphButton->click();
    p.TextBox1->clear();
    p.AddGraphButton->click();
    const host::Presentation pres = app.ActivePresentation();
    ASSERT_EQ(pres.Slides().Count(), 2);
    EXPECT_EQ(pres.Slides().Item(1).Name(), QStringLiteral("Dog"));
    EXPECT_EQ(slideInView().SlideIndex(), 2);

    p.TextBox1->setText(QStringLiteral("Dog"));
    p.ShowButton->click();
    EXPECT_EQ(slideInView().Name(), QStringLiteral("Dog"));
    p.TextBox1->setText(QStringLiteral(" Dog"));
    p.ShowButton->click();
    EXPECT_EQ(shownTexts(), std::vector<QString>{QStringLiteral("No graph with that name")});

    p.NewConceptButton->click();
    p.TextBox1->setText(QStringLiteral("Cat"));
    cursor.setPosition(QPoint(300, 300));
    p.RunAtPointer();
    ASSERT_EQ(slideInView().Shapes().Count(), 2);
    p.NewGraph->click();
    ASSERT_EQ(slideInView().Shapes().Count(), 1);
    EXPECT_EQ(slideInView().Shapes().Item(1).TextFrame().TextRange().Text(), QStringLiteral("Dog is Graph"));
    const auto& nodes = editor().Reader().Tables().BoundArray;
    EXPECT_TRUE(std::none_of(nodes.begin(), nodes.end(), [](const cgif::NodeRecord& n) { return n.Type == QStringLiteral("Cat"); }))
        << "Clear Graph leaves the tables describing the slides as they are now";
}

TEST_F(PaletteTest, ActivationRebuildsTheNodeTablesAndFocusesTheTextBox) {
    start();
    addGraph();
    // A concept drawn with the host's own tools is seen at the next activation.
    host::Shape drawn = slideInView().Shapes().AddShape(1, 10, 10, 50, 20);
    drawn.SetName(QStringLiteral("ABCDEFGH"));
    drawn.TextFrame().TextRange().SetText(QStringLiteral("Cat"));
    editor().Reader().ClearReaderTables();
    palette().NewGraph->setFocus();
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(&palette(), &activate);
    const auto& nodes = editor().Reader().Tables().BoundArray;
    ASSERT_EQ(nodes.size(), 2u);
    EXPECT_EQ(nodes[1].Id, QStringLiteral("ABCDEFGH"));
    EXPECT_EQ(nodes[1].Type, QStringLiteral("Cat"));
    EXPECT_EQ(palette().focusWidget(), palette().TextBox1);
}

TEST_F(PaletteTest, ClosingOffersToSaveChangedSettingsAndUnloadsThePalette) {
    start();
    QPointer<ZOVMain> first = &palette();
    first->close();
    EXPECT_TRUE(messages.shown().empty()) << "unchanged settings: no question";
    QApplication::processEvents();
    EXPECT_TRUE(first.isNull()) << "closing unloads the palette";
    EXPECT_EQ(windows().Palette(), nullptr);

    start(); // the next press loads a new palette
    ASSERT_NE(windows().Palette(), nullptr);
    EXPECT_NE(windows().Palette(), first.data());
    session->DrawingSettings().conceptColor = 0x0000FF;
    messages.script(platform::MessageAnswer::Yes);
    palette().close();
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown().front().title, QStringLiteral("ZOVEdit"));
    EXPECT_EQ(messages.shown().front().buttons, platform::MessageButtons::YesNo);
    EXPECT_EQ(store.value(QStringLiteral("ZOVEdit"), QStringLiteral("Startup"), QStringLiteral("ConceptColor"), QString()),
              QStringLiteral("255"));

    // The session going away closes an open palette once, with the offer.
    start();
    session->DrawingSettings().actorColor = 1;
    messages.clear();
    messages.script(platform::MessageAnswer::No);
    session.reset();
    EXPECT_EQ(messages.shown().size(), 1u);
}

TEST_F(PaletteTest, AboutAndHelpItems) {
    start();
    palette().About();
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown().front().text, QStringLiteral("ZOVEdit version 0.5 (47)"));
    EXPECT_EQ(messages.shown().front().title, QStringLiteral("ZOVEdit"));
    EXPECT_EQ(messages.shown().front().icon, platform::MessageIcon::Information);

    palette().findChild<QAction*>(QStringLiteral("mnuContents"))->trigger();
    palette().findChild<QAction*>(QStringLiteral("mnuIndex"))->trigger();
    ASSERT_EQ(help.calls().size(), 2u);
    const QString location = library.path() + QStringLiteral("/ZOVEditHelp/ZOVEditHelp.xml::/intro.htm");
    EXPECT_EQ(help.calls()[0].location, location);
    EXPECT_EQ(help.calls()[0].command, platform::HelpCommand::Contents);
    EXPECT_EQ(help.calls()[1].location, location);
    EXPECT_EQ(help.calls()[1].command, platform::HelpCommand::Index);
}

} // namespace
} // namespace zov::ui::testing
