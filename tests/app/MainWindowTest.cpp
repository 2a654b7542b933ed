// The main window: file commands through the store, the unsaved-work question, the title,
// slides, the "Standard" toolbar, undo of changes made behind the window's back, and
// cancelling a slow open.
#include "DesktopFixture.h"
#include "support/CaseFiles.h"
#include "support/TestPaths.h"

#include "app/desktop/SlideList.h"
#include "drawing/GraphEncoding.h"
#include "host/AutoShapeType.h"
#include "host/pptx/PptxFile.h"
#include "host/pptx/ZipArchive.h"

#include <QAction>
#include <QEventLoop>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QMenu>
#include <QToolBar>
#include <condition_variable>
#include <functional>
#include <mutex>

namespace zov::test {

using platform::MessageAnswer;

using MainWindowTest = DesktopFixture;

TEST_F(MainWindowTest, SaveOpenRoundTripModifiedMarkAndRecentFiles)
{
    // It starts with one blank slide and an unmodified title.
    ASSERT_EQ(application.ActivePresentation().Slides().Count(), 1);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Presentation1[*] - ZOVEdit"));
    EXPECT_FALSE(window->isWindowModified());
    EXPECT_EQ(window->slideList()->count(), 1);
    const SampleGraph g = makeGraph();
    EXPECT_TRUE(window->isWindowModified());
    const QString path = folder.filePath(QStringLiteral("graph.pptx"));
    dialogs.scriptPath(folder.filePath(QStringLiteral("graph"))); // the extension is added
    ASSERT_TRUE(window->saveAs());
    ASSERT_EQ(dialogs.requests().size(), 1u);
    EXPECT_EQ(dialogs.requests()[0].file.defaultExt, QStringLiteral(".pptx"));
    EXPECT_TRUE(QFileInfo::exists(path));
    EXPECT_FALSE(window->isWindowModified());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("graph.pptx[*] - ZOVEdit"));
    EXPECT_EQ(app::RecentFiles(settings).files(), QStringList{QFileInfo(path).absoluteFilePath()});
    // "graph" again names an existing file only once the extension is added: that is asked.
    dialogs.scriptPath(folder.filePath(QStringLiteral("graph")));
    messages.script(MessageAnswer::No);
    EXPECT_FALSE(window->saveAs());
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text, QStringLiteral("graph.pptx already exists.\nDo you want to replace it?"));
    messages.clear();

    // A change marks it; undoing back to the saved state clears the mark again.
    host::Shape moved = g.cat;
    moved.SetLeft(moved.Left() + 30);
    settle();
    EXPECT_TRUE(window->isWindowModified());
    window->undo();
    EXPECT_FALSE(window->isWindowModified());
    window->redo();
    EXPECT_TRUE(window->isWindowModified());
    ASSERT_TRUE(window->save());
    EXPECT_FALSE(window->isWindowModified());

    // A file made read-only is not replaced: the save says why, and the work stays unsaved.
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    const QByteArray savedBytes = [&] { QFile f(path); f.open(QIODevice::ReadOnly); return f.readAll(); }();
    moved.SetLeft(moved.Left() + 10);
    settle();
    messages.clear();
    EXPECT_FALSE(window->save());
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_TRUE(messages.shown()[0].text.contains(QStringLiteral("the file is read-only"))) << messages.shown()[0].text.toStdString();
    EXPECT_TRUE(window->isWindowModified());
    EXPECT_EQ([&] { QFile f(path); f.open(QIODevice::ReadOnly); return f.readAll(); }(), savedBytes);
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    messages.clear();

    // Another program changes the file: Save leaves it as it is and says so; Save As onto it
    // (the user chose to replace it) writes the window's presentation over it.
    {
        QFile other(path);
        ASSERT_TRUE(other.open(QIODevice::WriteOnly));
        other.write(host::presentationBytes(host::NewPresentation()));
    }
    EXPECT_FALSE(window->save());
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_TRUE(messages.shown()[0].text.contains(QStringLiteral("another program changed the file"))) << messages.shown()[0].text.toStdString();
    messages.clear();
    dialogs.scriptPath(path);
    ASSERT_TRUE(window->saveAs());
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_FALSE(window->isWindowModified());
    window->undo();

    // Opening shows the file's slides in place of the present document.
    ASSERT_TRUE(window->newPresentation());
    EXPECT_EQ(application.ActivePresentation().Slides().Item(1).Shapes().Count(), 0);
    ASSERT_TRUE(window->openFile(path));
    const host::Presentation p = application.ActivePresentation();
    EXPECT_EQ(application.Presentations().Count(), 1);
    ASSERT_EQ(p.Slides().Count(), 1);
    host::Shapes shapes = p.Slides().Item(1).Shapes();
    ASSERT_EQ(shapes.Count(), 3);
    EXPECT_EQ(shapes.Item(1).TextFrame().TextRange().Text(), QStringLiteral("Cat"));
    EXPECT_NEAR(shapes.Item(1).Left(), 130, 0.01);
    EXPECT_TRUE(shapes.Item(3).ConnectorFormat().BeginConnected());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("graph.pptx[*] - ZOVEdit"));
    EXPECT_FALSE(window->isWindowModified());
    EXPECT_EQ(window->history()->stepCount(), 1u); // a fresh history for the opened file

    // A file nobody may write says so in the title as it opens, before a save would fail.
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    ASSERT_TRUE(window->openFile(path));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("graph.pptx (read-only)[*] - ZOVEdit"));
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    ASSERT_TRUE(window->openFile(path));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("graph.pptx[*] - ZOVEdit"));
}

TEST_F(MainWindowTest, SaveAsKeepsTheExtensionOfEveryKindOfPresentation)
{
    // A slide show's name is not made "show.ppsx.pptx": the file is saved as a slide show.
    makeGraph();
    const QString show = folder.filePath(QStringLiteral("show.ppsx"));
    dialogs.scriptPath(show);
    ASSERT_TRUE(window->saveAs());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("show.ppsx[*] - ZOVEdit"));
    EXPECT_FALSE(QFileInfo::exists(show + QStringLiteral(".pptx")));
    QFile file(show);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QByteArray types;
    for (const host::pptx::ZipEntry& entry : host::pptx::readZip(file.readAll()))
        if (entry.name == QLatin1String("[Content_Types].xml"))
            types = entry.data;
    EXPECT_TRUE(types.contains("presentationml.slideshow.main+xml")) << types.toStdString();
}

// A signed deck changed and saved keeps a signature that no longer matches: the first save that
// changes it says so, the next ones do not say it again.
TEST_F(MainWindowTest, SavingAChangedSignedDeckSaysItsSignatureNoLongerMatches)
{
    QFile corpusDeck(QDir(test::pptxCorpusDir()).filePath(QStringLiteral("apache-tika__testPPT_signed.pptx")));
    if (!corpusDeck.open(QIODevice::ReadOnly))
        GTEST_SKIP() << "no signed deck in the corpus";
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("signed.pptx"));
    {
        QFile copy(path);
        ASSERT_TRUE(copy.open(QIODevice::WriteOnly));
        copy.write(corpusDeck.readAll());
    }
    ASSERT_TRUE(window->openFile(path));
    messages.clear();
    ASSERT_TRUE(window->addSlide());
    ASSERT_TRUE(window->save());
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text,
              QStringLiteral("\"signed.pptx\" was digitally signed: its signature was kept, but it no longer matches "
                             "the changed presentation, which presentation programs will say"));
    ASSERT_TRUE(window->addSlide());
    ASSERT_TRUE(window->save());
    EXPECT_EQ(messages.shown().size(), 1u);
}

TEST_F(MainWindowTest, OpeningABrokenFileReportsAndKeepsTheDocument)
{
    makeGraph();
    const host::Presentation before = application.ActivePresentation();
    const QString path = folder.filePath(QStringLiteral("broken.pptx"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a zip archive");
    file.close();
    messages.script(MessageAnswer::No); // do not save the graph first
    EXPECT_FALSE(window->openFile(path));
    EXPECT_EQ(application.ActivePresentation(), before);
    ASSERT_EQ(messages.shown().size(), 2u);
    EXPECT_EQ(messages.shown()[1].icon, platform::MessageIcon::Critical);
    EXPECT_TRUE(messages.shown()[1].text.contains(QStringLiteral("broken.pptx"))) << messages.shown()[1].text.toStdString();
}

TEST_F(MainWindowTest, AsksBeforeClosingUnsavedWork)
{
    makeGraph();
    messages.script(MessageAnswer::Cancel);
    EXPECT_FALSE(window->close());
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].buttons, platform::MessageButtons::YesNoCancel);
    EXPECT_EQ(messages.shown()[0].text, QStringLiteral("Do you want to save the changes you made to Presentation1?"));
    EXPECT_TRUE(window->isVisible());

    // Yes with a cancelled file dialog saves nothing and stays open.
    messages.script(MessageAnswer::Yes);
    dialogs.scriptPath(std::nullopt);
    EXPECT_FALSE(window->close());

    messages.script(MessageAnswer::No);
    EXPECT_TRUE(window->close());
}

TEST_F(MainWindowTest, SlidesAddRenameMoveDeleteAndUndo)
{
    host::Slides slides = application.ActivePresentation().Slides();
    ASSERT_TRUE(window->addSlide());
    ASSERT_TRUE(window->addSlide());
    ASSERT_EQ(slides.Count(), 3);
    EXPECT_EQ(application.ActiveWindow().View().Slide().SlideIndex(), 3);
    EXPECT_EQ(window->slideList()->currentRow(), 2);

    EXPECT_TRUE(window->renameSlide(1, QStringLiteral("Cats")));
    EXPECT_EQ(slides.Item(1).Name(), QStringLiteral("Cats"));
    EXPECT_EQ(window->slideList()->item(0)->text(), QStringLiteral("Cats"));

    // A name another slide has is refused, with a message, and the list shows the old name.
    const QString second = slides.Item(2).Name();
    EXPECT_FALSE(window->renameSlide(2, QStringLiteral("Cats")));
    EXPECT_EQ(slides.Item(2).Name(), second);
    EXPECT_EQ(window->slideList()->item(1)->text(), second);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_TRUE(messages.shown()[0].text.contains(QStringLiteral("\"Cats\" is already in use")));

    const host::Slide cats = slides.Item(1);
    EXPECT_TRUE(window->moveSlide(1, 3));
    EXPECT_EQ(cats.SlideIndex(), 3);
    EXPECT_EQ(window->slideList()->item(2)->text(), QStringLiteral("Cats"));
    EXPECT_TRUE(window->deleteSlide(3));
    EXPECT_EQ(slides.Count(), 2);
    EXPECT_EQ(window->slideList()->count(), 2);

    EXPECT_EQ(application.ActiveWindow().View().Slide().SlideIndex(), 2);
    window->undo(); // the deletion: the slide comes back, and into view
    EXPECT_EQ(slides.Count(), 3);
    EXPECT_EQ(cats.SlideIndex(), 3);
    EXPECT_EQ(application.ActiveWindow().View().Slide().SlideIndex(), 3);
    window->redo(); // and goes again
    EXPECT_EQ(slides.Count(), 2);
    window->undo();
    ASSERT_EQ(slides.Count(), 3);
    window->undo(); // the move
    EXPECT_EQ(cats.SlideIndex(), 1);
    window->undo(); // the rename
    EXPECT_NE(cats.Name(), QStringLiteral("Cats"));
    EXPECT_EQ(window->slideList()->item(0)->text(), cats.Name());
}

// A file named at start that does not exist yet: a new presentation under that name, whose
// first save proposes it in its folder; a name in a folder that does not exist is an error.
TEST_F(MainWindowTest, AFileNamedAtStartThatDoesNotExistIsANewPresentationSavedThere)
{
    const QString path = folder.filePath(QStringLiteral("lecture.pptx"));
    ASSERT_TRUE(window->openOrStartFile(path));
    EXPECT_FALSE(QFileInfo::exists(path)) << "nothing is written before a save";
    EXPECT_EQ(window->windowTitle(), QStringLiteral("lecture.pptx[*] - ZOVEdit"));
    EXPECT_TRUE(messages.shown().empty());
    dialogs.scriptPath(path);
    ASSERT_TRUE(window->save());
    ASSERT_EQ(dialogs.requests().size(), 1u);
    EXPECT_EQ(dialogs.requests()[0].file.fileName, QStringLiteral("lecture.pptx"));
    EXPECT_EQ(QDir(dialogs.requests()[0].file.initDir), QDir(folder.path()));
    EXPECT_TRUE(QFileInfo::exists(path));

    // Another new presentation forgets the name.
    ASSERT_TRUE(window->newPresentation());
    EXPECT_NE(window->windowTitle(), QStringLiteral("lecture.pptx[*] - ZOVEdit"));

    EXPECT_FALSE(window->openOrStartFile(folder.filePath(QStringLiteral("no-such-folder/lecture.pptx"))));
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_TRUE(messages.shown()[0].text.contains(QStringLiteral("No such file or directory")))
        << messages.shown()[0].text.toStdString();
}

// Undoing the slide a command added at the end goes back to the slide the user was on, not to
// the first.
TEST_F(MainWindowTest, UndoingAnAddedSlideShowsTheSlideInViewBeforeIt)
{
    host::Slides slides = application.ActivePresentation().Slides();
    ASSERT_TRUE(window->addSlide());
    ASSERT_TRUE(window->addSlide());
    ASSERT_TRUE(window->addSlide());
    ASSERT_EQ(slides.Count(), 4);
    application.ActiveWindow().View().GotoSlide(2);
    window->syncWithDocument();
    // As Add Graph does: a slide at the end, brought into view.
    slides.Add(5, host::LayoutBlank);
    application.ActiveWindow().View().GotoSlide(5);
    window->syncWithDocument();
    window->undo();
    ASSERT_EQ(slides.Count(), 4);
    EXPECT_EQ(application.ActiveWindow().View().Slide().SlideIndex(), 2);
    window->redo();
    EXPECT_EQ(application.ActiveWindow().View().Slide().SlideIndex(), 5);

    // A slide an undo brought into view is the one the user is on.
    window->undo();
    application.ActiveWindow().View().GotoSlide(1);
    window->syncWithDocument();
    ASSERT_TRUE(window->renameSlide(1, QStringLiteral("Cats")));
    application.ActiveWindow().View().GotoSlide(3);
    window->syncWithDocument();
    window->undo(); // the rename, shown on slide 1
    ASSERT_EQ(application.ActiveWindow().View().Slide().SlideIndex(), 1);
    slides.Add(5, host::LayoutBlank);
    application.ActiveWindow().View().GotoSlide(5);
    window->syncWithDocument();
    window->undo();
    EXPECT_EQ(application.ActiveWindow().View().Slide().SlideIndex(), 1);
}

// A graph slide renamed in the list takes its title label along ("NAME is TYPE" and the label's
// own name), so that the title shown and the graph name exported stay one; undo puts both back.
TEST_F(MainWindowTest, RenamingAGraphSlideRenamesItsTitle)
{
    host::Slide slide = application.ActivePresentation().Slides().Item(1);
    slide.SetName(QStringLiteral("G1"));
    host::Shape title = slide.Shapes().AddLabel(host::TextOrientationHorizontal, 0, 0, 100, 45);
    title.SetAutoShapeType(drawing::TitleLabelShapeType);
    title.SetName(QStringLiteral("G1/ABCDEFGH"));
    title.TextFrame().TextRange().SetText(QStringLiteral("G1 is Proposition"));
    settle();

    ASSERT_TRUE(window->renameSlide(1, QStringLiteral("Rain")));
    EXPECT_EQ(title.TextFrame().TextRange().Text(), QStringLiteral("Rain is Proposition"));
    EXPECT_EQ(title.Name(), QStringLiteral("Rain/ABCDEFGH"));
    window->undo();
    EXPECT_EQ(slide.Name(), QStringLiteral("G1"));
    EXPECT_EQ(title.TextFrame().TextRange().Text(), QStringLiteral("G1 is Proposition"));
    EXPECT_EQ(title.Name(), QStringLiteral("G1/ABCDEFGH"));

    // The other way round: the title edited in place renames the slide, unless another slide
    // has the name, which is told while the title keeps the slide's name.
    const auto editTitle = [&](const QString& text) {
        canvas().editText(title);
        canvas().textEditor()->setPlainText(text);
        canvas().finishTextEdit(true);
        settle();
    };
    editTitle(QStringLiteral("Snow is Situation"));
    EXPECT_EQ(slide.Name(), QStringLiteral("Snow"));
    EXPECT_EQ(title.Name(), QStringLiteral("Snow/ABCDEFGH"));
    ASSERT_TRUE(window->addSlide());
    application.ActivePresentation().Slides().Item(2).SetName(QStringLiteral("Hail"));
    window->goToSlide(1);
    editTitle(QStringLiteral("Hail is Situation"));
    EXPECT_EQ(slide.Name(), QStringLiteral("Snow"));
    EXPECT_EQ(title.TextFrame().TextRange().Text(), QStringLiteral("Snow is Situation"));
    ASSERT_FALSE(messages.shown().empty());
    EXPECT_TRUE(messages.shown().back().text.contains(QStringLiteral("Hail"))) << messages.shown().back().text.toStdString();
    // A name holding " is " is the graph's whole name: its type edited, the name stays.
    ASSERT_TRUE(window->renameSlide(1, QStringLiteral("Snow is white")));
    ASSERT_EQ(title.TextFrame().TextRange().Text(), QStringLiteral("Snow is white is Situation"));
    editTitle(QStringLiteral("Snow is white is Proposition"));
    EXPECT_EQ(slide.Name(), QStringLiteral("Snow is white"));
    EXPECT_EQ(title.Name(), QStringLiteral("Snow is white/ABCDEFGH"));
}

// F2 edits the text of the selected shape, but in the slide list it renames the slide there,
// even while a shape is selected on the slide.
TEST_F(MainWindowTest, F2InTheSlideListRenamesTheSlideNotTheSelectedShape)
{
    host::Slide slide = application.ActiveWindow().View().Slide();
    slide.Shapes().AddShape(host::AutoShapeType::ShapeRectangle, 100, 100, 80, 30).TextFrame().TextRange().SetText(QStringLiteral("Cat"));
    canvas().selectAll();
    ASSERT_EQ(canvas().selection().size(), 1u);
    QAction* editText = window->findChild<QAction*>(QStringLiteral("EditText"));
    ASSERT_NE(editText, nullptr);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    window->slideList()->setFocus();
    ASSERT_TRUE(window->slideList()->hasFocus());
    editText->trigger();
    const QLineEdit* nameEditor = window->slideList()->findChild<QLineEdit*>();
    EXPECT_TRUE(nameEditor != nullptr && nameEditor->isVisible()) << "the slide's name is not being edited";
    EXPECT_FALSE(canvas().isEditingText());

    canvas().setFocus();
    editText->trigger();
    EXPECT_TRUE(canvas().isEditingText());

    // Delete is there for what it would delete: the slides where the list has the focus, else
    // the shapes selected.
    canvas().finishTextEdit(false);
    QAction* deleteAction = window->findChild<QAction*>(QStringLiteral("EditDelete"));
    ASSERT_NE(deleteAction, nullptr);
    canvas().setFocus();
    canvas().clearSelection();
    EXPECT_FALSE(deleteAction->isEnabled());
    canvas().selectAll();
    EXPECT_TRUE(deleteAction->isEnabled());
    canvas().clearSelection();
    window->slideList()->setFocus();
    EXPECT_TRUE(deleteAction->isEnabled());
}

TEST_F(MainWindowTest, DeletingTheSlideInViewShowsTheOneThatTakesItsPlace)
{
    host::Slides slides = application.ActivePresentation().Slides();
    ASSERT_TRUE(window->addSlide());
    ASSERT_TRUE(window->addSlide());
    const host::Slide first = slides.Item(1);
    const host::Slide third = slides.Item(3);
    window->goToSlide(2);
    EXPECT_TRUE(window->deleteSlide(2));
    EXPECT_EQ(application.ActiveWindow().View().Slide(), third); // the next one moved up
    EXPECT_EQ(window->slideList()->currentRow(), 1);
    EXPECT_TRUE(window->deleteSlide(2)); // the last one, in view
    EXPECT_EQ(application.ActiveWindow().View().Slide(), first);
    EXPECT_EQ(window->slideList()->currentRow(), 0);
}

// With its last slide deleted the presentation has no page to draw on, and the canvas shows
// none (it says how to add a slide instead).
TEST_F(MainWindowTest, NoSlideLeftShowsNoPage)
{
    const auto whitePixels = [&] {
        const QImage picture = canvas().viewport()->grab().toImage();
        int white = 0;
        for (int y = 0; y < picture.height(); y += 4)
            for (int x = 0; x < picture.width(); x += 4)
                white += picture.pixel(x, y) == qRgb(255, 255, 255);
        return white;
    };
    EXPECT_GT(whitePixels(), 100);
    ASSERT_TRUE(window->deleteSlide(1));
    ASSERT_EQ(application.ActivePresentation().Slides().Count(), 0);
    EXPECT_EQ(whitePixels(), 0);
}

// Slides picked with Ctrl and Shift in the list go with one Delete, and come back with one
// Undo, in their places.
TEST_F(MainWindowTest, SlidesSelectedInTheListGoWithOneDeleteAndComeBackWithOneUndo)
{
    host::Slides slides = application.ActivePresentation().Slides();
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(window->addSlide());
    ASSERT_EQ(slides.Count(), 6);
    std::vector<host::Slide> before;
    for (int i = 1; i <= 6; ++i)
        before.push_back(slides.Item(i));
    app::SlideList* list = window->slideList();
    list->setFocus();
    QCoreApplication::processEvents();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ShiftModifier, list->visualItemRect(list->item(3)).center());
    list->scrollToItem(list->item(5));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, list->visualItemRect(list->item(5)).center());
    EXPECT_EQ(list->selectedSlides(), (std::vector<int>{2, 3, 4, 6}));
    const int steps = window->history()->stepCount();

    QTest::keyClick(list, Qt::Key_Delete);
    QCoreApplication::processEvents();
    ASSERT_EQ(slides.Count(), 2);
    EXPECT_EQ(slides.Item(1), before[0]);
    EXPECT_EQ(slides.Item(2), before[4]);
    EXPECT_EQ(list->count(), 2);
    EXPECT_EQ(window->history()->stepCount(), steps + 1);

    window->undo();
    ASSERT_EQ(slides.Count(), 6);
    for (int i = 1; i <= 6; ++i)
        EXPECT_EQ(slides.Item(i), before[static_cast<std::size_t>(i - 1)]) << "slide " << i;
    // Out-of-range positions are passed over; nothing to delete is no step.
    EXPECT_FALSE(window->deleteSlides({0, 7}));
}

// Slides dragged together keep their order and land together at the gap, from above it, from
// below it or both, as one undo step; the slide in view stays in view.
TEST_F(MainWindowTest, SeveralSlidesMovedTogetherLandInTheirOrderAtTheGap)
{
    host::Slides slides = application.ActivePresentation().Slides();
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(window->addSlide());
    std::vector<host::Slide> original;
    for (int i = 1; i <= 6; ++i)
        original.push_back(slides.Item(i));
    const auto order = [&] {
        QString text;
        for (int i = 1; i <= slides.Count(); ++i)
            for (std::size_t k = 0; k < original.size(); ++k)
                if (slides.Item(i) == original[k])
                    text += QString::number(k + 1);
        return text;
    };
    window->goToSlide(4);
    const int steps = window->history()->stepCount();
    EXPECT_TRUE(window->moveSlides({2, 5}, 3)); // one from above the gap, one from below
    EXPECT_EQ(order(), QStringLiteral("132546"));
    EXPECT_EQ(application.ActiveWindow().View().Slide(), original[3]);
    EXPECT_EQ(window->history()->stepCount(), steps + 1);
    window->undo();
    EXPECT_EQ(order(), QStringLiteral("123456"));
    EXPECT_TRUE(window->moveSlides({1, 2}, 4)); // to below the others above them
    EXPECT_EQ(order(), QStringLiteral("341256"));
    EXPECT_TRUE(window->moveSlides({5, 6}, 1)); // to above the others below them
    EXPECT_EQ(order(), QStringLiteral("356412"));
    EXPECT_TRUE(window->moveSlides({1, 6}, 6)); // to the end
    EXPECT_EQ(order(), QStringLiteral("564132"));
    EXPECT_FALSE(window->moveSlides({3, 4}, 3)); // already there: nothing moves, no step
}

// The window opens at 1200 x 800 where the screen has the room (the desktop journey checks
// that on its 1600 x 1000 screen); on a smaller screen (the test platform's is 800 x 600) it
// opens smaller, so that its status bar and the slide's right edge are not off the screen.
// The cases of tests/cases/app/opening-size.case.
TEST(MainWindowSizeTest, OpensAtItsSizeOrLeavesThePaletteRoomOrFitsASmallScreen)
{
    for (const test::Case& c : test::LoadCases(QStringLiteral("app"), QStringLiteral("opening-size.case"))) {
        const auto sizeOf = [](const QString& text) {
            return QSize(text.section(u'x', 0, 0).toInt(), text.section(u'x', 1, 1).toInt());
        };
        const QSize size = app::MainWindow::openingSizeFor(sizeOf(c.input.trimmed()));
        EXPECT_EQ(QStringLiteral("%1x%2").arg(size.width()).arg(size.height()), c.expected.value(0)) << c.where();
    }
}

TEST_F(MainWindowTest, OpensWithinASmallScreen)
{
    const QSize room = QGuiApplication::primaryScreen()->availableGeometry().size();
    ASSERT_TRUE(room.width() < 1200 || room.height() < 800) << "the test platform's screen has room for 1200 x 800";
    // A window of its own: the fixture's has been given the size the other tests need.
    app::MainWindow fresh(app::MainWindowServices{&application, &messages, &dialogs, &settings, store.get()});
    EXPECT_LE(fresh.width(), room.width());
    EXPECT_LE(fresh.height(), room.height());
    EXPECT_GE(fresh.width(), room.width() * 8 / 10) << "the window should still use most of the screen";
}

// The size the window had when it closed is its size at the next start, when the screen has the
// room for it; one kept on a larger screen (or no size at all) gives the usual size.
TEST_F(MainWindowTest, OpensAtTheSizeItClosedAtWhereTheScreenHasTheRoom)
{
    const app::MainWindowServices services{&application, &messages, &dialogs, &settings, store.get()};
    const QSize usual = app::MainWindow(services).size();
    {
        app::MainWindow first(services);
        first.show();
        first.resize(600, 420);
        QApplication::processEvents();
        ASSERT_TRUE(first.close());
    }
    EXPECT_EQ(settings.value(QStringLiteral("ZOVEdit"), QStringLiteral("Window"), QStringLiteral("Size"), QString()),
              QStringLiteral("600x420"));
    EXPECT_EQ(app::MainWindow(services).size(), QSize(600, 420));
    for (const char* kept : {"3000x2000", "600", "wide x high", "100x100"}) {
        settings.setValue(QStringLiteral("ZOVEdit"), QStringLiteral("Window"), QStringLiteral("Size"), QString::fromLatin1(kept));
        EXPECT_EQ(app::MainWindow(services).size(), usual) << kept;
    }
}

TEST_F(MainWindowTest, StandardToolbarCarriesTheHostBarsButtons)
{
    int clicks = 0;
    host::CommandBar standard = application.CommandBars().Item(QStringLiteral("Standard"));
    host::CommandBarButton button = standard.AddButton();
    button.SetCaption(QStringLiteral("ZOV Edit"));
    button.SetTag(QStringLiteral("ZOV Edit"));
    button.SetStyle(host::ButtonCaption);
    button.SetClickHandler([&] {
        ++clicks;
        // A handler that changes the document: it becomes one undo step.
        application.ActiveWindow().View().Slide().Shapes().AddShape(host::ShapeRectangle, 10, 10, 50, 50);
    });
    settle();
    // The status line tells a new user where drawing starts, and tells it again once a passing
    // message (opening a file, a save) is over; in short when the window is too narrow for it.
    const QString hint =
        QStringLiteral("To draw a conceptual graph, press ZOV Edit on the toolbar (or Tools > ZOV Edit) to open its palette");
    EXPECT_EQ(window->statusBar()->currentMessage(), hint);
    window->statusBar()->showMessage(QStringLiteral("Opening deck.pptx..."));
    window->statusBar()->clearMessage();
    settle();
    EXPECT_EQ(window->statusBar()->currentMessage(), hint);
    const QSize size = window->size();
    window->resize(window->minimumSizeHint().width(), size.height());
    settle();
    window->statusBar()->showMessage(QStringLiteral("Saved"));
    window->statusBar()->clearMessage();
    settle();
    EXPECT_EQ(window->statusBar()->currentMessage(), QStringLiteral("To draw a graph, press ZOV Edit (Tools > ZOV Edit)"));
    window->resize(size);
    settle();
    QAction* action = nullptr;
    for (QAction* a : window->standardToolBar()->actions())
        if (a->text() == QStringLiteral("ZOV Edit"))
            action = a;
    ASSERT_NE(action, nullptr);
    action->trigger();
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(window->statusBar()->currentMessage().isEmpty()) << "the hint goes once it is followed";
    EXPECT_EQ(window->history()->stepCount(), 2u);
    // The same command heads the Tools menu, with the caption's first letter as its key.
    ASSERT_FALSE(window->toolsMenu()->actions().isEmpty());
    QAction* item = window->toolsMenu()->actions().front();
    EXPECT_EQ(item->text(), QStringLiteral("&ZOV Edit"));
    item->trigger();
    EXPECT_EQ(clicks, 2);

    // The toolbar and the menu follow the bar: a deleted control leaves them.
    button.Delete();
    settle();
    for (const QWidget* w : {static_cast<QWidget*>(window->standardToolBar()), static_cast<QWidget*>(window->toolsMenu())})
        for (QAction* a : w->actions())
            EXPECT_FALSE(a->text().endsWith(QStringLiteral("ZOV Edit")));
    // No separator is left standing where the controls were.
    const QList<QAction*> tools = window->standardToolBar()->actions();
    ASSERT_FALSE(tools.isEmpty());
    EXPECT_FALSE(tools.back()->isSeparator() && tools.back()->isVisible());
    for (QAction* a : window->toolsMenu()->actions())
        EXPECT_FALSE(a->isSeparator() && a->isVisible());
}

// At rest the window touches nothing (each change of the modified mark rewrites the title on
// the screen, which wakes the program again); a change made behind its back is still followed
// as soon as the program goes idle.
TEST_F(MainWindowTest, AtRestDoesNothingYetFollowsChangesMadeBehindItsBack)
{
    makeGraph();
    struct Counter : QObject {
        int count = 0;
        bool eventFilter(QObject*, QEvent* event) override
        {
            const auto type = event->type();
            count += type == QEvent::ModifiedChange || type == QEvent::WindowTitleChange || type == QEvent::Paint ? 1 : 0;
            return false;
        }
    } touches;
    window->installEventFilter(&touches);
    canvas().viewport()->installEventFilter(&touches);
    // Runs the event loop for a while, woken up every few milliseconds.
    const auto idle = [] {
        QEventLoop loop;
        QTimer tick;
        tick.start(5);
        QTimer::singleShot(150, &loop, &QEventLoop::quit);
        loop.exec();
    };
    idle(); // paints still due from drawing the graph
    touches.count = 0;
    idle();
    EXPECT_EQ(touches.count, 0);
    const auto steps = window->history()->stepCount();
    application.ActiveWindow().View().Slide().Shapes().AddShape(host::ShapeOval, 300, 300, 40, 40);
    idle();
    EXPECT_EQ(window->history()->stepCount(), steps + 1);
    EXPECT_GT(touches.count, 0); // the canvas shows the new shape
}

// A command that waits in a message box (an import's "File read") has the window show what it
// did so far, while the undo step that takes it all back is recorded once the command is over.
TEST_F(MainWindowTest, AMessageBoxInTheMiddleOfACommandSeesTheDocumentAsItIs)
{
    const auto steps = window->history()->stepCount();
    const int rows = window->slideList()->count();
    const auto box = [] { // a nested loop, as a modal box runs
        QEventLoop loop;
        QTimer tick;
        tick.start(5);
        QTimer::singleShot(60, &loop, &QEventLoop::quit);
        loop.exec();
    };
    int rowsInBox = -1;
    std::size_t stepsInBox = 0;
    QEventLoop command;
    QTimer::singleShot(0, &command, [&] {
        host::Slides slides = application.ActivePresentation().Slides();
        slides.Add(slides.Count() + 1, host::LayoutBlank);
        box();
        rowsInBox = window->slideList()->count();
        stepsInBox = window->history()->stepCount();
        slides.Add(slides.Count() + 1, host::LayoutBlank);
        command.quit();
    });
    command.exec();
    settle();
    EXPECT_EQ(rowsInBox, rows + 1) << "the slide added before the box is listed while it is up";
    EXPECT_EQ(stepsInBox, steps) << "no step is recorded in the middle of the command";
    EXPECT_EQ(window->slideList()->count(), rows + 2);
    EXPECT_EQ(window->history()->stepCount(), steps + 1) << "one command, one step";
}

namespace {

// A store whose reading waits until the test lets it go on.
class SlowStore : public app::DocumentStore {
public:
    host::Presentation read(const QString&) override
    {
        std::unique_lock lock(mutex_);
        started_ = true;
        released_.wait(lock, [this] { return release_; });
        host::Presentation p = host::NewPresentation();
        p.Slides().Add(1, host::LayoutBlank);
        return p;
    }
    void write(const host::Presentation&, const QString&, const std::function<void()>&, Replace) override {}
    void release()
    {
        std::lock_guard lock(mutex_);
        release_ = true;
        released_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable released_;
    bool started_ = false;
    bool release_ = false;
};

} // namespace

TEST_F(MainWindowTest, CancellingASlowOpenKeepsTheDocument)
{
    auto slow = std::make_unique<SlowStore>();
    SlowStore* slowStore = slow.get();
    // A window of its own over the slow store.
    window.reset();
    this->store = std::move(slow);
    window = std::make_unique<app::MainWindow>(app::MainWindowServices{&application, &messages, &dialogs, &settings, slowStore});
    window->show();
    makeGraph();
    const host::Presentation before = application.ActivePresentation();
    messages.script(MessageAnswer::No);
    bool sawProgress = false;
    QString statusWhileOpening;
    QTimer::singleShot(700, window.get(), [&] {
        auto* progress = window->findChild<QProgressDialog*>(QStringLiteral("OpenProgress"));
        sawProgress = progress && progress->isVisible();
        statusWhileOpening = window->statusBar()->currentMessage();
        if (auto* cancel = progress ? progress->findChild<QPushButton*>() : nullptr)
            cancel->click();
    });
    EXPECT_FALSE(window->openFile(QStringLiteral("big.pptx")));
    EXPECT_TRUE(sawProgress);
    EXPECT_EQ(statusWhileOpening, QStringLiteral("Opening big.pptx..."));
    EXPECT_TRUE(window->statusBar()->currentMessage().isEmpty());
    EXPECT_EQ(application.ActivePresentation(), before);
    EXPECT_EQ(before.Slides().Item(1).Shapes().Count(), 3);
    slowStore->release(); // the reader finishes in the background; the window joins it on closing
    window.reset();
}

namespace {

// A store that notes what the window's status bar says while it writes.
class WatchedStore : public app::DocumentStore {
public:
    explicit WatchedStore(std::function<QString()> status) : status_(std::move(status)) {}
    host::Presentation read(const QString&) override { return host::NewPresentation(); }
    // Waits for another program's lock first when told to.
    void write(const host::Presentation&, const QString&, const std::function<void()>& waiting, Replace) override {
        if (waitFirst && waiting) {
            waiting();
            seen.push_back(status_());
        }
        seen.push_back(status_());
    }
    bool waitFirst = false;
    QStringList seen;

private:
    std::function<QString()> status_;
};

} // namespace

// A large presentation takes seconds to save with the window blocked: the status bar says what
// is happening for that while, and nothing once it is done.
TEST_F(MainWindowTest, SavingSaysSoOnTheStatusBarWhileItWrites)
{
    app::MainWindow* shown = nullptr;
    auto watched = std::make_unique<WatchedStore>([&] { return shown->statusBar()->currentMessage(); });
    WatchedStore* watchedStore = watched.get();
    window.reset();
    this->store = std::move(watched);
    window = std::make_unique<app::MainWindow>(app::MainWindowServices{&application, &messages, &dialogs, &settings, watchedStore});
    shown = window.get();
    window->show();
    makeGraph();
    ASSERT_TRUE(window->saveTo(QStringLiteral("/tmp/deck.pptx")));
    EXPECT_EQ(watchedStore->seen, QStringList{QStringLiteral("Saving deck.pptx...")});
    EXPECT_TRUE(window->statusBar()->currentMessage().isEmpty());
    // While another program holds the file, the status bar says that is what it waits for.
    watchedStore->seen.clear();
    watchedStore->waitFirst = true;
    ASSERT_TRUE(window->saveTo(QStringLiteral("/tmp/deck.pptx")));
    EXPECT_EQ(watchedStore->seen.value(0), QStringLiteral("Waiting for another program to finish with deck.pptx"));
    EXPECT_TRUE(window->statusBar()->currentMessage().isEmpty());
    window.reset();
}

TEST(RecentFilesTest, NewestFirstOnceEachAndAtMostEight)
{
    platform::MemorySettingsStore store;
    app::RecentFiles recent(store);
    for (int i = 1; i <= 10; ++i)
        recent.add(QStringLiteral("/tmp/deck%1.pptx").arg(i));
    recent.add(QStringLiteral("/tmp/deck5.pptx"));
    const QStringList files = recent.files();
    ASSERT_EQ(files.size(), app::RecentFiles::kMaxFiles);
    EXPECT_EQ(files.front(), QStringLiteral("/tmp/deck5.pptx"));
    EXPECT_EQ(files[1], QStringLiteral("/tmp/deck10.pptx"));
    EXPECT_EQ(files.count(QStringLiteral("/tmp/deck5.pptx")), 1);
    EXPECT_FALSE(files.contains(QStringLiteral("/tmp/deck1.pptx")));
    recent.remove(QStringLiteral("/tmp/deck10.pptx"));
    EXPECT_EQ(recent.files().size(), app::RecentFiles::kMaxFiles - 1);
    EXPECT_EQ(store.value(QStringLiteral("ZOVEdit"), QStringLiteral("RecentFiles"), QStringLiteral("File2"), QString()),
              QStringLiteral("/tmp/deck9.pptx"));
    // Saving the file first in the list again (the usual Save) rewrites none of the entries:
    // each write rewrites and flushes the settings file.
    store.clearWrites();
    recent.add(QStringLiteral("/tmp/deck5.pptx"));
    EXPECT_TRUE(store.writes().empty());
    recent.add(QStringLiteral("/tmp/deck9.pptx"));
    EXPECT_EQ(store.writes().size(), 2u); // File1 and File2 swap; the rest stay
}

} // namespace zov::test
