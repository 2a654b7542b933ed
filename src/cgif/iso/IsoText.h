#pragma once
// The text of an ISO CGIF file as the ISO reader scans it: the whole input in one string, read
// once from front to back. Every token routine starts at the current place and leaves the place
// after what it read; nothing is copied but the tokens themselves.
#include "cgif/reader/IsoNames.h"
#include "cgif/grammar/CharClass.h"

#include <QString>
#include <exception>
#include <string>

namespace zov::cgif::iso {

// An ASCII digit, as the grammar classes characters.
inline bool IsDigit(QChar c) { return grammar::charclass::IsDigit(c.unicode()); }

// A construct the ISO reader cannot read; the message names the dialect, the construct and its
// place (line, column and the text there).
class IsoSyntaxError : public std::exception {
public:
    explicit IsoSyntaxError(QString message) : message_(std::move(message)), bytes_(message_.toStdString()) {}
    const QString& message() const { return message_; }
    const char* what() const noexcept override { return bytes_.c_str(); }

private:
    QString message_;
    std::string bytes_;
};

class IsoText {
public:
    explicit IsoText(QString text) : text_(std::move(text)) {}

    qsizetype Place() const { return pos_; }
    bool AtEnd() const { return pos_ >= text_.size(); }
    // The character `ahead` places on, or U+0000 past the end.
    QChar Peek(qsizetype ahead = 0) const {
        const qsizetype at = pos_ + ahead;
        return at < text_.size() ? text_.at(at) : QChar();
    }
    bool PeekIs(char c, qsizetype ahead = 0) const { return Peek(ahead) == QLatin1Char(c); }
    void Advance(qsizetype count = 1) { pos_ += count; }
    // Back to a place read before (a look ahead that found another form).
    void Rewind(qsizetype place) { pos_ = place; }
    // Skips blanks, tabs, line breaks and other control characters. Inline for the usual case,
    // where none comes next.
    void SkipBlanks() {
        if (pos_ < text_.size() && !IsBlank(text_.constData()[pos_]))
            return;
        SkipBlankRun();
    }
    // Skips blanks; then consumes `c` when it comes next.
    bool Match(char c);

    // Whether a name starts `ahead` places on: a letter (a surrogate pair included) or "_".
    bool StartsNameAt(qsizetype ahead = 0) const {
        const qsizetype at = pos_ + ahead;
        return at < text_.size() && StartsIsoName(CodePointAt(text_, at));
    }
    // The character at the current place as a message quotes it: a surrogate pair whole.
    QString CharacterHere() const {
        return AtEnd() ? QString() : QString(text_.constData() + pos_, UnitsOf(CodePointAt(text_, pos_)));
    }
    // Whether a number starts here: a digit, or a sign or "." before a digit.
    bool StartsNumber() const;
    // A name: letters, digits, "_" and "-", and an apostrophe followed by a letter when no closing
    // apostrophe comes before the next bracket on its line ("Researcher's_Time"). "" when none.
    QString ReadName() { return ReadNameView().toString(); }
    // The same as a view of the text, valid as long as this text.
    QStringView ReadNameView();
    // A numeral with its sign, fraction and exponent as written.
    QString ReadNumber();
    // Quoted text from the opening quote here to the closing one, both kept (lines included). A
    // backslash takes the character after it into the text ("\"" and "\\"), so an escaped quote
    // does not close it.
    QString ReadQuoted();
    // The text a quoted name stands for: its quotes dropped and its escapes undone.
    static QString Unquoted(QStringView quoted);
    // True when the next character that is no blank is `c` (nothing is consumed).
    bool NextIs(char c) const;
    // A collection "{...}" or "<...>" from its opening bracket here, blanks collapsed.
    QString ReadCollection();
    // After "/*": the comment's text up to "*/", which is consumed, blanks around it dropped.
    // The view stays valid as long as this text.
    QStringView ReadBlockComment(qsizetype start);
    // After ";": the text up to the closing `closer` at the same depth of brackets, which is left
    // unread. Blanks around it and a final ";" are dropped.
    QString ReadEndComment(QChar closer, qsizetype start);
    // After ";" at the level of a graph: the text up to the next ";" (consumed) or the line's end.
    QString ReadStandaloneComment();

    [[noreturn]] void Fail(const QString& what, qsizetype at) const;

    // A view of the text from `start` to the place.
    QStringView Since(qsizetype start) const { return QStringView(text_).mid(start, pos_ - start); }

private:
    static bool IsBlank(QChar c) { return c.unicode() <= 0x20 || c == QChar(0xA0) || c == QChar(0xFEFF); }
    void SkipBlankRun();
    bool ApostropheInName(qsizetype at) const;

    QString text_;
    qsizetype pos_ = 0;
};

} // namespace zov::cgif::iso
