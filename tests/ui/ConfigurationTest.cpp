// The configuration dialog: the settings shown at activation, the colour and font choosers,
// OK and Cancel, and how the palette opens it.
#include "UiFixture.h"

#include <QLabel>
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

TEST_F(ConfigurationTest, ShowsTheDefaultColoursAndFontsWithItsCaptions) {
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
    EXPECT_EQ(label("ConceptColorBox")->text(), QStringLiteral("concept"));
    EXPECT_EQ(label("RelationColorBox")->text(), QStringLiteral("relation"));
    EXPECT_EQ(label("ActorColorBox")->text(), QStringLiteral("actor"));
    EXPECT_EQ(label("CommentColorBox")->text(), QStringLiteral("comment"));
    EXPECT_EQ(label("SelectedFont")->text(), QStringLiteral("Arial(18)"));
    EXPECT_EQ(label("CommentFont")->text(), QStringLiteral("Arial(12)"));

    for (const char* name : {"ConceptColorButton", "RelationColorButton", "ActorColorButton", "CommentColorButton",
                             "FontButton", "CommentFontButton"})
        EXPECT_EQ(d.findChild<QPushButton*>(QString::fromLatin1(name))->text(), QStringLiteral("Choose")) << name;
    EXPECT_EQ(d.findChild<QPushButton*>(QStringLiteral("ConfigOKButton"))->text(), QStringLiteral("OK"));
    EXPECT_EQ(d.findChild<QPushButton*>(QStringLiteral("ConfigCancelButton"))->text(), QStringLiteral("Cancel"));
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

TEST_F(ConfigurationTest, FontChoosersPresetTheRowsFontAndKeepTheirOwnSize) {
    start();
    session->DrawingSettings().commentFontName = QStringLiteral("Courier New");
    palette().ConfigButton->click();

    dialogs.scriptFont(platform::FontChoice{QStringLiteral("Times New Roman"), 13.5});
    press("FontButton");
    ASSERT_EQ(dialogs.requests().size(), 1u);
    EXPECT_EQ(dialogs.requests()[0].font.name, QStringLiteral("Arial"));
    EXPECT_EQ(dialogs.requests()[0].font.size, 0) << "no size before the chooser's first use";
    EXPECT_EQ(dialogs.requests()[0].fontFlags, 3);
    EXPECT_EQ(label("SelectedFont")->text(), QStringLiteral("Times New Roman(14)"));

    dialogs.scriptFont(platform::FontChoice{QStringLiteral("Courier New"), 12.5});
    press("CommentFontButton");
    EXPECT_EQ(dialogs.requests()[1].font.name, QStringLiteral("Courier New"));
    EXPECT_EQ(dialogs.requests()[1].font.size, 13.5) << "the size of the chooser's last use";
    EXPECT_EQ(label("CommentFont")->text(), QStringLiteral("Courier New(12)")) << "halves round to even";

    // The node font chooser is preset from the font at activation, not the working choice.
    dialogs.scriptFont(std::nullopt);
    press("FontButton");
    EXPECT_EQ(dialogs.requests()[2].font.name, QStringLiteral("Arial"));
    EXPECT_EQ(label("SelectedFont")->text(), QStringLiteral("Times New Roman(14)")) << "cancel keeps the choice";

    press("ConfigOKButton");
    const drawing::DrawingSettings& s = session->DrawingSettings();
    EXPECT_EQ(s.nodeFontName, QStringLiteral("Times New Roman"));
    EXPECT_EQ(s.nodeFontSize, 14);
    EXPECT_EQ(s.commentFontName, QStringLiteral("Courier New"));
    EXPECT_EQ(s.commentFontSize, 12);
    EXPECT_EQ(s.conceptColor, drawing::DrawingSettings{}.conceptColor);
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
