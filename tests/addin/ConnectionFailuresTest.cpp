// A connection whose button cannot be added stays silent: no message, nothing escapes, and the
// add-in is still connected.
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

} // namespace
} // namespace zov::addin::testing
