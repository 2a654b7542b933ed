// The scanner operations on the current line and the input lines behind it.
#include "ReaderFixture.h"

namespace zov::cgif::test {
namespace {

class Scanner : public ReaderTest {
protected:
    // Puts `first` in the current line and the lines of `rest` behind it.
    void Feed(const QString& first, const QString& rest) {
        stream_ = std::make_unique<MemoryTextStream>(rest);
        reader.SetInputStream(stream_.get());
        reader.SetCurrentLine(first);
        reader.SetAtEnd(false);
    }
    std::unique_ptr<MemoryTextStream> stream_;
};

TEST_F(Scanner, MatchCharSkipsBlanksOnlyAndFetchesTheNextNonEmptyLine) {
    Feed(Q("[   Cat ] "), Q(""));
    EXPECT_TRUE(reader.MatchChar(u'[', false));
    EXPECT_EQ(reader.CurrentLine(), Q("Cat ] "));
    // Absent: the default comes back and nothing is consumed; the comparison is exact.
    EXPECT_TRUE(reader.MatchChar(u']', true));
    EXPECT_FALSE(reader.MatchChar(u']', false));
    EXPECT_FALSE(reader.MatchChar(u'c', false));
    EXPECT_EQ(reader.CurrentLine(), Q("Cat ] "));
    // Tabs are never skipped.
    reader.SetCurrentLine(Q("[\tCat"));
    EXPECT_TRUE(reader.MatchChar(u'[', false));
    EXPECT_EQ(reader.CurrentLine(), Q("\tCat"));

    Feed(Q(""), Q("\n   \n    ]x\n"));
    EXPECT_TRUE(reader.MatchChar(u']', false));
    EXPECT_EQ(reader.CurrentLine(), Q("x"));
    EXPECT_FALSE(reader.AtEnd());
}

TEST_F(Scanner, EndOfInputGivesFalseNotTheDefaultAndSetsAtEndOnlyWhenFoundExhausted) {
    // Two empty lines: the first call reads them both and gives up without setting AtEnd.
    Feed(Q(""), Q("\n\n"));
    EXPECT_FALSE(reader.MatchChar(u'x', true));
    EXPECT_FALSE(reader.AtEnd());
    EXPECT_EQ(stream_->LinesRead(), 2);
    EXPECT_FALSE(reader.MatchChar(u'x', true));
    EXPECT_TRUE(reader.AtEnd());
    // Without any input stream nothing is fetched and AtEnd stays as it was.
    reader.SetInputStream(nullptr);
    reader.SetAtEnd(false);
    reader.SetCurrentLine(QString());
    EXPECT_FALSE(reader.MatchChar(u'x', true));
    EXPECT_FALSE(reader.AtEnd());
    // A failing stream ends the fetch.
    MemoryTextStream broken(Q(""), true);
    reader.SetInputStream(&broken);
    EXPECT_FALSE(reader.MatchChar(u'[', true));
    EXPECT_TRUE(reader.ReadIdentifier(true));
    EXPECT_EQ(reader.Token(), QString());
    EXPECT_FALSE(reader.ReadIdentifier(false));
}

TEST_F(Scanner, IdentifiersStartWithALetterOrUnderscore) {
    Feed(Q("Cat_1x+y"), Q("  :x"));
    EXPECT_TRUE(reader.ReadIdentifier(false));
    EXPECT_EQ(reader.Token(), Q("Cat_1x"));
    EXPECT_EQ(reader.CurrentLine(), Q("+y"));
    reader.SetCurrentLine(Q("_a  b"));
    EXPECT_TRUE(reader.ReadIdentifier(false));
    EXPECT_EQ(reader.Token(), Q("_a"));
    EXPECT_EQ(reader.CurrentLine(), Q("b"));
    // An identifier that ends the line leaves it empty; the next operation fetches.
    reader.SetCurrentLine(Q("Cat"));
    EXPECT_TRUE(reader.ReadIdentifier(false));
    EXPECT_EQ(reader.CurrentLine(), QString());
    EXPECT_TRUE(reader.MatchChar(u':', false));
    EXPECT_EQ(reader.CurrentLine(), Q("x"));
    // Optional: a wrong first character gives true with an empty token and consumes nothing.
    reader.SetCurrentLine(Q("1x"));
    EXPECT_TRUE(reader.ReadIdentifier(true));
    EXPECT_EQ(reader.Token(), QString());
    EXPECT_EQ(reader.CurrentLine(), Q("1x"));
    // Accented letters do not start one.
    reader.SetCurrentLine(Q("\xC3\x89t\xC3\xA9"));
    try {
        reader.ReadIdentifier(false);
        ADD_FAILURE() << "no error";
    } catch (const ParseError& error) {
        EXPECT_EQ(error.number(), 1030);
        EXPECT_EQ(error.message(), Q("First character not alpha or _ (at \xC3\x89t\xC3\xA9)"));
    }
}

TEST_F(Scanner, NumbersAreRunsOfDigitsReadFromTheCurrentLineOnly) {
    Feed(Q("42abc"), Q("7"));
    EXPECT_TRUE(reader.ReadNumber(false));
    EXPECT_EQ(reader.Token(), Q("42"));
    EXPECT_EQ(reader.CurrentLine(), Q("abc"));
    EXPECT_FALSE(reader.ReadNumber(false));
    EXPECT_TRUE(reader.ReadNumber(true));
    EXPECT_EQ(reader.CurrentLine(), Q("abc"));
    reader.SetCurrentLine(Q("12   x"));
    EXPECT_TRUE(reader.ReadNumber(false));
    EXPECT_EQ(reader.CurrentLine(), Q("x"));
    // An empty line succeeds with an empty token and fetches nothing.
    reader.SetCurrentLine(QString());
    EXPECT_TRUE(reader.ReadNumber(false));
    EXPECT_EQ(reader.Token(), QString());
    EXPECT_EQ(stream_->LinesRead(), 0);
}

TEST_F(Scanner, ReadUntilJoinsLinesWithCrLfAndFailsOrRaisesAtTheEnd) {
    Feed(Q("one"), Q("   two\n  three\"  rest"));
    reader.SetToken(Q("stale")); // replaced, not added to
    EXPECT_TRUE(reader.ReadUntil(u'"'));
    EXPECT_EQ(reader.Token(), Q("one\r\ntwo\r\nthree"));
    EXPECT_EQ(reader.CurrentLine(), Q("\"  rest")); // the terminator stays for the caller
    // Blank lines in between contribute an empty piece each.
    Feed(Q("a"), Q("\n  \nb;"));
    EXPECT_TRUE(reader.ReadUntil(u';'));
    EXPECT_EQ(reader.Token(), Q("a\r\n\r\n\r\nb"));
    // The input ends on an empty line: false. It ends on a line that is not empty: the search
    // needs a line the input does not have, as it does without any input stream.
    Feed(Q("abc"), Q("def\n   "));
    EXPECT_FALSE(reader.ReadUntil(u'\''));
    EXPECT_TRUE(reader.AtEnd());
    Feed(Q("abc"), Q("def"));
    EXPECT_THROW(reader.ReadUntil(u'\''), ParseError);
    reader.SetInputStream(nullptr);
    reader.SetCurrentLine(Q("abc"));
    try {
        reader.ReadUntil(u';');
        ADD_FAILURE() << "no failure";
    } catch (const ParseError& failure) {
        EXPECT_EQ(failure.number(), RuntimeFailure::InputPastEnd);
        EXPECT_FALSE(failure.message().isEmpty());
    }
}

} // namespace
} // namespace zov::cgif::test
