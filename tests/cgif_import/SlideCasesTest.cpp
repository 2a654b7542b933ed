// The cases of tests/cases/cgif_import: CGIF read into a new presentation, compared with the
// slides drawn and the boxes shown; the checking builder (which draws nothing) must report the
// same outcome, boxes and number of slides for the same text.
#include "ImportFixture.h"

#include "support/CaseFiles.h"

#include <QRegularExpression>

namespace zov::cgif::test {
namespace {

TEST(SlideCasesTest, CaseFiles) {
    for (const zov::test::Case& c : zov::test::LoadCases(QStringLiteral("cgif_import"))) {
        ImportSession session;
        QStringList trace{session.read(c.input) ? QStringLiteral("read") : QStringLiteral("stopped")};
        for (int i = 1; i <= session.slides().Count(); ++i)
            trace << QStringLiteral("slide ") + session.slide(i).Name() << ImportSession::describe(session.slide(i));
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

} // namespace
} // namespace zov::cgif::test
