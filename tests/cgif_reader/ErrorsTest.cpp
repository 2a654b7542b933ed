// Every error the reader raises: its number, its exact text with the " (at " + unread rest of
// the line + ")" suffix, and the text shown when it stops the reading of a file.
#include "ReaderFixture.h"

namespace zov::cgif::test {
namespace {

class ReaderErrors : public ReaderTest {
protected:
    // Reads elements of `text` as a graph's element loop does and returns what it raises.
    std::optional<ParseError> Raised(const QString& text) {
        MemoryTextStream stream(text);
        reader.SetInputStream(&stream);
        reader.SetCurrentLine(QString());
        reader.SetAtEnd(false);
        reader.ClearReaderTables();
        reader.Tables().Contexts.assign(1, ContextRecord{});
        NodeRecord graph;
        reader.AddGraphNode(graph, QString(), QString());
        std::optional<ParseError> raised;
        try {
            while (!reader.AtEnd() && reader.ReadElement(false, true)) {
            }
        } catch (const ParseError& error) {
            raised = error;
        }
        reader.SetInputStream(nullptr);
        return raised;
    }
};

struct ErrorCase {
    const char* text;
    int number;
    const char* message;
};

const ErrorCase kCases[] = {
    {"[Set: {'a' 'b'}]", 1002, "Expected collection terminator  (at 'b'}])"},
    {"[Set: {#a #b}]", 1002, "Expected collection terminator  (at #b}])"},
    {"[Set: {1 2}]", 1003, "Expected collection terminator  (at 2}])"},
    {"[Set: {\"s\" 2}]", 1003, "Expected collection terminator  (at 2}])"},
    {"[Set: {1,\n", 1003, "Expected collection terminator  (at )"},
    {"[Cat: \"abc\n\n", 1004, "String not terminated (at )"},
    {"[Cat: 'abc\n   \n", 1005, "Expected ' terminator (at )"},
    {"[Cat] ;note\n\n", 1012, "No comment string with ; at end (at )"},
    {"[Cat ;c; x]", 1012, "Expected terminating ] for concept (at x])"},
    {"[Cat 'Tom']", 1012, "Cannot find ] terminator for concept (at 'Tom'])"},
    {"[Cat: 'a' : 'b' : 'c']", 1012, "Cannot find ] terminator for concept (at : 'c'])"},
    {"[Cat", 1012, "Cannot find ] terminator for concept (at )"},
    // A tab is not skipped: the type label counts as missing.
    {"[\tCat]", 1012, "Cannot find ] terminator for concept (at \tCat])"},
    // Numbers have no sign, decimal point or exponent.
    {"[Number: 3.14]", 1012, "Cannot find ] terminator for concept (at .14])"},
    {"[Number: -3]", 1012, "Cannot find ] terminator for concept (at -3])"},
    {"(On) [Cat]", 1014, "Relation with no concepts (at [Cat])"},
    {"(On [Cat] [Mat] x)", 1015, "Expected ) at end of relation (at x))"},
    {"[Cat: ?", 1016, "Missing label indentifier (at )"},
    {"[Set: {*x}]", 1017, "Expected } (at x}])"},
    {"[Set: {*}3]", 1018, "Expected @ after {*} (at 3])"},
    {"[Set: {*}@x]", 1019, "Expected a number after @ (at x])"},
    {"[Seq: <*x>]", 1021, "Expected > (at x>])"},
    {"[Seq: <*>3]", 1022, "Expected @ after <*> (at 3])"},
    {"[Seq: <*>@x]", 1023, "Expected number after @ (at x])"},
    {"<Plus [A] [B] [C]>", 1029, "| separator missing (at >)"},
    {"(1x)", 1030, "First character not alpha or _ (at 1x))"},
    {"(\tOn [Cat])", 1030, "First character not alpha or _ (at \tOn [Cat]))"},
    {"<3 | [A]>", 1030, "First character not alpha or _ (at 3 | [A]>)"},
    {"[Cat: ?1]", 1030, "First character not alpha or _ (at 1])"},
    {"[Cat: *1]", 1030, "First character not alpha or _ (at 1])"},
    {"(On [Cat] ?", 1016, "Missing label indentifier (at )"},
    {"[Set: {1, x}]", 1030, "Expected literal or locator (at x}])"},
    {"[Set: {}]", 1030, "Expected literal or locator (at }])"},
    {"[Set: {-1}]", 1030, "Expected literal or locator (at -1}])"},
    {"~[ [Cat] ] [Dog]", 2014, "Missing concept for negation (at [Dog])"},
    {"~ [Cat]", 2014, "Missing concept for negation (at Cat])"},
    {"~[ (On [Cat] [Mat]) x", 2014, "Missing concept for negation (at x)"},
};

// Each error raised by the element loop carries its number and exact text; reading it as a
// file shows that text once, and the graph in error is not drawn (nested graphs drawn before
// the error stay drawn).
TEST_F(ReaderErrors, EachErrorCarriesItsNumberAndItsExactTextAndIsShownOnce) {
    for (const ErrorCase& c : kCases) {
        const std::optional<ParseError> raised = Raised(Q(c.text));
        ASSERT_TRUE(raised.has_value()) << c.text;
        EXPECT_EQ(raised->number(), c.number) << c.text;
        EXPECT_EQ(raised->message(), Q(c.message)) << c.text;
        EXPECT_EQ(QString::fromUtf8(raised->what()), Q(c.message)) << c.text;
        reader.SetGraphCounter(1);
        EXPECT_EQ(ErrorOf(Q(c.text)), Q(c.message)) << c.text;
        for (const BuiltGraph& graph : sink.built)
            EXPECT_NE(graph.GraphName(), Q("G1")) << c.text;
    }
}

TEST_F(ReaderErrors, CoreferenceErrorsCarryTheirTextRaw) {
    ASSERT_TRUE(Read(Q("[Cat *x]")));
    NodeRecord defining;
    NodeRecord graph;
    const auto raised = [](const auto& lookup) {
        try {
            lookup();
        } catch (const ParseError& error) {
            return QString::number(error.number()) + u' ' + error.message();
        }
        return QString();
    };
    EXPECT_EQ(raised([&] { reader.FindCurrentCoreference(Q("y"), 1, defining, graph); }),
              Q("2001 Current coreference not found for: y"));
    EXPECT_EQ(raised([&] { reader.FindExternalCoreference(Q("x"), defining, graph); }),
              Q("2002 Graph not found for: x"));
}

TEST_F(ReaderErrors, RunTimeFailuresReachTheGraphsHandlerWithAClearText) {
    // The last line of the input holds an unclosed string: the search runs past the end.
    const std::optional<ParseError> raised = Raised(Q("[Cat: \"abc"));
    ASSERT_TRUE(raised.has_value());
    EXPECT_EQ(raised->number(), RuntimeFailure::InputPastEnd);
    EXPECT_TRUE(raised->message().contains(Q("end of file"))) << raised->message().toStdString();
    EXPECT_EQ(ErrorOf(Q("[Cat: \"abc")), raised->message());

    const std::optional<ParseError> deep = Raised(QString(Q("~[")).repeated(CgifReader::MaxNestingDepth + 1));
    ASSERT_TRUE(deep.has_value());
    EXPECT_EQ(deep->number(), RuntimeFailure::NestingTooDeep);
}

} // namespace
} // namespace zov::cgif::test
