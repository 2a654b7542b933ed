// The quick checker's scanner: lexical items from the front of the current line, lines fetched
// from the input when the line is used up, and comments put back into their line, as the
// reader's scanner does them.
#include "cgif/quick/QuickReader.h"

#include <array>
#include <bit>
#include <cstring>

namespace zov::cgif::quick {

namespace {
// Identifier characters, looked up by byte: ASCII letters and "_" start one, digits continue it.
constexpr std::uint8_t IdentifierStart = 1;
constexpr std::uint8_t IdentifierPart = 2;
constexpr std::array<std::uint8_t, 256> MakeIdentifierTable() {
    std::array<std::uint8_t, 256> table{};
    for (int c = 0; c < 256; ++c) {
        const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
        const bool digit = c >= '0' && c <= '9';
        table[static_cast<std::size_t>(c)] =
            static_cast<std::uint8_t>((letter ? IdentifierStart | IdentifierPart : 0) | (digit ? IdentifierPart : 0));
    }
    return table;
}
constexpr std::array<std::uint8_t, 256> IdentifierTable = MakeIdentifierTable();
bool IsIdentifierStart(char c) { return (IdentifierTable[static_cast<unsigned char>(c)] & IdentifierStart) != 0; }
bool IsIdentifierPart(char c) { return (IdentifierTable[static_cast<unsigned char>(c)] & IdentifierPart) != 0; }

// The first CR or LF at or after `at`, or `end`. Eight bytes at a time: bytes below 0x0E are
// flagged (exactly, for the bytes below 0x80 that come before the first flagged one) and each
// flagged byte is looked at in turn.
std::size_t FindLineEnd(const char* text, std::size_t at, std::size_t end) {
    constexpr std::uint64_t Ones = 0x0101010101010101ull;
    constexpr std::uint64_t Highs = 0x8080808080808080ull;
    for (; at + 8 <= end; at += 8) {
        std::uint64_t word;
        std::memcpy(&word, text + at, 8);
        for (std::uint64_t flags = (word - Ones * 0x0E) & ~word & Highs; flags != 0; flags &= flags - 1) {
            const std::size_t candidate = at + static_cast<std::size_t>(std::countr_zero(flags)) / 8;
            if (text[candidate] == '\n' || text[candidate] == '\r')
                return candidate;
        }
    }
    while (at < end && text[at] != '\n' && text[at] != '\r')
        ++at;
    return at;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
} // namespace

bool QuickReader::FetchLine() {
    if (!LineEmpty())
        return true;
    if (next_ >= size_) {
        atEnd_ = true;
        return false;
    }
    do {
        NextInputLine();
        SkipSpaces();
        if (!LineEmpty())
            return true;
    } while (next_ < size_);
    return false;
}

// Lines end at CR LF, LF or a lone CR; the last line needs no end.
void QuickReader::NextInputLine() {
    const std::size_t size = size_;
    const char* data = text_;
    std::size_t end = FindLineEnd(data, next_, size);
    lineBegin_ = next_;
    lineEnd_ = end;
    pos_ = next_;
    if (end < size && data[end] == '\r' && end + 1 < size && data[end + 1] == '\n')
        ++end;
    next_ = end < size ? end + 1 : size;
}

bool QuickReader::ReadIdentifier(bool optional) {
    token_ = {};
    if (!FetchLine())
        return optional;
    if (!IsIdentifierStart(Front())) {
        if (optional)
            return true;
        throw Unsure{}; // "First character not alpha or _"
    }
    const std::size_t start = pos_;
    ++pos_;
    while (pos_ < lineEnd_ && IsIdentifierPart(text_[pos_]))
        ++pos_;
    token_ = std::string_view(text_ + start, pos_ - start);
    SkipSpaces();
    return true;
}

bool QuickReader::ReadNumber(bool optional) {
    std::size_t end = pos_;
    while (end < lineEnd_ && IsDigit(text_[end]))
        ++end;
    if (end >= lineEnd_) {
        token_ = pos_ < lineEnd_ ? std::string_view(text_ + pos_, lineEnd_ - pos_) : std::string_view();
        pos_ = lineEnd_;
        return true;
    }
    if (end == pos_)
        return optional;
    token_ = std::string_view(text_ + pos_, end - pos_);
    pos_ = end;
    SkipSpaces();
    return true;
}

// Only the usual case, an item that ends on the line it starts on, is followed here.
bool QuickReader::ReadUntil(char terminator) {
    // Comments and strings are short: a plain loop beats a library search here.
    std::size_t at = pos_;
    while (at < lineEnd_ && text_[at] != terminator)
        ++at;
    if (at >= lineEnd_)
        throw Unsure{};
    token_ = std::string_view(text_ + pos_, at - pos_);
    pos_ = at;
    return true;
}

// The reader puts a comment back over the consumed end of the saved line when there is room.
// The text put back is the consumed comment's own tail, so there always is room unless the
// comment ran over a line end.
void QuickReader::RebuildLine(std::string_view text, bool asComment, bool closed, std::size_t savedBegin,
                              std::size_t savedEnd, std::size_t savedPos) {
    const std::size_t size = asComment ? text.size() + (closed ? 2 : 1) : 0;
    if (size > savedPos - savedBegin)
        throw Unsure{};
    if (size > 0) {
        // The text may overlap where it goes: move it before writing the semicolons.
        char* out = text_ + (savedPos - size);
        if (!text.empty())
            std::memmove(out + 1, text.data(), text.size());
        out[0] = ';';
        if (closed)
            out[1 + text.size()] = ';';
    }
    lineBegin_ = savedBegin;
    lineEnd_ = savedEnd;
    pos_ = savedPos - size;
}

std::string_view QuickReader::ExtractTitle(bool keep) {
    const std::size_t savedBegin = lineBegin_;
    const std::size_t savedEnd = lineEnd_;
    const std::size_t savedPos = pos_;
    const std::string_view comment = token_;
    lineBegin_ = pos_ = static_cast<std::size_t>(comment.data() - text_);
    lineEnd_ = lineBegin_ + comment.size();
    if (!comment.empty() && MatchChar('%', false)) {
        ReadUntil('%');
        const std::string_view title = token_;
        MatchChar('%', false);
        const std::string_view rest(text_ + pos_, lineEnd_ - pos_);
        if (rest.empty())
            RebuildLine({}, !keep, false, savedBegin, savedEnd, savedPos);
        else
            RebuildLine(rest, true, keep, savedBegin, savedEnd, savedPos);
        return title;
    }
    if (comment.empty())
        RebuildLine({}, !keep, false, savedBegin, savedEnd, savedPos);
    else
        RebuildLine(comment, true, keep, savedBegin, savedEnd, savedPos);
    return {};
}

} // namespace zov::cgif::quick
