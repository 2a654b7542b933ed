// The configuration dialog: the settings shown at activation, the colour and font choosers,
// OK and Cancel, and how the palette opens it.
#include "UiFixture.h"
#include "ui/QtPlatform.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontDialog>
#include <QLabel>
#include <QListView>
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

TEST_F(ConfigurationTest, ShowsTheDefaultColoursWithOneCaptionPerRow) {
    start();
    palette().ConfigButton->click();
    Configuration& d = dialog();
    EXPECT_TRUE(d.isVisible());
    EXPECT_FALSE(d.isModal());
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Configure"));

    EXPECT_EQ(background("ConceptColorBox"), QColor(255, 255, 192));
    EXPECT_EQ(background("RelationColorBox"), QColor(128, 255, 128));
    EXPECT_EQ(background("ActorColorBox"), QColor(255, 128, 0));
    EXPECT_EQ(background("CommentColorBox"), QColor(208, 255, 255));
    int colorCaptions = 0;
    int fontCaptions = 0;
    for (const QLabel* l : d.findChildren<QLabel*>()) {
        colorCaptions += l->text() == QStringLiteral("Color");
        fontCaptions += l->text() == QStringLiteral("Font");
    }
    EXPECT_EQ(colorCaptions, 4);
    EXPECT_EQ(fontCaptions, 2);
}

TEST_F(ConfigurationTest, AChosenColourTakesEffectOnlyWithOk) {
    start();
    palette().ConfigButton->click();
    dialogs.scriptColor(0x00FF0000); // blue
    press("ConceptColorButton");
    ASSERT_EQ(dialogs.requests().size(), 1u);
    EXPECT_EQ(dialogs.requests()[0].color, 0x00C0FFFF) << "the chooser starts at the row's colour";
    EXPECT_EQ(background("ConceptColorBox"), QColor(0, 0, 255));
    press("ConfigCancelButton");
    EXPECT_FALSE(dialog().isVisible());
    EXPECT_EQ(session->DrawingSettings().conceptColor, 0x00C0FFFF);

    palette().ConfigButton->click();
    EXPECT_EQ(background("ConceptColorBox"), QColor(255, 255, 192)) << "the next opening shows the old colour";
    dialogs.scriptColor(0x00FF0000);
    press("ConceptColorButton");
    dialogs.scriptColor(std::nullopt); // a cancelled chooser keeps the row's choice
    press("ConceptColorButton");
    EXPECT_EQ(dialogs.requests().back().color, 0x00FF0000);
    EXPECT_EQ(background("ConceptColorBox"), QColor(0, 0, 255));
    press("ConfigOKButton");
    EXPECT_FALSE(dialog().isVisible());
    EXPECT_EQ(session->DrawingSettings().conceptColor, 0x00FF0000);
    EXPECT_TRUE(store.writes().empty()) << "OK writes nothing to the store";

    // Concepts drawn afterwards take the new fill, and closing the palette asks to save.
    addGraph();
    palette().NewConceptButton->click();
    palette().TextBox1->setText(QStringLiteral("Cat"));
    cursor.setPosition(QPoint(200, 200));
    palette().RunAtPointer();
    EXPECT_EQ(shapeAt(100, 150).Fill().ForeColor().RGB(), 0x00FF0000);
    messages.script(platform::MessageAnswer::No);
    palette().close();
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown().front().title, QStringLiteral("ZOVEdit"));
}

TEST_F(ConfigurationTest, FontChoosersOpenOnTheRowsFamilyAndSize) {
    start();
    session->DrawingSettings().commentFontName = QStringLiteral("Courier New");
    palette().ConfigButton->click();

    // Only the family changed: the size stays.
    dialogs.scriptFont(platform::FontChoice{QStringLiteral("Times New Roman"), 18});
    press("FontButton");
    ASSERT_EQ(dialogs.requests().size(), 1u);
    EXPECT_EQ(dialogs.requests()[0].font.name, QStringLiteral("Arial"));
    EXPECT_EQ(dialogs.requests()[0].font.size, 18);
    EXPECT_EQ(dialogs.requests()[0].fontFlags, 3);
    EXPECT_EQ(label("SelectedFont")->text(), QStringLiteral("Times New Roman(18)"));

    dialogs.scriptFont(platform::FontChoice{QStringLiteral("Courier New"), 12.5});
    press("CommentFontButton");
    EXPECT_EQ(dialogs.requests()[1].font.name, QStringLiteral("Courier New"));
    EXPECT_EQ(dialogs.requests()[1].font.size, 12) << "the comment row's own size";
    EXPECT_EQ(label("CommentFont")->text(), QStringLiteral("Courier New(12)")) << "halves round to even";

    // The chooser opens on the choice made so far; cancelling keeps it.
    dialogs.scriptFont(std::nullopt);
    press("FontButton");
    EXPECT_EQ(dialogs.requests()[2].font.name, QStringLiteral("Times New Roman"));
    EXPECT_EQ(dialogs.requests()[2].font.size, 18);
    EXPECT_EQ(label("SelectedFont")->text(), QStringLiteral("Times New Roman(18)")) << "cancel keeps the choice";
    // A chooser that gives no size leaves the row's size.
    dialogs.scriptFont(platform::FontChoice{QStringLiteral("Liberation Serif"), 0});
    press("FontButton");
    EXPECT_EQ(label("SelectedFont")->text(), QStringLiteral("Liberation Serif(18)"));

    press("ConfigOKButton");
    const drawing::DrawingSettings& s = session->DrawingSettings();
    EXPECT_EQ(s.nodeFontName, QStringLiteral("Liberation Serif"));
    EXPECT_EQ(s.nodeFontSize, 18);
    EXPECT_EQ(s.commentFontName, QStringLiteral("Courier New"));
    EXPECT_EQ(s.commentFontSize, 12);
    EXPECT_EQ(s.conceptColor, drawing::DrawingSettings{}.conceptColor);
}

TEST_F(ConfigurationTest, TheArrangeChoiceIsOnByDefaultAndSavedWithTheOtherSettings) {
    start();
    palette().ConfigButton->click();
    auto* box = dialog().findChild<QCheckBox*>(QStringLiteral("ArrangeImportedBox"));
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->isChecked());
    box->click();
    press("ConfigCancelButton");
    EXPECT_TRUE(session->DrawingSettings().arrangeImported);
    palette().ConfigButton->click();
    EXPECT_TRUE(box->isChecked()) << "the next opening starts from the setting in force";

    box->click();
    press("ConfigOKButton");
    EXPECT_FALSE(session->DrawingSettings().arrangeImported);
    EXPECT_TRUE(store.writes().empty());
    messages.script(platform::MessageAnswer::Yes);
    palette().close();
    EXPECT_EQ(store.value(QStringLiteral("ZOVEdit"), QStringLiteral("Startup"), QStringLiteral("ArrangeImported"), {}),
              QStringLiteral("0"));
    EXPECT_FALSE(drawing::LoadDrawingSettings(store).arrangeImported);
}

// The "ZOV Edit" button pressed while the palette is open brings it forward and keeps the
// settings chosen and not yet saved.
TEST_F(ConfigurationTest, PressingZovEditWhileThePaletteIsOpenKeepsTheChoicesMade) {
    start();
    palette().ConfigButton->click();
    dialogs.scriptColor(0x00FF0000);
    press("ConceptColorButton");
    press("ConfigOKButton");
    ASSERT_EQ(session->DrawingSettings().conceptColor, 0x00FF0000);
    ZOVMain* shown = &palette();
    start();
    EXPECT_EQ(&palette(), shown);
    EXPECT_TRUE(palette().isVisible());
    EXPECT_EQ(session->DrawingSettings().conceptColor, 0x00FF0000);
    palette().ConfigButton->click();
    EXPECT_EQ(background("ConceptColorBox"), QColor(0, 0, 255));
}

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

TEST_F(ConfigurationTest, ComingBackFromThePaletteStartsFromTheSettingsInForce) {
    start();
    palette().ConfigButton->click();
    dialogs.scriptColor(0x000000FF);
    press("ActorColorButton");
    EXPECT_EQ(background("ActorColorBox"), QColor(255, 0, 0));
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

} // namespace
} // namespace zov::ui::testing
