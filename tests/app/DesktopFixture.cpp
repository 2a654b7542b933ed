#include "DesktopFixture.h"

#include "host/AutoShapeType.h"

#include <QApplication>
#include <QTest>

namespace zov::test {

void DesktopFixture::SetUp()
{
    ASSERT_TRUE(folder.isValid());
    window = std::make_unique<app::MainWindow>(
        app::MainWindowServices{&application, &messages, &dialogs, &settings, store.get()});
    window->resize(1000, 700);
    window->move(40, 30);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    settle();
}

void DesktopFixture::TearDown()
{
    window.reset();
}

void DesktopFixture::settle()
{
    QApplication::processEvents();
    QApplication::processEvents();
    window->syncWithDocument();
}

SampleGraph DesktopFixture::makeGraph()
{
    host::Slide slide = application.ActiveWindow().View().Slide();
    host::Shapes shapes = slide.Shapes();
    SampleGraph g;
    g.cat = shapes.AddShape(host::ShapeRectangle, 100, 150, 120, 60);
    g.cat.Fill().ForeColor().SetRGB(static_cast<std::int32_t>(kConceptFill));
    g.cat.TextFrame().TextRange().SetText(QStringLiteral("Cat"));
    g.relation = shapes.AddShape(host::ShapeOval, 400, 300, 100, 70);
    g.relation.Fill().ForeColor().SetRGB(static_cast<std::int32_t>(kRelationFill));
    g.relation.TextFrame().TextRange().SetText(QStringLiteral("On"));
    g.arc = shapes.AddConnector(host::ConnectorStraight, 0, 0, 10, 10);
    g.arc.ConnectorFormat().BeginConnect(g.cat, 4);
    g.arc.ConnectorFormat().EndConnect(g.relation, 3);
    g.arc.Line().SetEndArrowheadStyle(host::ArrowheadTriangle);
    settle();
    return g;
}

} // namespace zov::test
