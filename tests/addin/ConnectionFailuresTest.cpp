// The connection's failures and empty calls: a button that cannot be added is passed over
// silently (no message, nothing escapes, the add-in still connected); calls out of turn change
// nothing, and an add-in dropped without disconnection leaves no handler on its button.
#include "AddinFixture.h"
#include "host/HostError.h"

namespace zov::addin::testing {
namespace {

using ConnectionFailures = AddinTest;

TEST_F(ConnectionFailures, AButtonTheStandardBarRefusesIsPassedOverSilently) {
    // The bar fails every change made to it, as a locked toolbar does.
    app.CommandBars().Item(StandardBar).shared()->changed = [] { throw host::HostError("The toolbar is locked"); };
    auto addin = makeConnect();
    QVariantList custom;
    EXPECT_NO_THROW(addin->OnConnection(app, 0, AddInInstance{QStringLiteral("ZOVEdit.Connect"), QString()}, custom));
    EXPECT_NE(addin->CurrentSession(), nullptr);
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_NO_THROW(addin->OnDisconnection(RemoveUserClosed, custom));
}

TEST_F(ConnectionFailures, EmptyHandlersChangeNothingAndADestroyedAddinLeavesNoHandlerOnItsButton) {
    {
        auto addin = makeConnect();
        QVariantList custom;
        addin->OnDisconnection(RemoveUserClosed, custom); // what never connected: harmless
        addin->OnConnection(app, ConnectStartup, AddInInstance{QStringLiteral("ZOVEdit.Connect"), QString()}, custom);
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
