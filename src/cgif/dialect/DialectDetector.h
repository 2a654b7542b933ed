#pragma once
// Decides which dialect a CGIF file is written in, in one pass over its characters. A file is
// read as ISO CGIF when it holds something the 2001 dialect never accepts where it stands and
// the ISO dialect (or a tool writing it) does; every other file is read as before.
// The signs, outside quoted text and outside the 2001 dialect's ";...;" comments:
//   - a "/*" comment;
//   - a bare name after the ":" of a concept ("[Person: John]"), where the 2001 dialect needs
//     a quoted name, a name after the type of a concept ("[Person: *x Tom]"), or an apostrophe
//     within its type ("[Researcher's_Time]");
//   - a "@", a quote, a "#" or a "{" right after a concept's "[" or its type, where the 2001
//     dialect wants ":", a label, a comment or "]" ("[@every *x]", "["Black Cat": *x]"), and a
//     quoted relation type ("("Located On" ?x ?y)");
//   - a "-" or "+" anywhere in a concept or relation ("[Trailer-Truck]", "[Integer: -7]"):
//     2001 names and numbers have neither;
//   - an empty negation "~[ ]";
//   - after the type of a relation "(...)", an argument that is neither a concept nor a bound
//     label ("(Agnt ?x John)"), or the "|" of an ISO actor ("(Sqr ?a | ?b)");
//   - a tab or another control character inside a concept or relation (the 2001 scanner takes
//     only spaces between tokens there);
//   - a character beyond ASCII in the type of a concept or relation, or in a label after "*"
//     or "?" ("[Кот: *x]"), where the 2001 dialect takes only ASCII letters, digits and "_";
//   - a node comment that ends at "]" with a layout position "& X Y" (written by Amine);
//   - a collection "{" right after a quantifier in a concept ("[TypeLabel: @Col{"A", "B"}]",
//     written by CGTools), where the 2001 dialect reads a nested graph;
//   - a ";" comment opened in a concept or relation that never closes: an ISO end comment
//     ("[Cat: *x ; the cat]"), where the 2001 reader looks for the ";" to the end of the file.
// (An actor's 2001 comment runs to its ">", not to a ";".)
// Characters are fed as code units (bytes of UTF-8 or Windows-1252, or UTF-16): only ASCII
// characters matter. Quoted text and comments are skipped in one search for their end, and a
// run of name characters or of blanks costs one step for its first character only.
#include "cgif/dialect/Dialect.h"

#include <array>
#include <cstddef>

namespace zov::cgif::dialect {

class DialectDetector {
public:
    // Pieces of text as they come, every code unit a character of its own (a CR LF is two).
    void Feed(const char* bytes, std::size_t size);
    void Feed(const char16_t* text, std::size_t size);
    // The text of a whole stream, taken as its lines are read: each line end (CR LF, LF or a
    // lone CR) counts as one line break, and a last line without an end gets one, exactly as
    // feeding every line followed by EndLine.
    void FeedLines(const char16_t* text, std::size_t size);
    void FeedLines(const char* bytes, std::size_t size);
    // A line break between two fed pieces (the line texts of a stream carry none).
    void EndLine();
    // True once a sign of the ISO dialect was seen (feeding more changes nothing then).
    bool FoundIso() const { return iso_; }
    // A comment opened inside a concept or relation that never closes is an ISO end comment
    // ("[Cat: *x ; the cat]"): the 2001 reader stops at the end of the input looking for its ";".
    Dialect Verdict() const {
        const bool endComment = quote_ == Quote::Comment && (commentOpener_ == '[' || commentOpener_ == '(');
        return iso_ || endComment ? Dialect::Iso : Dialect::Draft2001;
    }

private:
    enum class Quote { None, Double, Single, Comment };
    // ConceptTyped: after a concept's type and a blank, before its first segment; NegationOpen:
    // right after the "[" of "~[".
    enum class After { Nothing, ConceptOpen, ConceptType, ConceptTyped, ConceptBody, ConceptColon, RelationOpen, RelationType, RelationArgs, NegationOpen };
    static constexpr std::size_t MaxOpen = 4096;   // deeper brackets are not followed
    static constexpr std::size_t TailLength = 96;  // the comment characters kept, at most
    // The longest layout note ("& X Y" and its blanks) that counts: the tail always holds at
    // least this many of a comment's last characters.
    static constexpr std::size_t LayoutNoteLength = TailLength / 2;

    template <typename Unit> void Run(const Unit* p, const Unit* end, bool joinLineEnds);
    template <typename Unit> const Unit* OutsideQuotes(const Unit* p, const Unit* end);
    template <typename Unit> const Unit* InComment(const Unit* p, const Unit* end, bool joinLineEnds);
    template <typename Unit> void KeepCommentRun(const Unit* begin, const Unit* end, bool joinLineEnds);
    bool TailEndsInLayoutPosition() const;

    bool iso_ = false;
    Quote quote_ = Quote::None;
    After after_ = After::Nothing;
    unsigned previous_ = 0;          // the last character outside quotes, blanks included
    unsigned lastMark_ = 0;          // the last one that is no blank: after "#", "@", "*" or "?"
                                     // the 2001 scanner skips blanks before the name they take
    bool quantifier_ = false;        // the last characters that are no blank are "@" and a name
    char top_ = 0;                   // the innermost bracket open outside quotes (0 at the top)
    std::size_t depth_ = 0;          // how many of them are followed in open_
    std::array<char, MaxOpen> open_{}; // the brackets open outside quotes: '[', '(', '<', '{'
    char commentOpener_ = 0;         // the bracket a ";" comment started in (0 at the top)
    // The last characters of a ";" comment: once more than TailLength were kept, the oldest
    // half is dropped, so the tail holds between half and all of TailLength.
    std::array<char, TailLength> tail_{};
    std::size_t tailSize_ = 0;
};

// The verdict for a whole file held in memory.
Dialect DetectDialect(const char* bytes, std::size_t size);

} // namespace zov::cgif::dialect
