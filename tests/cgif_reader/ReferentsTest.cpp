// Referents and labels read through the reader's own calls; what whole texts read to is in
// tests/cases/cgif_reader/referents.case.
#include "ReaderFixture.h"

namespace zov::cgif::test {
namespace {

using Referents = ReaderTest;

TEST_F(Referents, ADefiningLabelWithoutItsConceptMakesANodeOfItsOwn) {
    ASSERT_TRUE(ParseConcept(Q("[Cat]")));
    const QString catId = reader.CurrentConceptId();
    reader.ClearReaderTables();
    reader.SetCurrentLine(Q("*x"));
    EXPECT_TRUE(reader.ReadDefiningLabel(false));
    ASSERT_EQ(Nodes().size(), 1u);
    EXPECT_EQ(Nodes()[0].Name, Q("x"));
    EXPECT_EQ(Nodes()[0].Type, catId);
    EXPECT_EQ(Nodes()[0].Id, QString());
    // Absent label: the optional flag comes back.
    reader.SetCurrentLine(Q("x"));
    EXPECT_TRUE(reader.ReadDefiningLabel(true));
    EXPECT_FALSE(reader.ReadDefiningLabel(false));
}

TEST_F(Referents, AQuantifierShowsItsOwnRunTimeFailureAndIsSkipped) {
    reader.ClearReaderTables();
    reader.SetInputStream(nullptr);
    reader.SetCurrentLine(Q("@every]"));
    EXPECT_FALSE(reader.ReadQuantifier(false));
    EXPECT_EQ(Errors(), QStringList{Q("Subscript out of range")});
    EXPECT_EQ(reader.CurrentLine(), Q("]"));
}

} // namespace
} // namespace zov::cgif::test
