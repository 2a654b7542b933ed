// The desktop's forms of the common dialog's filters.
#include "platform/CommonDialog.h"
#include "ui/QtPlatform.h"

#include <gtest/gtest.h>

namespace zov::ui::testing {
namespace {

TEST(FileFilters, SplitIntoDescriptionAndPatternPairs) {
    const auto entries = platform::ParseFilter(QStringLiteral("CGIF files (*.cgf)|*.cgf|All Files (*.*)|*.*|"));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].description, QStringLiteral("CGIF files (*.cgf)"));
    EXPECT_EQ(entries[0].pattern, QStringLiteral("*.cgf"));
    EXPECT_EQ(entries[1].description, QStringLiteral("All Files (*.*)"));
    EXPECT_EQ(entries[1].pattern, QStringLiteral("*.*"));
    // Without the closing "|", and with a description left without its pattern.
    const auto single = platform::ParseFilter(QStringLiteral("CGIF Files (*.cgf)|*.cgf"));
    ASSERT_EQ(single.size(), 1u);
    EXPECT_EQ(single[0].pattern, QStringLiteral("*.cgf"));
    const auto dangling = platform::ParseFilter(QStringLiteral("Text|*.txt|Other"));
    ASSERT_EQ(dangling.size(), 2u);
    EXPECT_TRUE(dangling[1].pattern.isEmpty());
    EXPECT_TRUE(platform::ParseFilter(QString()).empty());
}

TEST(FileFilters, BecomeQtNameFiltersWhereAllFilesMeansEveryFile) {
    EXPECT_EQ(QtNameFilters(QStringLiteral("CGIF files (*.cgf)|*.cgf|All Files (*.*)|*.*|")),
              (QStringList{QStringLiteral("CGIF files (*.cgf)"), QStringLiteral("All Files (*)")}));
    EXPECT_EQ(QtNameFilters(QStringLiteral("Pictures|*.png;*.jpg|")), QStringList{QStringLiteral("Pictures (*.png *.jpg)")});
    EXPECT_EQ(QtNameFilters(QStringLiteral("Anything|")), QStringList{QStringLiteral("Anything (*)")});
}

} // namespace
} // namespace zov::ui::testing
