// The palette: its controls, captions and menus, and closing (what the options, the run keys,
// the graph buttons, About and Help do is in the palette's scripts, tests/cases/ui/*.script;
// Arrange from the palette is in tests/app/EditorInHostTest.cpp).
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

// Closing unloads the palette, which takes no more activations; the session going away closes
// an open palette once, with the offer to save changed settings.
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

} // namespace
} // namespace zov::ui::testing
