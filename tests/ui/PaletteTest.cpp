// The palette: its controls, captions and menus, and Arrange (what the options, the run keys,
// the graph buttons, About, Help and closing do is in the palette's scripts,
// tests/cases/ui/*.script).
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
    for (const test::Case& c : test::LoadCases(QStringLiteral("ui"), QStringLiteral("controls.case"))) {
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

// Closing unloads the palette (with unchanged settings it asks nothing); the session going away
// closes an open palette once, with the offer to save changed settings.
TEST_F(PaletteTest, ClosingUnloadsThePaletteAndTheSessionGoingAwayClosesItWithTheOffer) {
    start();
    QPointer<ZOVMain> first = &palette();
    first->close();
    QApplication::processEvents();
    EXPECT_TRUE(first.isNull());
    start();
    session->DrawingSettings().actorColor = 1;
    messages.script(platform::MessageAnswer::No);
    session.reset();
    EXPECT_EQ(messages.shown().size(), 1u);
}

} // namespace
} // namespace zov::ui::testing
