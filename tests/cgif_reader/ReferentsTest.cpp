// Referents: the text recorded for each form after the ":" of a concept, and where it goes.
#include "ReaderFixture.h"

namespace zov::cgif::test {
namespace {

class Referents : public ReaderTest {
protected:
    // Reads one graph that must read whole; returns its nodes after the graph node.
    std::vector<NodeRecord> ReadNodes(const QString& text) {
        ReadWhole(text);
        return std::vector<NodeRecord>(Nodes().begin() + 1, Nodes().end());
    }
    QString ReferentOf(const QString& text) {
        const auto nodes = ReadNodes(text);
        return nodes.empty() ? Q("<no node>") : nodes.front().Referent;
    }
};

TEST_F(Referents, EachFormIsRecordedWithItsPunctuation) {
    const std::pair<const char*, const char*> cases[] = {
        {"[Cat: ]", ""},
        {"[Cat:]", ""},
        {"[Number: 42]", "42"},
        {"[Cat: 'Tom']", "'Tom'"},
        {"[Cat: 'Tom Jones']", "'Tom Jones'"},
        {"[Text: \"a 'quoted' text\"]", "\"a 'quoted' text\""},
        {"[Cat: @every]", "@every"},
        {"[Cat: @5]", "@5"},
        {"[Cat: @]", "@"},
        {"[Cat: #this]", "#this"},
        {"[Cat: #12]", "#12"},
        {"[Cat: #]", "#"},
        {"[Set: {*}@3]", "{*}@3"},
        {"[Seq: <*>@12]", "<*>@12"},
        {"[Seq: <#1, #2>]", "<#1,#2>"},
        // Numbers, names and strings mixed; blanks after the commas are dropped.
        {"[Set: {1, 'Tom', \"s t\", #x}]", "{1,'Tom',\"s t\",#x}"},
        {"[Set: {7}]", "{7}"},
    };
    for (const auto& [text, referent] : cases) {
        EXPECT_EQ(ReferentOf(Q(text)), Q(referent)) << text;
        EXPECT_EQ(Nodes().at(1).Kind, NodeKind::Concept) << text;
    }
}

TEST_F(Referents, TheNestedGraphStepAppendsAnEmptyGraphNodeAfterEveryReferent) {
    const auto nodes = ReadNodes(Q("[Cat: 'Tom'] [Dog]"));
    EXPECT_EQ(Graphs(), QStringList{"G1:Graph Cat/c Graph*G2/g Dog/c |"});
    EXPECT_EQ(nodes.at(1).GraphNumber, 2);
    // A concept without ":" has no referent step and no such node.
    EXPECT_EQ(ReadNodes(Q("[Cat *x]")).size(), 1u);
    // A second segment writes into the graph node of the first, and makes its own.
    const auto two = ReadNodes(Q("[Cat: 'Tom' : 'Jerry']"));
    EXPECT_EQ(Graphs(), QStringList{"G4:Graph Cat/c Graph*G5/g Graph*G6/g |"});
    EXPECT_EQ(two.at(0).Referent, Q("'Tom'"));
    EXPECT_EQ(two.at(1).Referent, Q("'Jerry'"));
}

TEST_F(Referents, DefiningLabelsNameTheConceptWhereverTheyStand) {
    const std::pair<const char*, const char*> cases[] = {
        {"[Cat: *x]", ""}, {"[Cat *x]", ""}, {"[Cat: 'Tom' *x]", "'Tom'"}, {"[Cat: *x 'Tom']", "'Tom'"}, {"[Cat*x:'Tom']", "'Tom'"}};
    for (const auto& [text, referent] : cases) {
        const auto nodes = ReadNodes(Q(text));
        ASSERT_FALSE(nodes.empty());
        EXPECT_EQ(nodes[0].Name, Q("x")) << text;
        EXPECT_EQ(nodes[0].Referent, Q(referent)) << text;
        EXPECT_EQ(nodes[0].Kind, NodeKind::Concept) << text;
    }
    EXPECT_EQ(ReadNodes(Q("[Cat: 'Tom']"))[0].Name, QString());
}

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

TEST_F(Referents, LineBreaksInsideStringsAndNamesBecomeCrLfAndTokensMayBeSplitAcrossLines) {
    EXPECT_EQ(ReferentOf(Q("[Note: \"one\n    two\r\n  three\"]")), Q("\"one\r\ntwo\r\nthree\""));
    EXPECT_EQ(ReferentOf(Q("[Cat: 'Tom\r   Jones']")), Q("'Tom\r\nJones'"));
    // Terminators inside: a name may hold a double quote, a string a "'".
    EXPECT_EQ(ReferentOf(Q("[Cat: 'say \"hi\"']")), Q("'say \"hi\"'"));
    const auto nodes = ReadNodes(Q("[Cat\n:\n  'Tom'\n *x\n]"));
    ASSERT_FALSE(nodes.empty());
    EXPECT_EQ(nodes[0].Referent, Q("'Tom'"));
    EXPECT_EQ(nodes[0].Name, Q("x"));
    EXPECT_EQ(ReferentOf(Q("[Set: {1,\n 2,\n 3}]")), Q("{1,2,3}"));
    EXPECT_EQ(ReferentOf(Q("[Cat: #\nfoo]")), Q("#foo"));
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
