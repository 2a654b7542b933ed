// The editor's help: the shipped pages hang together, and the help window shows them with
// their contents and index.
#include "UiFixture.h"

#include "support/TestPaths.h"
#include "ui/HelpWindow.h"
#include "ui/WindowPlacement.h"
#include "ui/QtHelpViewer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTest>
#include <QApplication>
#include <QScreen>
#include <QPointer>
#include <QTreeWidget>
#include <cstdlib>
#include <set>

namespace zov::ui::testing {
namespace {

QString shippedHelp() { return test::sourceDir() + QStringLiteral("/help/ZOVEditHelp/ZOVEditHelp.xml"); }

void collect(const std::vector<HelpTopic>& topics, std::set<QString>& files) {
    for (const HelpTopic& t : topics) {
        files.insert(t.file);
        collect(t.children, files);
    }
}

TEST(ShippedHelp, EveryPageItNamesOrLinksExists) {
    QString error;
    const auto project = ReadHelpProject(shippedHelp(), &error);
    ASSERT_TRUE(project.has_value()) << error.toStdString();
    std::set<QString> named;
    collect(project->contents, named);
    for (const HelpKeyword& k : project->index)
        named.insert(k.file);
    EXPECT_TRUE(named.count(QStringLiteral("intro.htm")));
    // One page per palette command, and the command-line pictures.
    for (const char* page : {"concept.htm", "relation.htm", "actor.htm", "link.htm", "edit.htm", "jump.htm",
                             "comment.htm", "addgraph.htm", "cleargraph.htm", "show.htm", "configure.htm",
                             "import.htm", "export.htm", "cgif.htm", "arrange.htm", "render.htm"})
        EXPECT_TRUE(named.count(QString::fromLatin1(page))) << page;

    const QDir folder(project->folder);
    const QRegularExpression link(QStringLiteral("href=\"([^\"#:]+)\""));
    for (const QString& file : named) {
        QFile page(folder.filePath(file));
        ASSERT_TRUE(page.open(QIODevice::ReadOnly)) << file.toStdString();
        const QString html = QString::fromUtf8(page.readAll());
        EXPECT_TRUE(html.contains(QStringLiteral("<h1>"))) << file.toStdString();
        for (auto it = link.globalMatch(html); it.hasNext();) {
            const QString target = it.next().captured(1);
            EXPECT_TRUE(QFileInfo::exists(folder.filePath(target))) << file.toStdString() << " -> " << target.toStdString();
        }
    }
    // The index is sorted for the reader.
    for (std::size_t i = 1; i < project->index.size(); ++i)
        EXPECT_LE(QString::compare(project->index[i - 1].text, project->index[i].text, Qt::CaseInsensitive), 0);
}

TEST(HelpViewer, OpensTheIntroductionWithContentsOrIndex) {
    platform::FakeMessageBoxes messages;
    QtHelpViewer viewer(messages);
    const QString location = shippedHelp() + QStringLiteral("::/intro.htm");
    ASSERT_TRUE(viewer.ShowHelp(location, platform::HelpCommand::Contents));
    HelpWindow* window = viewer.Window();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->CurrentTopic(), QStringLiteral("intro.htm"));
    EXPECT_TRUE(window->Browser()->toPlainText().contains(QStringLiteral("conceptual graph editor")));
    EXPECT_EQ(window->findChild<QTabWidget*>()->currentIndex(), 0);
    EXPECT_EQ(window->ContentsTree()->topLevelItemCount(), 3);

    ASSERT_TRUE(viewer.ShowHelp(location, platform::HelpCommand::Index));
    EXPECT_EQ(viewer.Window(), window) << "one help window";
    EXPECT_EQ(window->findChild<QTabWidget*>()->currentIndex(), 1);
    EXPECT_GT(window->IndexList()->count(), 20);

    // Typing in the index picks the first keyword that starts so; Enter shows its page.
    QTest::keyClicks(window->IndexFilter(), QStringLiteral("Jump"));
    ASSERT_NE(window->IndexList()->currentItem(), nullptr);
    EXPECT_EQ(window->IndexList()->currentItem()->text(), QStringLiteral("Jump"));
    QTest::keyClick(window->IndexFilter(), Qt::Key_Return);
    EXPECT_EQ(window->CurrentTopic(), QStringLiteral("jump.htm"));

    // Choosing a topic of the contents shows it.
    QTreeWidgetItem* commands = window->ContentsTree()->topLevelItem(1);
    window->ContentsTree()->setCurrentItem(commands->child(0));
    EXPECT_EQ(window->CurrentTopic(), QStringLiteral("concept.htm"));
    EXPECT_TRUE(messages.shown().empty());

    // It opened in the middle of the screen, not over the corner where menus are, and closes
    // with Escape as a window of its own.
    const QRect screen = window->screen()->availableGeometry();
    EXPECT_LT((window->geometry().center() - screen.center()).manhattanLength(), 40);
    QPointer<HelpWindow> open = window;
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    QTest::keyClick(window->Browser(), Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_TRUE(open.isNull() || !open->isVisible());
}

// A window opened from a tool window (the help from the palette) goes beside it where the
// screen has room, level with its top, so that both can be used at once; else in the middle.
TEST(WindowPlacement, BesideAToolWindowWhereTheScreenHasRoomElseInTheMiddle) {
    QWidget palette(nullptr, Qt::Tool);
    const QRect screen = palette.screen()->availableGeometry();
    palette.setGeometry(screen.right() - 270, screen.top() + 50, 260, 215);
    palette.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&palette));

    QWidget help(nullptr, Qt::Window);
    help.resize(300, 200);
    PlaceBesideOrCentre(help, &palette);
    EXPECT_FALSE(help.frameGeometry().intersects(palette.frameGeometry()));
    EXPECT_TRUE(screen.contains(help.frameGeometry()));
    EXPECT_LE(std::abs(help.frameGeometry().top() - palette.frameGeometry().top()), 4);

    QWidget wide(nullptr, Qt::Window);
    wide.resize(screen.width() - 100, 200);
    PlaceBesideOrCentre(wide, &palette);
    EXPECT_LT((wide.geometry().center() - screen.center()).manhattanLength(), 40);
}

// Closed, the help gives the keyboard back to the window it was opened from (the palette), so
// that its keys work again without a click where no window manager does this.
TEST(HelpViewer, ClosedItGivesTheKeyboardBackToItsOpener) {
    QWidget palette(nullptr, Qt::Tool);
    palette.resize(260, 215);
    palette.show();
    palette.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&palette));
    platform::FakeMessageBoxes messages;
    QtHelpViewer viewer(messages);
    ASSERT_TRUE(viewer.ShowHelp(shippedHelp() + QStringLiteral("::/intro.htm"), platform::HelpCommand::Contents));
    ASSERT_TRUE(QTest::qWaitForWindowActive(viewer.Window()));
    QTest::keyClick(viewer.Window()->Browser(), Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &palette; }, 2000))
        << (QApplication::activeWindow() ? QApplication::activeWindow()->metaObject()->className() : "no window");
}

TEST(HelpViewer, AMissingHelpFileIsTold) {
    platform::FakeMessageBoxes messages;
    QtHelpViewer viewer(messages);
    EXPECT_FALSE(viewer.ShowHelp(QStringLiteral("/nowhere/ZOVEditHelp/ZOVEditHelp.xml::/intro.htm"),
                                 platform::HelpCommand::Contents));
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_TRUE(messages.shown().front().text.startsWith(QStringLiteral("The help cannot be shown: ")));
    EXPECT_TRUE(messages.shown().front().text.contains(QStringLiteral("ZOVEditHelp.xml")));
    EXPECT_EQ(viewer.Window(), nullptr);

    // A file that is not a help project is refused the same way.
    QTemporaryDir folder;
    const QString bogus = QDir(folder.path()).filePath(QStringLiteral("bogus.xml"));
    QFile file(bogus);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<html/>");
    file.close();
    EXPECT_FALSE(viewer.ShowHelp(bogus, platform::HelpCommand::Index));
    EXPECT_TRUE(messages.shown().back().text.contains(QStringLiteral("not a help project")));
}

} // namespace
} // namespace zov::ui::testing
