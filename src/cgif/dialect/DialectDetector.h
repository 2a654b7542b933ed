#pragma once
// Decides which dialect a CGIF file is written in, in one pass over its characters. A file is
// read as ISO CGIF when it holds something the 2001 dialect never accepts where it stands and
// the ISO dialect (or a tool writing it) does; every other file is read as before.
// The signs, outside quoted text and outside the 2001 dialect's ";...;" comments:
//   - a "/*" comment;
//   - a bare name, or a signed number, after the ":" of a concept ("[Person: John]",
//     "[Integer: -7]"), where the 2001 dialect needs a quoted name or a plain number, and a
//     name after the type of a concept ("[Person: *x Tom]"), or an apostrophe within its type
//     ("[Researcher's_Time]");
//   - after the type of a relation "(...)", an argument that is neither a concept nor a bound
//     label ("(Agnt ?x John)"), or the "|" of an ISO actor ("(Sqr ?a | ?b)");
//   - a tab or another control character inside a concept or relation (the 2001 scanner takes
//     only spaces between tokens there);
//   - a node comment that ends at "]" with a layout position "& X Y" (written by Amine).
// Characters are fed as code units (bytes of UTF-8 or Windows-1252, or UTF-16): only ASCII
// characters matter.
#include "cgif/dialect/Dialect.h"

#include <cstddef>
#include <string>
#include <vector>

namespace zov::cgif::dialect {

class DialectDetector {
public:
    void Feed(const char* bytes, std::size_t size);
    void Feed(const char16_t* text, std::size_t size);
    // A line break between two fed pieces (the line texts of a stream carry none).
    void EndLine() { Step(u'\n'); }
    // True once a sign of the ISO dialect was seen (feeding more changes nothing then).
    bool FoundIso() const { return iso_; }
    Dialect Verdict() const { return iso_ ? Dialect::Iso : Dialect::Draft2001; }

private:
    enum class Quote { None, Double, Single, Comment };
    enum class After { Nothing, ConceptType, ConceptBody, ConceptColon, RelationOpen, RelationType, RelationArgs };
    void Step(unsigned c);
    void StepOutsideQuotes(unsigned c);
    void CommentCharacter(unsigned c);

    bool iso_ = false;
    Quote quote_ = Quote::None;
    After after_ = After::Nothing;
    unsigned previous_ = 0;          // the last character outside quotes, blanks included
    std::vector<char> open_;         // the brackets open outside quotes: '[', '(', '<', '{'
    char commentOpener_ = 0;         // the bracket a ";" comment started in (0 at the top)
    std::string commentTail_;        // the last characters of a ";" comment
};

// The verdict for a whole file held in memory.
Dialect DetectDialect(const char* bytes, std::size_t size);

} // namespace zov::cgif::dialect
