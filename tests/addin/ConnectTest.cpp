// The connection class: the "ZOV Edit" button it puts on the "Standard" bar, finds again by its
// tag and removes only when the user removes the add-in, and the press that starts the editor.
#include "AddinFixture.h"

namespace zov::addin::testing {
namespace {

using ConnectTest = AddinTest;

void connect(Connect& addin, host::Application& app) {
    QVariantList custom;
    addin.OnConnection(app, ConnectStartup, AddInInstance{QStringLiteral("ZOVEdit.Connect"), QString()}, custom);
}

void disconnect(Connect& addin, int removeMode) {
    QVariantList custom;
    addin.OnDisconnection(removeMode, custom);
}

TEST_F(ConnectTest, ShutdownKeepsTheButtonAndTheNextConnectionFindsItByItsTag) {
    auto first = makeConnect();
    connect(*first, app);
    disconnect(*first, RemoveHostShutdown);
    EXPECT_EQ(first->CurrentSession(), nullptr);
    ASSERT_EQ(zovButtons(app).size(), 1u);
    // A press between the two connections reaches nobody and harms nothing.
    zovButtons(app).front().Execute();
    EXPECT_EQ(windowLog.made, 0);

    auto second = makeConnect();
    connect(*second, app);
    ASSERT_EQ(zovButtons(app).size(), 1u);
    zovButtons(app).front().Execute();
    EXPECT_EQ(windowLog.made, 1) << "the found button now starts the editor of the new connection";
}

TEST_F(ConnectTest, RemovalByTheUserDeletesTheButton) {
    auto addin = makeConnect();
    connect(*addin, app);
    // Another control on the bar is left alone.
    host::CommandBarButton other = app.CommandBars().Item(QStringLiteral("Standard")).AddButton();
    other.SetCaption(QStringLiteral("Save"));
    disconnect(*addin, RemoveUserClosed);
    EXPECT_TRUE(zovButtons(app).empty());
    ASSERT_EQ(app.CommandBars().Item(QStringLiteral("Standard")).ControlCount(), 1);
    EXPECT_EQ(app.CommandBars().Item(QStringLiteral("Standard")).Control(1).Caption(), QStringLiteral("Save"));
}

TEST_F(ConnectTest, PressingTheButtonStartsTheEditorEachTime) {
    auto addin = makeConnect();
    connect(*addin, app);
    host::CommandBarButton button = zovButtons(app).front();
    button.Execute();
    button.Execute();
    EXPECT_EQ(windowLog.made, 1) << "the windows are made once per session";
    EXPECT_EQ(windowLog.calls.size(), 8u) << "two whole starts (their order is checked in the start tests)";

    // The session's windows go with the connection.
    disconnect(*addin, RemoveHostShutdown);
    EXPECT_EQ(windowLog.destroyed, 1);
}

TEST_F(ConnectTest, EmptyHandlersChangeNothingAndADestroyedAddinLeavesNoHandlerOnItsButton) {
    {
        auto addin = makeConnect();
        QVariantList custom;
        addin->OnDisconnection(RemoveUserClosed, custom); // what never connected: harmless
        connect(*addin, app);
        addin->OnAddInsUpdate(custom);
        addin->OnStartupComplete(custom);
        addin->OnBeginShutdown(custom);
        EXPECT_EQ(zovButtons(app).size(), 1u);
    } // dropped without disconnection
    ASSERT_EQ(zovButtons(app).size(), 1u);
    zovButtons(app).front().Execute(); // must not reach the destroyed object
    EXPECT_EQ(windowLog.made, 0);
    EXPECT_TRUE(messages.shown().empty());
}

} // namespace
} // namespace zov::addin::testing
