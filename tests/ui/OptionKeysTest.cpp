// Choosing a command option from the keyboard hands the focus to the text box, as a click does.
#include "UiFixture.h"

#include <QButtonGroup>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

namespace zov::ui::testing {
namespace {

using OptionKeys = UiTest;

TEST_F(OptionKeys, SpaceOnAnOptionChoosesItAndFocusesTheTextBox) {
    start();
    addGraph();
    ZOVMain& p = palette();
    p.TextBox1->setText(QStringLiteral("typed"));
    p.NewRelationButton->setFocus();
    QTest::keyClick(p.NewRelationButton, Qt::Key_Space);
    EXPECT_EQ(editor().CommandMode(), 2);
    EXPECT_TRUE(p.TextBox1->text().isEmpty());
    EXPECT_EQ(p.focusWidget(), p.TextBox1);
}

} // namespace
} // namespace zov::ui::testing
