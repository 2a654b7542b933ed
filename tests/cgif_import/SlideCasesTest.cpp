// The cases of tests/cases/cgif_import: CGIF read into a new presentation, compared with the
// slides drawn and the boxes shown; the checking builder (which draws nothing) must report the
// same outcome, boxes and number of slides for the same text.
#include "ImportFixture.h"

#include "support/CaseFiles.h"

#include <QRegularExpression>

namespace zov::cgif::test {
namespace {

// The lines of ImportSession::describe with each shape's name, place, fill and font, or each
// connector's type and arrowhead (for shapes.case).
QStringList detailed(const host::Slide& slide) {
    QStringList lines = ImportSession::describe(slide);
    for (int i = 1; i <= slide.Shapes().Count(); ++i) {
        const host::Shape s = slide.Shapes().Item(i);
        lines[i - 1] += s.Connector() ? QStringLiteral(" | type %1 arrow %2").arg(s.AutoShapeType()).arg(s.Line().EndArrowheadStyle())
                                      : QStringLiteral(" | %1 @%2,%3 fill %4 font %5 %6")
                                            .arg(s.Name()).arg(s.Left()).arg(s.Top()).arg(s.Fill().ForeColor().RGB(), 6, 16, QChar(u'0'))
                                            .arg(s.TextFrame().TextRange().Font().Name()).arg(s.TextFrame().TextRange().Font().Size());
    }
    return lines;
}

TEST(SlideCasesTest, CaseFiles) {
    std::vector<zov::test::Case> cases = zov::test::LoadCases(QStringLiteral("cgif_import"), QStringLiteral("slides.case"));
    for (zov::test::Case& c : zov::test::LoadCases(QStringLiteral("cgif_import"), QStringLiteral("shapes.case")))
        cases.push_back(std::move(c));
    for (const zov::test::Case& c : cases) {
        ImportSession session;
        QStringList trace{session.read(c.input) ? QStringLiteral("read") : QStringLiteral("stopped")};
        for (int i = 1; i <= session.slides().Count(); ++i)
            trace << QStringLiteral("slide ") + session.slide(i).Name()
                  << (c.file == u"shapes.case" ? detailed(session.slide(i)) : ImportSession::describe(session.slide(i)));
        for (const QString& box : session.messageLines())
            trace << QStringLiteral("box ") + box;
        EXPECT_EQ(zov::test::Lines(trace), zov::test::Lines(c.expected)) << c.where();

        drawing::DrawingSettings settings;
        platform::FakeMessageBoxes boxes;
        drawing::NodeIdGenerator ids{7};
        CheckingBuilder checker(settings, boxes);
        CgifReader reader(ids, boxes, checker);
        reader.SetGraphNameTaken([&checker](const QString& name) { return checker.SlideNameInUse(name); });
        QStringList checked{reader.ReadCgifStream(*platform::StringTextStream(c.input)) ? QStringLiteral("read")
                                                                                        : QStringLiteral("stopped")};
        for (const platform::Message& box : boxes.shown())
            checked << QStringLiteral("box ") + box.title + QStringLiteral(": ") + box.text;
        EXPECT_EQ(zov::test::Lines(checked), zov::test::Lines(QStringList{trace.front()} + trace.filter(QRegularExpression(QStringLiteral("^box ")))))
            << c.where() << ": the checking builder";
        EXPECT_EQ(checker.SlideCount(), session.slides().Count()) << c.where();
        // The last slide drawn is the one shown.
        if (session.slides().Count() > 0) {
            EXPECT_TRUE(session.app.ActiveWindow().View().Slide() == session.slide(session.slides().Count())) << c.where();
        }
    }
}

// Graph names made up for untitled graphs skip the names slides of the user already have.
TEST(SlideCasesTest, GeneratedGraphNamesSkipNamesSlidesAlreadyHave) {
    ImportSession session;
    for (const char* name : {"G1", "G3"})
        session.slides().Add(session.slides().Count() + 1, host::LayoutBlank).SetName(QString::fromLatin1(name));
    ASSERT_TRUE(session.read(QStringLiteral("[A] . ;%Graph*G4%; [B] . [C]")));
    EXPECT_EQ(session.slideNames(), (QStringList{"G1", "G3", "G2", "G4", "G5"}));
    EXPECT_TRUE(session.messages.shown().empty()) << session.messageLines().join('\n').toStdString();
}

} // namespace
} // namespace zov::cgif::test
