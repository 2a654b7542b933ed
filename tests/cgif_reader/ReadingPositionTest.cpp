// The position a reading tells, for progress bars and status lines: it only grows, a file of
// many lines moves it line by line, and one long line moves it as the line is read, not only
// once when the line is taken.
#include "ReaderFixture.h"
#include "cgif/iso/DialectReading.h"

namespace zov::cgif::test {
namespace {

std::vector<qint64> PositionsWhileReading(const QString& text, dialect::DialectChoice dialect) {
    Reading run;
    std::vector<qint64> told;
    MemoryTextStream stream(text);
    EXPECT_TRUE(iso::ReadCgifInDialect(run.reader, stream, dialect, [&](qint64 at) { told.push_back(at); }));
    EXPECT_TRUE(run.messages.shown().empty() ||
                run.messages.shown().back().text == QStringLiteral("File read"));
    return told;
}

TEST(ReadingPosition, GrowsThroughOneLongLineAsItIsRead) {
    QString line;
    for (int i = 0; i < 20 * static_cast<int>(CgifReader::ProgressEvery); ++i)
        line += QStringLiteral("[Cat *c%1] (On ?c%1 [Mat]) ").arg(i);
    for (const auto dialect : {dialect::DialectChoice::Draft2001, dialect::DialectChoice::Auto}) {
        const std::vector<qint64> told = PositionsWhileReading(line, dialect);
        ASSERT_FALSE(told.empty());
        EXPECT_TRUE(std::is_sorted(told.begin(), told.end()) &&
                    std::adjacent_find(told.begin(), told.end()) == told.end())
            << "each position is told once, and only ever grows";
        const auto within = std::count_if(told.begin(), told.end(), [&](qint64 at) { return at > 0 && at < line.size(); });
        EXPECT_GE(within, 10) << "the long line moves the position while it is read";
    }
}

TEST(ReadingPosition, MovesLineByLineThroughAFileOfManyLines) {
    const QString text = QStringLiteral("[A]\n.\n[B]\n.\n[C]\n");
    const std::vector<qint64> told = PositionsWhileReading(text, dialect::DialectChoice::Draft2001);
    // Where each line begins, line ends counted as one character.
    EXPECT_EQ(told, (std::vector<qint64>{0, 4, 6, 10, 12}));
}

} // namespace
} // namespace zov::cgif::test
