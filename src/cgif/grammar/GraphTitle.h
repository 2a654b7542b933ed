#pragma once
// A graph title "type*name" split at its first "*": the type before it, the name after it, each
// without the blanks around it. Only blanks (code 32) are trimmed, never tabs. A title without
// "*" names nothing: the model takes the name from elsewhere and the type "Graph".
#include <cstddef>

namespace zov::cgif::grammar {

// A stretch of a text: `Size` characters from index `Begin`.
struct TextPiece {
    std::ptrdiff_t Begin = 0;
    std::ptrdiff_t Size = 0;
};

struct TitleParts {
    bool Typed = false; // the title holds "*"; Type and Name are empty pieces otherwise
    TextPiece Type;
    TextPiece Name;
};

// `piece` of `data` without the blanks at either end.
template <typename Text>
TextPiece TrimBlanks(const typename Text::Char* data, TextPiece piece) {
    using Char = typename Text::Char;
    while (piece.Size > 0 && data[piece.Begin] == Char(u' '))
        ++piece.Begin, --piece.Size;
    while (piece.Size > 0 && data[piece.Begin + piece.Size - 1] == Char(u' '))
        --piece.Size;
    return piece;
}

template <typename Text>
TitleParts SplitGraphTitle(const typename Text::Char* data, std::ptrdiff_t size) {
    using Char = typename Text::Char;
    std::ptrdiff_t star = 0;
    while (star < size && data[star] != Char(u'*'))
        ++star;
    if (star == size)
        return {};
    return {true, TrimBlanks<Text>(data, {0, star}),
            TrimBlanks<Text>(data, {star + 1, size - star - 1})};
}

} // namespace zov::cgif::grammar
