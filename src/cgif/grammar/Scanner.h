#pragma once
// The scanner routines of the grammar. Included by the one source file of each reader that
// instantiates the grammar.
#include "cgif/grammar/Grammar.h"

#include <cstring>
#include <exception>

namespace zov::cgif::grammar {

template <typename Model, typename Text>
bool Grammar<Model, Text>::FetchLine() {
    if (!LineEmpty())
        return true;
    if (!Self().HasInput())
        return false;
    // A stream that fails while it is read ends the fetch as the end of the input does.
    try {
        if (Self().InputExhausted()) {
            atEnd_ = true;
            return false;
        }
        do {
            Self().NextInputLine();
            SkipSpaces();
            if (!LineEmpty())
                return true;
        } while (!Self().InputExhausted());
    } catch (const std::exception&) {
        Self().DropLine();
    }
    return false;
}

template <typename Model, typename Text>
bool Grammar<Model, Text>::ReadIdentifier(bool optional) {
    Self().ClearToken();
    if (!FetchLine())
        return optional;
    if (!charclass::IsIdentifierStart(Text::Code(Front()))) {
        if (optional)
            return true;
        Self().Fail(1030, "First character not alpha or _");
    }
    const std::ptrdiff_t start = pos_;
    const Char* data = Self().LineData();
    const std::ptrdiff_t end = Self().LineEnd();
    ++pos_;
    while (pos_ < end && charclass::IsIdentifierPart(Text::Code(data[pos_])))
        ++pos_;
    Self().AssignToken(data + start, pos_ - start);
    SkipSpaces();
    return true;
}

// Digits; when they run to the end of the line, the whole rest of the line is the number.
template <typename Model, typename Text>
bool Grammar<Model, Text>::ReadNumber(bool optional) {
    const Char* data = Self().LineData();
    const std::ptrdiff_t size = Self().LineEnd();
    std::ptrdiff_t end = pos_;
    while (end < size && IsDigit(data[end]))
        ++end;
    if (end >= size) {
        Self().AssignToken(data + pos_, pos_ < size ? size - pos_ : 0);
        pos_ = size;
        return true;
    }
    if (end == pos_)
        return optional;
    Self().AssignToken(data + pos_, end - pos_);
    pos_ = end;
    SkipSpaces();
    return true;
}

template <typename Model, typename Text>
bool Grammar<Model, Text>::ReadUntil(Char terminator) {
    std::ptrdiff_t found = Self().FindInLine(terminator);
    if (found >= 0) { // the usual case: the item ends on the line it starts on
        Self().AssignToken(Self().LineData() + pos_, found - pos_);
        pos_ = found;
        return true;
    }
    Self().ClearToken();
    while (found < 0 && !(LineEmpty() && atEnd_)) {
        const std::ptrdiff_t end = Self().LineEnd();
        Self().AppendToken(Self().LineData() + pos_, pos_ < end ? end - pos_ : 0);
        Self().AppendLineBreak();
        if (!Self().HasInput() || Self().InputExhausted())
            Self().InputPastEnd(terminator);
        Self().NextInputLine();
        SkipSpaces();
        if (Self().InputExhausted())
            atEnd_ = true;
        found = Self().FindInLine(terminator);
        if (pos_ > 0)
            Self().IndentDropped(Self().LineData() + pos_, (found >= 0 ? found : Self().LineEnd()) - pos_);
    }
    if (LineEmpty() && atEnd_)
        return false;
    Self().AppendToken(Self().LineData() + pos_, found - pos_);
    pos_ = found;
    return true;
}

// When the consumed part of the saved line is long enough the comment is written over its end,
// so the rest of a long line is not copied again for every comment on it. `text` may point
// into the saved line: it is moved before the semicolons are written.
template <typename Model, typename Text>
template <typename Saved>
void Grammar<Model, Text>::RebuildLine(const Char* text, std::ptrdiff_t size, bool asComment, bool closed,
                                       Saved&& saved) {
    const std::ptrdiff_t length = asComment ? size + (closed ? 2 : 1) : 0;
    if (length > Self().Room(saved)) {
        Self().RebuildWithoutRoom(text, size, closed, std::move(saved));
        return;
    }
    const std::ptrdiff_t start = saved.pos - length;
    if (length > 0) {
        Char* out = Self().WritableLine(saved) + start;
        if (size > 0)
            std::memmove(static_cast<void*>(out + 1), text, static_cast<std::size_t>(size) * sizeof(Char));
        out[0] = Char(u';');
        if (closed)
            out[1 + size] = Char(u';');
    }
    Self().RestoreLine(std::move(saved), start);
}

template <typename Model, typename Text>
typename Grammar<Model, Text>::String Grammar<Model, Text>::ExtractTitle(bool keep) {
    auto saved = Self().SaveLine();
    Self().LineFromToken();
    if (!LineEmpty() && MatchChar(Char(u'%'), false)) {
        if (!ReadUntil(Char(u'%')))
            return {}; // the saved line is not restored
        const String title = Self().TitleFromToken();
        MatchChar(Char(u'%'), false);
        const std::ptrdiff_t end = Self().LineEnd();
        if (pos_ >= end)
            RebuildLine(nullptr, 0, !keep, false, std::move(saved));
        else
            RebuildLine(Self().LineData() + pos_, end - pos_, true, keep, std::move(saved));
        return title;
    }
    if (Self().TokenEmpty())
        RebuildLine(nullptr, 0, !keep, false, std::move(saved));
    else
        RebuildLine(Self().TokenData(), Self().TokenSize(), true, keep, std::move(saved));
    return {};
}

} // namespace zov::cgif::grammar
