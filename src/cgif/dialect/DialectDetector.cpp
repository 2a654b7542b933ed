#include "cgif/dialect/DialectDetector.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace zov::cgif::dialect {

namespace {

// What each ASCII character is to the detector, looked up once per character.
enum : unsigned char { Letter = 1, Digit = 2, NameCharacter = 4, Blank = 8 };

constexpr std::array<unsigned char, 128> kClasses = [] {
    std::array<unsigned char, 128> classes{};
    for (unsigned c = 0; c < 128; ++c) {
        const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
        const bool digit = c >= '0' && c <= '9';
        classes[c] = static_cast<unsigned char>((letter ? Letter : 0) | (digit ? Digit : 0) |
                                                (letter || digit || c == '-' ? NameCharacter : 0) |
                                                (c == ' ' || c == '\n' || c == '\r' ? Blank : 0));
    }
    return classes;
}();

// Every character beyond ASCII counts as a letter.
bool Is(unsigned c, unsigned char what) { return c >= 0x80 ? (what & (Letter | NameCharacter)) != 0 : (kClasses[c] & what) != 0; }
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

// What may start an argument of a relation in the ISO dialect but never in the 2001 dialect
// (whose arguments are concepts and bound labels only).
bool StartsIsoArgument(unsigned c) {
    return IsLetter(c) || IsDigit(c) || c == '"' || c == '\'' || c == '*' || c == '+' || c == '-' || c == '{' ||
           c == '#' || c == '@' || c == '.';
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

// Steps over characters outside quotes until a quote or comment opens, a sign is found or the
// piece ends. After the first character of a name, the others change nothing but the last
// character seen; after the first blank, the others change nothing at all.
template <typename Unit>
const Unit* DialectDetector::OutsideQuotes(const Unit* p, const Unit* end) {
    while (p < end) {
        const unsigned c = Code(*p);
        StepOutsideQuotes(c);
        ++p;
        if (iso_ || quote_ != Quote::None)
            return p;
        if (IsNameCharacter(c)) {
            while (p < end && IsNameCharacter(Code(*p)))
                ++p;
            previous_ = lastMark_ = Code(p[-1]);
        } else if (IsBlank(c)) {
            while (p < end && IsBlank(Code(*p)))
                ++p;
        }
    }
    return p;
}

// Steps over the characters of a ";" comment until it ends, a layout position ends it at "]"
// or the piece ends, keeping its last characters for that check.
template <typename Unit>
const Unit* DialectDetector::InComment(const Unit* p, const Unit* end, bool joinLineEnds) {
    const Unit* run = p; // the characters not yet kept in the tail
    for (;;) {
        if (commentOpener_ == '[') {
            while (p < end && *p != static_cast<Unit>(';') && *p != static_cast<Unit>(']'))
                ++p;
        } else {
            p = Find(p, end, static_cast<Unit>(';'));
        }
        KeepCommentRun(run, p, joinLineEnds);
        if (p == end)
            return p;
        if (*p == static_cast<Unit>(';')) {
            quote_ = Quote::None;
            previous_ = ' ';
            return p + 1;
        }
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

bool DialectDetector::TailEndsInLayoutPosition() const {
    return EndsInLayoutPosition(std::string_view(tail_.data(), tailSize_));
}

void DialectDetector::StepOutsideQuotes(unsigned c) {
    const char top = top_;
    if (c < 0x20 && !IsBlank(c)) {
        // Tabs and other control characters between the tokens of an element.
        if (top == '[' || top == '(') {
            iso_ = true;
            return;
        }
        c = ' ';
    }
    if (IsBlank(c)) {
        if (after_ == After::RelationType)
            after_ = After::RelationArgs;
        else if (after_ == After::ConceptType)
            after_ = After::ConceptBody;
        previous_ = ' ';
        return;
    }
    const bool tokenStart = (previous_ == ' ' || previous_ == ']' || previous_ == ')' || previous_ == '\'' ||
                             previous_ == '"') &&
                            lastMark_ != '#' && lastMark_ != '@' && lastMark_ != '*' && lastMark_ != '?';
    lastMark_ = c;
    if (c == '*' && previous_ == '/') {
        iso_ = true;
        return;
    }
    if (after_ == After::ConceptColon) {
        if (IsLetter(c) || c == '+' || c == '-') {
            iso_ = true;
            return;
        }
        after_ = After::ConceptBody;
    }
    if (top == '[') {
        if (after_ == After::ConceptType && c == '\'' && IsNameCharacter(previous_)) {
            iso_ = true;
            return;
        }
        if (after_ == After::ConceptOpen)
            after_ = IsNameCharacter(c) ? After::ConceptType : After::ConceptBody;
        else if (after_ == After::ConceptType && !IsNameCharacter(c))
            after_ = After::ConceptBody;
        else if (after_ == After::ConceptBody && IsLetter(c) && tokenStart) {
            iso_ = true;
            return;
        }
    } else if (top == '(') {
        if (c == '|') {
            iso_ = true;
            return;
        }
        if (after_ == After::RelationOpen)
            after_ = IsNameCharacter(c) ? After::RelationType : After::RelationArgs;
        else if (after_ == After::RelationType && !IsNameCharacter(c))
            after_ = After::RelationArgs;
        else if (after_ == After::RelationArgs && tokenStart && previous_ != '\'' && previous_ != '"' &&
                 StartsIsoArgument(c)) {
            iso_ = true;
            return;
        }
    }
    switch (c) {
    case '"':
        quote_ = Quote::Double;
        break;
    case '\'':
        quote_ = Quote::Single;
        break;
    case ';':
        quote_ = Quote::Comment;
        commentOpener_ = top;
        tailSize_ = 0;
        break;
    case ':':
        if (top == '[')
            after_ = After::ConceptColon;
        break;
    case '[':
    case '(':
    case '<':
    case '{':
        if (depth_ < MaxOpen) {
            open_[depth_++] = static_cast<char>(c);
            top_ = static_cast<char>(c);
        }
        after_ = c == '(' ? After::RelationOpen : c == '[' ? After::ConceptOpen : After::Nothing;
        break;
    case ']':
    case ')':
    case '>':
    case '}': {
        const char opener = c == ']' ? '[' : c == ')' ? '(' : c == '>' ? '<' : '{';
        if (top == opener) {
            --depth_;
            top_ = depth_ > 0 ? open_[depth_ - 1] : 0;
        }
        after_ = top_ == '(' ? After::RelationArgs : top_ == '[' ? After::ConceptBody : After::Nothing;
        break;
    }
    default:
        break;
    }
    previous_ = c;
}

Dialect DetectDialect(const char* bytes, std::size_t size) {
    DialectDetector detector;
    detector.Feed(bytes, size);
    return detector.Verdict();
}

} // namespace zov::cgif::dialect
