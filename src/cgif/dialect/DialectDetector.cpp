#include "cgif/dialect/DialectDetector.h"

namespace zov::cgif::dialect {

namespace {

bool IsLetter(unsigned c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c >= 0x80; }
bool IsDigit(unsigned c) { return c >= '0' && c <= '9'; }
bool IsNameCharacter(unsigned c) { return IsLetter(c) || IsDigit(c) || c == '-'; }
bool IsBlank(unsigned c) { return c == ' ' || c == '\n' || c == '\r'; }

// What may start an argument of a relation in the ISO dialect but never in the 2001 dialect
// (whose arguments are concepts and bound labels only).
bool StartsIsoArgument(unsigned c) {
    return IsLetter(c) || IsDigit(c) || c == '"' || c == '\'' || c == '*' || c == '+' || c == '-' || c == '{' ||
           c == '#' || c == '@' || c == '.';
}

// True when `tail` ends in "&", a number, blanks and a number (blanks allowed around them).
bool EndsInLayoutPosition(const std::string& tail) {
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

void DialectDetector::Feed(const char* bytes, std::size_t size) {
    for (std::size_t i = 0; i < size && !iso_; ++i)
        Step(static_cast<unsigned char>(bytes[i]));
}

void DialectDetector::Feed(const char16_t* text, std::size_t size) {
    for (std::size_t i = 0; i < size && !iso_; ++i)
        Step(text[i]);
}

void DialectDetector::Step(unsigned c) {
    if (iso_)
        return;
    switch (quote_) {
    case Quote::Double:
        if (c == '"')
            quote_ = Quote::None;
        return;
    case Quote::Single:
        if (c == '\'')
            quote_ = Quote::None;
        return;
    case Quote::Comment:
        CommentCharacter(c);
        return;
    case Quote::None:
        StepOutsideQuotes(c);
        return;
    }
}

void DialectDetector::CommentCharacter(unsigned c) {
    if (c == ';') {
        quote_ = Quote::None;
        previous_ = ' ';
        return;
    }
    if (c == ']' && commentOpener_ == '[' && EndsInLayoutPosition(commentTail_)) {
        iso_ = true;
        return;
    }
    commentTail_.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    if (commentTail_.size() > 96)
        commentTail_.erase(0, 48);
}

void DialectDetector::StepOutsideQuotes(unsigned c) {
    const char top = open_.empty() ? 0 : open_.back();
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
        if (after_ == After::ConceptType && !IsNameCharacter(c))
            after_ = After::ConceptBody;
        else if (after_ == After::ConceptBody && IsLetter(c) &&
                 (previous_ == ' ' || previous_ == ']' || previous_ == ')' || previous_ == '\'' || previous_ == '"')) {
            iso_ = true;
            return;
        }
    }
    if (top == '(') {
        if (c == '|') {
            iso_ = true;
            return;
        }
        if (after_ == After::RelationOpen)
            after_ = IsNameCharacter(c) ? After::RelationType : After::RelationArgs;
        else if (after_ == After::RelationType && !IsNameCharacter(c))
            after_ = After::RelationArgs;
        else if (after_ == After::RelationArgs && (previous_ == ' ' || previous_ == ']' || previous_ == ')') &&
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
        commentTail_.clear();
        break;
    case ':':
        if (top == '[')
            after_ = After::ConceptColon;
        break;
    case '[':
    case '(':
    case '<':
    case '{':
        if (open_.size() < 4096)
            open_.push_back(static_cast<char>(c));
        after_ = c == '(' ? After::RelationOpen : c == '[' ? After::ConceptType : After::Nothing;
        break;
    case ']':
    case ')':
    case '>':
    case '}': {
        const char opener = c == ']' ? '[' : c == ')' ? '(' : c == '>' ? '<' : '{';
        if (top == opener)
            open_.pop_back();
        const char now = open_.empty() ? 0 : open_.back();
        after_ = now == '(' ? After::RelationArgs : now == '[' ? After::ConceptBody : After::Nothing;
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
