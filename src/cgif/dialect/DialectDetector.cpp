#include "cgif/dialect/DialectDetector.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

namespace zov::cgif::dialect {

namespace {

// What each ASCII character is to the detector, looked up once per character.
enum : unsigned char { Letter = 1, NameCharacter = 2 };

constexpr std::array<unsigned char, 128> kClasses = [] {
    std::array<unsigned char, 128> classes{};
    for (unsigned c = 0; c < 128; ++c) {
        const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
        const bool digit = c >= '0' && c <= '9';
        classes[c] = static_cast<unsigned char>((letter ? Letter : 0) | (letter || digit ? NameCharacter : 0));
    }
    return classes;
}();

// Every character beyond ASCII counts as a letter.
bool Is(unsigned c, unsigned char what) { return c >= 0x80 || (kClasses[c] & what) != 0; }
bool IsLetter(unsigned c) { return Is(c, Letter); }
bool IsDigit(unsigned c) { return c >= '0' && c <= '9'; }
bool IsNameCharacter(unsigned c) { return Is(c, NameCharacter); }
bool IsBlank(unsigned c) { return c == ' ' || c == '\n' || c == '\r'; }

unsigned Code(char unit) { return static_cast<unsigned char>(unit); }
unsigned Code(char16_t unit) { return unit; }

const char* Find(const char* p, const char* end, char wanted) {
    const void* found = std::memchr(p, wanted, static_cast<std::size_t>(end - p));
    return found ? static_cast<const char*>(found) : end;
}
const char16_t* Find(const char16_t* p, const char16_t* end, char16_t wanted) { return std::find(p, end, wanted); }

// The first ";" or "]": where a comment inside a concept ends, or may end.
template <typename Unit>
const Unit* FindCommentEnd(const Unit* p, const Unit* end) {
    while (p < end && *p != static_cast<Unit>(';') && *p != static_cast<Unit>(']'))
        ++p;
    return p;
}

// What may start an argument of a relation in the ISO dialect but never in the 2001 dialect
// (whose arguments are concepts and bound labels only).
bool StartsIsoArgument(unsigned c) {
    return IsLetter(c) || IsDigit(c) || c == '"' || c == '\'' || c == '*' || c == '{' || c == '#' || c == '@' ||
           c == '.';
}

// What ISO CGIF writes right after a concept's "[" or its type, where the 2001 dialect wants a
// segment (":" referent, "*" or "?" label), a comment or the end: a quantifier ("[@every *x]"),
// a quoted type or name ("["Black Cat": *x]", "[Cat 'Yojo']"), a marker, a collection. (A slip
// such as a digit there is left to the 2001 reader, whose message names it.)
bool StartsIsoSegment(unsigned c) { return c == '@' || c == '"' || c == '\'' || c == '#' || c == '{'; }

// True when a character after `previous` starts a token of its own: after a blank, a closed
// element or a quoted text, unless "#", "@", "*" or "?" came last (the 2001 scanner skips blanks
// between them and the name they take).
bool StartsToken(unsigned previous, unsigned lastMark) {
    return (previous == ' ' || previous == ']' || previous == ')' || previous == '\'' || previous == '"') &&
           lastMark != '#' && lastMark != '@' && lastMark != '*' && lastMark != '?';
}

// True when `tail` ends in "&", a number, blanks and a number (blanks allowed around them).
bool EndsInLayoutPosition(std::string_view tail) {
    std::size_t i = tail.size();
    auto skipBlanks = [&] {
        while (i > 0 && (tail[i - 1] == ' ' || tail[i - 1] == '\t'))
            --i;
    };
    auto skipNumber = [&] {
        const std::size_t end = i;
        while (i > 0 && (IsDigit(static_cast<unsigned char>(tail[i - 1])) || tail[i - 1] == '.'))
            --i;
        if (i > 0 && tail[i - 1] == '-')
            --i;
        return i < end;
    };
    skipBlanks();
    if (!skipNumber())
        return false;
    const std::size_t beforeBlanks = i;
    skipBlanks();
    if (i == beforeBlanks || !skipNumber())
        return false;
    skipBlanks();
    return i > 0 && tail[i - 1] == '&';
}

} // namespace

std::optional<DialectChoice> ParseDialectChoice(std::string_view text) {
    if (text == "auto")
        return DialectChoice::Auto;
    if (text == "2001")
        return DialectChoice::Draft2001;
    if (text == "iso")
        return DialectChoice::Iso;
    return std::nullopt;
}

void DialectDetector::Feed(const char* bytes, std::size_t size) { Run(bytes, bytes + size, false); }

void DialectDetector::Feed(const char16_t* text, std::size_t size) { Run(text, text + size, false); }

void DialectDetector::FeedLines(const char16_t* text, std::size_t size) {
    Run(text, text + size, true);
    if (size > 0 && text[size - 1] != u'\n' && text[size - 1] != u'\r')
        EndLine();
}

void DialectDetector::FeedLines(const char* bytes, std::size_t size) {
    Run(bytes, bytes + size, true);
    if (size > 0 && bytes[size - 1] != '\n' && bytes[size - 1] != '\r')
        EndLine();
}

void DialectDetector::EndLine() {
    const char16_t lineEnd = u'\n';
    Run(&lineEnd, &lineEnd + 1, false);
}

template <typename Unit>
void DialectDetector::Run(const Unit* p, const Unit* end, bool joinLineEnds) {
    while (p < end && !iso_) {
        switch (quote_) {
        case Quote::Double:
        case Quote::Single:
            p = Find(p, end, static_cast<Unit>(quote_ == Quote::Double ? '"' : '\''));
            if (p < end) {
                quote_ = Quote::None;
                ++p;
            }
            break;
        case Quote::Comment:
            p = InComment(p, end, joinLineEnds);
            break;
        case Quote::None:
            p = OutsideQuotes(p, end);
            break;
        }
    }
}

// Steps over characters outside quotes, and over quoted texts and comments that end within the
// piece, until one opens that does not, a sign is found or the piece ends, with the state in
// locals. A character that is no blank is seen first by what it does to the element it is in,
// then by what it opens or closes. After the first character of a name, the others change
// nothing but the last character seen; after the first blank, the others change nothing at all.
template <typename Unit>
const Unit* DialectDetector::OutsideQuotes(const Unit* p, const Unit* end) {
    After after = after_;
    unsigned previous = previous_;
    unsigned lastMark = lastMark_;
    bool quantifier = quantifier_;
    char top = top_;
    const auto leave = [&](const Unit* at) {
        after_ = after;
        previous_ = previous;
        lastMark_ = lastMark;
        quantifier_ = quantifier;
        top_ = top;
        return at;
    };
    const auto found = [&] {
        iso_ = true;
        return leave(end);
    };
    while (p < end) {
        const unsigned c = Code(*p++);
        if (c < 0x20 || c == ' ') {
            if (!IsBlank(c) && (top == '[' || top == '('))
                return found(); // a tab or another control character between the tokens of an element
            if (after == After::RelationType)
                after = After::RelationArgs;
            else if (after == After::ConceptType)
                after = After::ConceptTyped;
            previous = ' ';
            while (p < end && IsBlank(Code(*p)))
                ++p;
            continue;
        }
        const unsigned before = previous;
        const unsigned markBefore = lastMark;
        previous = lastMark = c;
        // The 2001 dialect has no "-" or "+" in a concept or relation outside quotes and comments
        // (its names are letters, digits and "_", its numbers digits): "[Trailer-Truck]",
        // "[Number: -7]". ("-" ends a run of name characters, so it is seen here.)
        if ((c == '-' || c == '+') && (top == '[' || top == '('))
            return found();
        if (IsNameCharacter(c)) {
            quantifier = markBefore == '@'; // "@every", "@3": the quantifier goes on to its end
            // A type, or a label after "*" or "?": the 2001 dialect takes only ASCII letters,
            // digits and "_" there, so a character beyond ASCII in it is the ISO dialect's.
            const bool identifier = (after == After::ConceptOpen && top == '[') ||
                                    (after == After::RelationOpen && top == '(') || markBefore == '*' || markBefore == '?';
            if (identifier && c >= 0x80)
                return found();
            switch (after) {
            case After::ConceptColon: // a bare name as a referent
                if (IsLetter(c))
                    return found();
                after = After::ConceptBody;
                break;
            case After::ConceptOpen:
                if (top == '[')
                    after = After::ConceptType;
                break;
            case After::ConceptTyped: // a name after the type, before any ":" or label
                if (top == '[' && IsLetter(c))
                    return found();
                break;
            case After::NegationOpen:
                after = After::Nothing;
                break;
            case After::ConceptBody: // a name after the type of a concept
                if (top == '[' && IsLetter(c) && StartsToken(before, markBefore))
                    return found();
                break;
            case After::RelationOpen:
                if (top == '(')
                    after = After::RelationType;
                break;
            case After::RelationArgs: // a name or a number as an argument
                if (top == '(' && StartsToken(before, markBefore) && before != '\'' && before != '"')
                    return found();
                break;
            default:
                break;
            }
            if (identifier) {
                for (; p < end && IsNameCharacter(Code(*p)); ++p)
                    if (Code(*p) >= 0x80)
                        return found();
            } else {
                while (p < end && IsNameCharacter(Code(*p)))
                    ++p;
            }
            previous = lastMark = Code(p[-1]);
            continue;
        }
        if (c == '*' && before == '/')
            return found();
        // A collection after a quantifier ("@Col{...}", as CGTools writes): the 2001 reader
        // reads a nested graph there, which "{" never starts.
        if (c == '{' && quantifier && top == '[')
            return found();
        quantifier = c == '@';
        if (after == After::ConceptColon)
            after = After::ConceptBody;
        if (top == '[') {
            if (after == After::ConceptType || after == After::ConceptOpen || after == After::ConceptTyped) {
                if (after == After::ConceptType && c == '\'' && IsNameCharacter(before))
                    return found(); // an apostrophe within the type
                if (StartsIsoSegment(c))
                    return found();
                after = After::ConceptBody;
            } else if (after == After::NegationOpen) {
                if (c == ']')
                    return found(); // "~[ ]": the 2001 reader wants a graph in a negation
                after = After::Nothing;
            }
        } else if (top == '(') {
            if (c == '|')
                return found();
            if (after == After::RelationOpen && (c == '"' || c == '\''))
                return found(); // "("Located On" ...)": a quoted type
            if (after == After::RelationType)
                after = After::RelationArgs;
            else if (after == After::RelationArgs && StartsIsoArgument(c) && StartsToken(before, markBefore) &&
                     before != '\'' && before != '"')
                return found();
        }
        switch (c) {
        case '"':
        case '\'': {
            // Quoted text that ends within the piece is stepped over here, its closing quote the
            // last character seen; one that goes on is left to Run.
            const Unit* close = Find(p, end, static_cast<Unit>(c));
            if (close == end) {
                quote_ = c == '"' ? Quote::Double : Quote::Single;
                return leave(end);
            }
            p = close + 1;
            break;
        }
        case ';': {
            // An actor's comment has no closing ";": it runs to the ">" that closes the actor,
            // which is then read as such.
            if (top == '<') {
                const Unit* close = Find(p, end, static_cast<Unit>('>'));
                if (close < end) {
                    p = close;
                    previous = ' ';
                    break;
                }
            }
            // The same for a comment that ends at its ";" within the piece (in a concept, before
            // any "]", which may end it with a layout position): it counts as a blank.
            const Unit* close = top == '[' ? FindCommentEnd(p, end) : top == '<' ? end : Find(p, end, static_cast<Unit>(';'));
            if (close < end && *close == static_cast<Unit>(';')) {
                p = close + 1;
                previous = ' ';
                break;
            }
            quote_ = Quote::Comment;
            commentOpener_ = top;
            tailSize_ = 0;
            return leave(p);
        }
        case ':':
            if (top == '[')
                after = After::ConceptColon;
            break;
        case '[':
        case '(':
        case '<':
        case '{':
            if (depth_ < MaxOpen) {
                open_[depth_++] = static_cast<char>(c);
                top = static_cast<char>(c);
            }
            after = c == '(' ? After::RelationOpen
                    : c == '[' ? (markBefore == '~' ? After::NegationOpen : After::ConceptOpen)
                               : After::Nothing;
            break;
        case ']':
        case ')':
        case '>':
        case '}': {
            const char opener = c == ']' ? '[' : c == ')' ? '(' : c == '>' ? '<' : '{';
            if (top == opener) {
                --depth_;
                top = depth_ > 0 ? open_[depth_ - 1] : 0;
            }
            after = top == '(' ? After::RelationArgs : top == '[' ? After::ConceptBody : After::Nothing;
            break;
        }
        default:
            break;
        }
    }
    return leave(p);
}

// Steps over the characters of a ";" comment until it ends, a layout position ends it at "]"
// or the piece ends. Its last characters are kept for that check only when it is needed: at a
// "]" of a comment inside a concept, and at the end of a piece (the comment goes on in the next).
template <typename Unit>
const Unit* DialectDetector::InComment(const Unit* p, const Unit* end, bool joinLineEnds) {
    const Unit* run = p; // the characters not yet kept in the tail
    for (;;) {
        if (commentOpener_ == '[') {
            p = FindCommentEnd(p, end);
        } else if (commentOpener_ == '<') {
            p = Find(p, end, static_cast<Unit>('>'));
            if (p < end) { // the actor's ">" is read next, closing it
                quote_ = Quote::None;
                previous_ = ' ';
                return p;
            }
        } else {
            p = Find(p, end, static_cast<Unit>(';'));
        }
        if (p == end) {
            KeepCommentRun(run, p, joinLineEnds);
            return p;
        }
        if (*p == static_cast<Unit>(';')) { // the tail of a comment that ended is not needed
            quote_ = Quote::None;
            previous_ = ' ';
            return p + 1;
        }
        KeepCommentRun(run, p, joinLineEnds);
        if (TailEndsInLayoutPosition()) {
            iso_ = true;
            return end;
        }
        run = p++; // the "]" is a character of the comment like any other
    }
}

// Adds the characters of a comment run to the tail, as if kept one by one: each beyond ASCII as
// "?", and with `joinLineEnds` a CR LF as one line break.
template <typename Unit>
void DialectDetector::KeepCommentRun(const Unit* begin, const Unit* end, bool joinLineEnds) {
    std::array<char, TailLength> last; // the run's last characters, right-aligned
    std::size_t kept = 0;
    std::size_t added = 0;
    if (!joinLineEnds) {
        added = static_cast<std::size_t>(end - begin);
        for (const Unit* q = end; q != begin && kept < TailLength;) {
            const unsigned c = Code(*--q);
            last[TailLength - 1 - kept++] = c < 0x80 ? static_cast<char>(c) : '?';
        }
    } else {
        for (const Unit* q = end; q != begin;) {
            unsigned c = Code(*--q);
            if (c == '\r') {
                if (q + 1 < end && Code(q[1]) == '\n')
                    continue;
                c = '\n';
            }
            ++added;
            if (kept < TailLength)
                last[TailLength - 1 - kept++] = c < 0x80 ? static_cast<char>(c) : '?';
        }
    }
    if (added == 0)
        return;
    // Kept one by one, the tail grows to TailLength, then drops its older half at each overflow.
    std::size_t size = tailSize_ + added;
    if (size > TailLength)
        size = TailLength / 2 + 1 + (size - TailLength - 1) % (TailLength / 2);
    std::array<char, 2 * TailLength> joined;
    std::copy_n(tail_.begin(), tailSize_, joined.begin());
    std::copy_n(last.end() - static_cast<std::ptrdiff_t>(kept), kept, joined.begin() + static_cast<std::ptrdiff_t>(tailSize_));
    const std::size_t total = tailSize_ + kept;
    std::copy_n(joined.begin() + static_cast<std::ptrdiff_t>(total - size), size, tail_.begin());
    tailSize_ = size;
}

// Only a note within the comment's last LayoutNoteLength characters counts, whatever came
// before it: the tail holds more or fewer characters depending on the comment's length in code
// units, which differ between bytes (the launcher) and UTF-16 (the program), and a window of
// its own length would let the two disagree.
bool DialectDetector::TailEndsInLayoutPosition() const {
    const std::size_t window = std::min(tailSize_, LayoutNoteLength);
    return EndsInLayoutPosition(std::string_view(tail_.data() + (tailSize_ - window), window));
}

Dialect DetectDialect(const char* bytes, std::size_t size) {
    DialectDetector detector;
    detector.Feed(bytes, size);
    return detector.Verdict();
}

} // namespace zov::cgif::dialect
