// The host's Add-ins dialog over the desktop's add-in set: untick to disconnect, Remove to
// unregister, tick to connect again.
#include "UiFixture.h"

#include "ui/AddinsDialog.h"
#include "ui/DesktopAddins.h"
#include "ui/HelpWindow.h"
#include "support/TestPaths.h"

#include <QDir>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

namespace zov::ui::testing {
namespace {

int zovButtonCount(host::Application& app) {
    int count = 0;
    for (const host::CommandBar& bar : app.CommandBars().All())
        for (int i = 1; i <= bar.ControlCount(); ++i)
            count += bar.Control(i).Tag() == QStringLiteral("ZOV Edit");
    return count;
}

class AddinsDialogTest : public ::testing::Test {
protected:
    DesktopAddinsOptions options() {
        DesktopAddinsOptions o;
        o.hostSettingsFile = QDir(folder.path()).filePath(QStringLiteral("Host.ini"));
        o.drawingSettingsFolder = folder.path();
        o.libraryFolder = folder.path();
        return o;
    }
    QTemporaryDir folder;
    host::Application app;
};

TEST_F(AddinsDialogTest, TheFirstRunConnectsTheAddinWhoseButtonOpensThePaletteInANewPresentation) {
    DesktopAddins addins(app, options());
    addins.StartUp();
    EXPECT_TRUE(addins.Manager().IsConnected(QStringLiteral("ZOVEdit.Connect")));
    app.CommandBars().Item(QStringLiteral("Standard")).FindControl(QStringLiteral("ZOV Edit")).Execute();
    ZOVMain* palette = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* p = qobject_cast<ZOVMain*>(w); p && p->isVisible())
            palette = p;
    ASSERT_NE(palette, nullptr);
    EXPECT_TRUE(palette->NewConceptButton->isChecked());
    EXPECT_EQ(app.Presentations().Count(), 1);
    QPointer<ZOVMain> watched = palette;
    addins.ShutDown(); // unchanged settings: the palette closes without a question
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(watched.isNull());
    EXPECT_EQ(zovButtonCount(app), 1) << "shutting down keeps the button";
}

// The main window's Help menu opens the add-in's help at its first page, before any palette.
TEST_F(AddinsDialogTest, TheHostsHelpShowsTheAddinsHelpFromItsFirstPage) {
    DesktopAddinsOptions o = options();
    o.libraryFolder = test::sourceDir() + QStringLiteral("/help");
    DesktopAddins addins(app, o);
    addins.ShowHelp();
    HelpWindow* shown = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* h = qobject_cast<HelpWindow*>(w); h && h->isVisible())
            shown = h;
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->CurrentTopic(), QStringLiteral("intro.htm"));
}

TEST_F(AddinsDialogTest, UntickingAndRemovingGoThroughTheManager) {
    DesktopAddins addins(app, options());
    addins.StartUp();
    {
        AddinsDialog dialog(addins.Manager());
        ASSERT_EQ(dialog.List()->count(), 1);
        QListWidgetItem* item = dialog.List()->item(0);
        EXPECT_EQ(item->text(), QStringLiteral("ZOV Edit"));
        EXPECT_EQ(item->checkState(), Qt::Checked);
        item->setCheckState(Qt::Unchecked);
        dialog.Apply();
        EXPECT_FALSE(addins.Manager().IsConnected(QStringLiteral("ZOVEdit.Connect")));
        EXPECT_EQ(zovButtonCount(app), 0) << "the user closed it: the button goes";

        item->setCheckState(Qt::Checked);
        dialog.Apply();
        EXPECT_EQ(zovButtonCount(app), 1);

        dialog.RemoveButton()->click();
        EXPECT_EQ(dialog.List()->count(), 0);
        EXPECT_FALSE(dialog.RemoveButton()->isEnabled());
    }
    EXPECT_EQ(zovButtonCount(app), 0);
    EXPECT_FALSE(addins.Registry().Find(QStringLiteral("ZOVEdit.Connect")).has_value());

    // A removal is remembered: the next run does not register the add-in again.
    addins.ShutDown();
    host::Application restarted;
    DesktopAddins again(restarted, options());
    again.StartUp();
    EXPECT_TRUE(again.Manager().Addins().empty());
    EXPECT_EQ(zovButtonCount(restarted), 0);
}

} // namespace
} // namespace zov::ui::testing
