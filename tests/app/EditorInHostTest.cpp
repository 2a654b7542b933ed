// The editor inside the desktop host: the add-in's button on the "Standard" toolbar starts the
// palette, and a concept made at the mouse pointer lands under the pointer on the canvas,
// because the canvas keeps the document window's view transform in step. Each command, Arrange
// included, is one undo step of the host.
#include "DesktopFixture.h"

#include "addin/Connect.h"
#include "addin/Version.h"
#include "host/AutoShapeType.h"
#include "platform/fake/FixedCursorPosition.h"
#include "platform/fake/RecordingHelpViewer.h"
#include "ui/QtEditorWindows.h"
#include "ui/ImportProgressDialog.h"
#include "ui/ZOVMain.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QToolBar>
#include <functional>
#include <vector>

namespace zov::test {

namespace {

ui::ZOVMain* findPalette()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* palette = qobject_cast<ui::ZOVMain*>(w); palette && palette->isVisible())
            return palette;
    return nullptr;
}

} // namespace

class EditorInHostTest : public DesktopFixture {
protected:
    void SetUp() override
    {
        DesktopFixture::SetUp();
        addin::AddinServices services;
        services.messages = &messages;
        services.settings = &drawingSettings;
        services.cursor = &cursor;
        services.dialogs = &dialogs;
        services.help = &help;
        services.libraryFolder = folder.path();
        services.version = addin::CurrentVersion();
        services.seedSource = [] { return 7u; };
        connect = std::make_unique<addin::Connect>(services, ui::QtEditorWindowsFactory());
        QVariantList custom;
        connect->OnConnection(application, addin::ConnectStartup, {addin::ZovEditProgId, QString()}, custom);
        settle();
    }
    void TearDown() override
    {
        QVariantList custom;
        connect->OnDisconnection(addin::RemoveHostShutdown, custom);
        connect.reset();
        DesktopFixture::TearDown();
    }

    // Starts the palette from its button on the "Standard" toolbar.
    ui::ZOVMain* startPalette()
    {
        for (QAction* a : window->standardToolBar()->actions())
            if (a->text() == QStringLiteral("ZOV Edit"))
                a->trigger();
        settle();
        return findPalette();
    }

    platform::MemorySettingsStore drawingSettings;
    platform::FixedCursorPosition cursor;
    platform::RecordingHelpViewer help;
    std::unique_ptr<addin::Connect> connect;
};

TEST_F(EditorInHostTest, ConceptAtThePointerLandsUnderThePointer)
{
    ui::ZOVMain* palette = startPalette();
    ASSERT_NE(palette, nullptr);

    canvas().setZoomPercent(150); // anywhere but the fitted zoom
    settle();
    const std::size_t stepsBefore = window->history()->stepCount();
    palette->SelectOption(1);
    palette->TextBox1->setText(QStringLiteral("Cat"));
    const QPointF slidePoint(200, 150);
    const QPoint screen = canvas().viewport()->mapToGlobal(viewportPoint(slidePoint));
    cursor.setPosition(screen);
    palette->RunAtPointer();
    settle();

    const host::Shapes shapes = application.ActiveWindow().View().Slide().Shapes();
    const host::Shape made = shapes.Item(shapes.Count());
    ASSERT_EQ(made.TextFrame().TextRange().Text(), QStringLiteral("Cat"));
    EXPECT_EQ(application.ActiveWindow().RangeFromPoint(screen.x(), screen.y()), made);
    const QRectF box(made.Left(), made.Top(), made.Width(), made.Height());
    EXPECT_TRUE(box.adjusted(-1, -1, 1, 1).contains(slidePoint)) << box.x() << "," << box.y();

    EXPECT_EQ(window->history()->stepCount(), stepsBefore + 1);
    window->undo();
    EXPECT_THROW(made.Name(), host::HostError); // the concept is gone again
}

namespace {

// Where every shape of the slide in view is: corners, sizes and connector ends, in slide order.
std::vector<double> slideGeometry(const host::Application& application)
{
    std::vector<double> geometry;
    const host::Shapes shapes = application.ActiveWindow().View().Slide().Shapes();
    for (int i = 1; i <= shapes.Count(); ++i) {
        const host::Shape s = shapes.Item(i);
        geometry.insert(geometry.end(), {s.Left(), s.Top(), s.Width(), s.Height()});
        if (s.Connector())
            geometry.insert(geometry.end(), {s.data().begin.x(), s.data().begin.y(), s.data().end.x(), s.data().end.y()});
    }
    return geometry;
}

} // namespace

TEST_F(EditorInHostTest, ArrangeFromThePaletteButtonOrMenuIsOneUndoStep)
{
    ui::ZOVMain* palette = startPalette();
    ASSERT_NE(palette, nullptr);
    // A graph piled at the corner, as an import without positions draws it.
    host::Shapes shapes = application.ActiveWindow().View().Slide().Shapes();
    host::Shape cat = shapes.AddShape(host::ShapeRectangle, 0, 0, 60, 30);
    host::Shape on = shapes.AddShape(9, 0, 0, 50, 30);
    host::Shape mat = shapes.AddShape(host::ShapeRectangle, 0, 0, 60, 30);
    cat.SetName(QStringLiteral("x/CATCATCA")); // node shapes are named by their ids
    on.SetName(QStringLiteral("ONONONON"));
    mat.SetName(QStringLiteral("MATMATMA"));
    for (const auto& [from, to] : {std::pair{cat, on}, std::pair{on, mat}}) {
        host::Shape arc = shapes.AddConnector(1, 0, 0, 10, 10);
        arc.ConnectorFormat().BeginConnect(from, 1);
        arc.ConnectorFormat().EndConnect(to, 1);
    }
    settle();
    const std::vector<double> piled = slideGeometry(application);

    auto* menuItem = palette->findChild<QAction*>(QStringLiteral("mnuArrange"));
    ASSERT_NE(menuItem, nullptr);
    const std::vector<std::pair<const char*, std::function<void()>>> ways{
        {"palette button", [&] { palette->ArrangeButton->click(); }}, {"Graph > Arrange", [&] { menuItem->trigger(); }}};
    for (const auto& [way, arrange] : ways) {
        SCOPED_TRACE(way);
        arrange();
        settle();
        const std::vector<double> arranged = slideGeometry(application);
        ASSERT_NE(arranged, piled) << "nothing moved";
        window->undo(); // a single step back restores every position
        settle();
        EXPECT_EQ(slideGeometry(application), piled) << "undo left some shape elsewhere";
        window->redo();
        settle();
        EXPECT_EQ(slideGeometry(application), arranged) << "redo did not arrange again";
        window->undo();
        settle();
    }
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(EditorInHostTest, AnImportFromThePaletteIsOneUndoStepCancelledOrNot)
{
    ui::ZOVMain* palette = startPalette();
    ASSERT_NE(palette, nullptr);
    const QString path = QDir(folder.path()).filePath(QStringLiteral("three.cgf"));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[Cat]\r\n.\r\n[Dog]\r\n.\r\n[Bird]\r\n");
    }
    settle();
    const host::Presentation presentation = application.ActivePresentation();
    const int before = presentation.Slides().Count();
    struct Case {
        const char* way;
        bool cancel;
        int drawn;
    };
    for (const Case& c : {Case{"whole file", false, 3}, Case{"cancelled after the first graph", true, 1}}) {
        SCOPED_TRACE(c.way);
        palette->SetImportProgressHook([&](ui::ImportProgressDialog& progress) {
            if (c.cancel)
                progress.Dialog().cancel();
        });
        dialogs.scriptPath(path);
        palette->Import();
        settle();
        EXPECT_EQ(presentation.Slides().Count(), before + c.drawn);
        window->undo();
        settle();
        EXPECT_EQ(presentation.Slides().Count(), before) << "one step back takes the whole import back";
    }
}

TEST_F(EditorInHostTest, AFailedImportLeavesAnUndoStepOnlyForWhatItDrew)
{
    // In turn: a file that is not there, a syntax error in the first graph, a graph G1 read
    // whole, a first graph named like that slide, and an error after a first graph was drawn.
    struct Case {
        const char* file;
        const char* text; // nothing: the file is missing
        int drawn;
        int messages;
    };
    const Case cases[] = {
        {"missing.cgf", nullptr, 0, 1},
        {"syntax.cgf", "(1x)\r\n[Cat]\r\n", 0, 1},
        {"g1.cgf", ";%Graph*G1%; [Dog]\r\n", 1, 1},
        {"again.cgf", ";%Graph*G1%; [Cat]\r\n", 0, 2},
        {"partly.cgf", "[Cat]\r\n.\r\n(1x)\r\n", 1, 1},
    };
    ui::ZOVMain* palette = startPalette();
    ASSERT_NE(palette, nullptr);
    settle();
    const host::Presentation presentation = application.ActivePresentation();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const QString path = QDir(folder.path()).filePath(QString::fromLatin1(c.file));
        if (c.text) {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(c.text);
        }
        const int slides = presentation.Slides().Count();
        const std::size_t steps = window->history()->stepCount();
        messages.clear();
        dialogs.scriptPath(path);
        palette->Import();
        settle();
        EXPECT_EQ(messages.shown().size(), static_cast<std::size_t>(c.messages));
        EXPECT_EQ(presentation.Slides().Count(), slides + c.drawn);
        EXPECT_EQ(window->history()->stepCount(), steps + (c.drawn > 0 ? 1 : 0)) << "one step for what was drawn, none else";
    }
    window->undo();
    settle();
    EXPECT_EQ(presentation.Slides().Count(), 2) << "the step of the partly drawn import takes its slide away";
}

} // namespace zov::test
