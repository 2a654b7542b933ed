// The "Standard" command bar and its button controls.
#include "host/CommandBars.h"
#include "host/HostError.h"

#include <gtest/gtest.h>

namespace zov::host {
namespace {

TEST(CommandBars, StandardBarHoldsButtonsFoundByTagAndAClickReachesTheHandler) {
    CommandBars bars;
    CommandBar standard = bars.Item(QStringLiteral("Standard"));
    EXPECT_EQ(standard.ControlCount(), 0);
    EXPECT_TRUE(standard.FindControl(QStringLiteral("ZOV Edit")).IsNothing());

    CommandBarButton button = standard.AddButton();
    button.SetCaption(QStringLiteral("ZOV Edit"));
    button.SetStyle(ButtonCaption);
    button.SetTag(QStringLiteral("ZOV Edit"));
    int clicks = 0;
    button.SetClickHandler([&] { ++clicks; });

    const CommandBarButton found = bars.Item(QStringLiteral("Standard")).FindControl(QStringLiteral("ZOV Edit"));
    ASSERT_FALSE(found.IsNothing());
    EXPECT_EQ(found.Caption(), QStringLiteral("ZOV Edit"));
    EXPECT_FALSE(bars.FindControl(QStringLiteral("ZOV Edit")).IsNothing());
    EXPECT_TRUE(bars.FindControl(QStringLiteral("zov edit")).IsNothing()); // tags compare exactly

    found.Execute();
    found.Execute();
    EXPECT_EQ(clicks, 2);
    EXPECT_THROW(button.SetStyle(7), HostError);
    EXPECT_THROW(standard.AddButton(10), HostError); // only button controls can be added
}

TEST(CommandBars, DeletedButtonsAreGoneAndTheirHandlesRaise) {
    CommandBars bars;
    CommandBar standard = bars.Item(QStringLiteral("Standard"));
    int changes = 0;
    standard.shared()->changed = [&] { ++changes; };
    CommandBarButton first = standard.AddButton();
    first.SetTag(QStringLiteral("one"));
    CommandBarButton second = standard.AddButton();
    second.SetTag(QStringLiteral("two"));
    EXPECT_EQ(standard.ControlCount(), 2);
    EXPECT_GT(changes, 0); // a toolbar showing the bar hears of additions

    first.Delete();
    EXPECT_EQ(standard.ControlCount(), 1);
    EXPECT_EQ(standard.Control(1).Tag(), QStringLiteral("two"));
    EXPECT_TRUE(standard.FindControl(QStringLiteral("one")).IsNothing());
    EXPECT_THROW(first.Caption(), HostError);
    EXPECT_THROW(first.Execute(), HostError);
    EXPECT_THROW(first.Delete(), HostError);

    // A handler may delete its own button.
    second.SetClickHandler([&] { standard.FindControl(QStringLiteral("two")).Delete(); });
    second.Execute();
    EXPECT_EQ(standard.ControlCount(), 0);
}

} // namespace
} // namespace zov::host
