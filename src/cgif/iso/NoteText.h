#pragma once
// The pieces the layout and graph notes are read from, scanned by hand: the notes come before
// every node of an exported file, and reading them must cost little more than skipping them.
#include <QStringView>

namespace zov::cgif::iso {

// A number as the notes write it: an optional "-", digits, an optional "." with digits, and
// with `exponent` an optional "E" with sign and digits.
enum class NoteNumber { Plain, WithExponent };

// Skips blanks (space, tab, line breaks, vertical tab, form feed) from `at`; returns the place
// after them. Inline, as ReadNoteWord: both run several times on every note of a file.
inline qsizetype SkipNoteBlanks(QStringView text, qsizetype at) {
    while (at < text.size()) {
        const char16_t c = text[at].unicode();
        if (c != u' ' && c != u'\t' && c != u'\n' && c != u'\r' && c != u'\v' && c != u'\f')
            break;
        ++at;
    }
    return at;
}

// Whether `text` holds `word` at `at`; moves `at` past it when it does. Compared here: the words
// are a few characters, shorter than a call's setting up.
inline bool ReadNoteWord(QStringView text, qsizetype& at, QStringView word) {
    if (at < 0 || text.size() - at < word.size())
        return false;
    for (qsizetype i = 0; i < word.size(); ++i)
        if (text[at + i] != word[i])
            return false;
    at += word.size();
    return true;
}


// The first `<rectangle x="X" y="Y"` in `text` from `from` on (blanks between the parts): true
// and its numbers, each with whether it converts, when there is one.
struct NotePosition {
    float x = 0;
    float y = 0;
    bool converts = false; // both numbers are floats
};
bool FindRectangle(QStringView text, NoteNumber form, NotePosition& position, qsizetype from = 0);

} // namespace zov::cgif::iso
