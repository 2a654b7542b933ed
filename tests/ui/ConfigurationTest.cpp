// The configuration dialog: the desktop's font chooser, and the snapshot of the settings taken
// when the dialog is activated after the palette (the choosers, OK and Cancel are in the
// palette's scripts, tests/cases/ui/configure.script).
#include "UiFixture.h"
#include "ui/QtPlatform.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QFontDialog>
#include <QLabel>
#include <QListView>
#include <QTest>
#include <QTimer>
#include <QPushButton>
#include <QWindow>
#include <QRadioButton>

namespace zov::ui::testing {
namespace {

class ConfigurationTest : public UiTest {
protected:
    Configuration& dialog() {
        if (!windows().ConfigurationDialog())
            windows().LoadConfiguration();
        return *windows().ConfigurationDialog();
    }
    QLabel* label(const char* name) { return dialog().findChild<QLabel*>(QString::fromLatin1(name)); }
    QColor background(const char* name) { return label(name)->palette().color(QPalette::Window); }
    void press(const char* name) { dialog().findChild<QPushButton*>(QString::fromLatin1(name))->click(); }
};

// The desktop's font chooser opens on the family and size it is given, so that choosing only
// another family keeps the size.
TEST(QtFontChooser, ChangingOnlyTheFamilyKeepsTheSize) {
    QtCommonDialog chooser;
    QString family;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFontDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            ADD_FAILURE() << "no font dialog";
            if (QWidget* modal = QApplication::activeModalWidget())
                modal->close();
            return;
        }
        EXPECT_EQ(dialog->currentFont().pointSizeF(), 18);
        // A click on another family in the family list, then OK.
        auto* families = dialog->findChildren<QListView*>().value(0);
        if (!families) {
            ADD_FAILURE() << "no family list";
            dialog->reject();
            return;
        }
        const QModelIndex other = families->model()->index(families->currentIndex().row() == 0 ? 1 : 0, 0);
        family = other.data().toString();
        families->setCurrentIndex(other);
        dialog->accept();
    });
    const auto chosen = chooser.ShowFont(platform::FontChoice{QStringLiteral("Liberation Sans"), 18}, 3);
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(chosen->name, family);
    EXPECT_EQ(chosen->size, 18);
}

// The colour chooser opens in the middle of the screen at its own size, its OK and Cancel in
// sight (it was centred as a window not yet shown measures, 100 x 30 on X11, and hung off the
// right and bottom of a small screen).
TEST(QtColourChooser, OpensWhollyOnTheScreen) {
    QtCommonDialog chooser;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            ADD_FAILURE() << "no colour dialog";
            if (QWidget* modal = QApplication::activeModalWidget())
                modal->close();
            return;
        }
        const QRect screen = dialog->screen()->availableGeometry();
        EXPECT_TRUE(screen.contains(dialog->frameGeometry()))
            << dialog->frameGeometry().x() << "," << dialog->frameGeometry().y() << " " << dialog->frameGeometry().width()
            << "x" << dialog->frameGeometry().height() << " on " << screen.width() << "x" << screen.height();
        EXPECT_GE(dialog->width(), dialog->minimumSizeHint().width());
        // In the middle at the size it has, not at the size a window has before it is shown.
        EXPECT_LT((dialog->frameGeometry().center() - screen.center()).manhattanLength(), 10);
        dialog->reject();
    });
    EXPECT_FALSE(chooser.ShowColor(0x0000FF).has_value());
}

// A family this system lacks is shown as a stand-in; OK without choosing another family keeps
// the name asked for, with the size chosen.
TEST(QtFontChooser, OkOnAFamilyNotInstalledKeepsItsName) {
    QtCommonDialog chooser;
    const QString missing = QStringLiteral("Nonexistent Serif Display");
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFontDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            ADD_FAILURE() << "no font dialog";
            return;
        }
        EXPECT_NE(dialog->currentFont().family(), missing) << "the dialog shows a stand-in";
        QFont bigger = dialog->currentFont();
        bigger.setPointSize(20);
        dialog->setCurrentFont(bigger);
        dialog->accept();
    });
    const auto chosen = chooser.ShowFont(platform::FontChoice{missing, 11}, 3);
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(chosen->name, missing);
    EXPECT_EQ(chosen->size, 20);
}

TEST_F(ConfigurationTest, ComingBackFromThePaletteStartsFromTheSettingsInForce) {
    start();
    palette().ConfigButton->click();
    dialogs.scriptColor(0x000000FF);
    press("ActorColorButton");
    EXPECT_EQ(background("ActorColorBox"), QColor(255, 0, 0));
    // Its caption is written in white on a dark colour, in black on a light one.
    EXPECT_EQ(label("ActorColorBox")->palette().color(QPalette::WindowText), QColor(Qt::white));
    EXPECT_EQ(label("ConceptColorBox")->palette().color(QPalette::WindowText), QColor(Qt::black));
    // The user works in the palette and presses "Configure" again.
    palette().ConfigButton->click();
    EXPECT_EQ(background("ActorColorBox"), QColor(255, 128, 0));
    EXPECT_EQ(dialog().WorkingValues(), session->DrawingSettings());
    EXPECT_EQ(session->DrawingSettings().actorColor, 0x000080FF);

    // Only an activation after the palette takes a new snapshot.
    QWindow* own = dialog().windowHandle();
    ASSERT_NE(own, nullptr);
    dialogs.scriptColor(0x000000FF);
    press("RelationColorButton");

    // Coming back from a window that is not the editor's (a chooser) keeps the choice…
    QWindow chooser;
    Q_EMIT qGuiApp->focusWindowChanged(&chooser);
    Q_EMIT qGuiApp->focusWindowChanged(own);
    EXPECT_EQ(background("RelationColorBox"), QColor(255, 0, 0));
    // …coming back after the palette, by whatever way, starts afresh.
    Q_EMIT qGuiApp->focusWindowChanged(palette().windowHandle());
    Q_EMIT qGuiApp->focusWindowChanged(&chooser);
    Q_EMIT qGuiApp->focusWindowChanged(own);
    EXPECT_EQ(background("RelationColorBox"), QColor(128, 255, 128));
}

// From the keyboard: Enter takes the choices, wherever the focus is (a "Choose" button
// included, which Space presses); Escape drops them.
TEST_F(ConfigurationTest, EnterTakesTheChoicesAndEscapeDropsThem) {
    start();
    palette().ConfigButton->click();
    EXPECT_EQ(dialog().focusWidget(), dialog().findChild<QPushButton*>(QStringLiteral("ConceptColorButton")))
        << "it opens on its first choice";
    dialogs.scriptColor(0x000000FF);
    press("ActorColorButton");
    QWidget* choose = dialog().findChild<QPushButton*>(QStringLiteral("ActorColorButton"));
    ASSERT_NE(choose, nullptr);
    choose->setFocus();
    QTest::keyClick(choose, Qt::Key_Return);
    EXPECT_EQ(session->DrawingSettings().actorColor, 0x000000FF);
    EXPECT_FALSE(dialog().isVisible());

    palette().ConfigButton->click();
    dialogs.scriptColor(0x0000FF00);
    press("ActorColorButton");
    QTest::keyClick(&dialog(), Qt::Key_Escape);
    EXPECT_EQ(session->DrawingSettings().actorColor, 0x000000FF);
    EXPECT_FALSE(dialog().isVisible());
}

} // namespace
} // namespace zov::ui::testing
