#include "cgif/iso/NoteText.h"
#include "cgif/iso/IsoText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace zov::cgif::iso {

namespace {

// Digits from `at`; false when there is none.
bool SkipDigits(QStringView text, qsizetype& at) {
    const qsizetype start = at;
    while (at < text.size() && IsDigit(text[at]))
        ++at;
    return at > start;
}

// The numeral's text as a float, rounded through double as QString::toFloat does; false when
// it is beyond a float's range or so small it would be 0. A whole number of up to nine digits,
// the usual place, is converted without the general routine.
bool ToFloat(QStringView numeral, float& value) {
    const bool negative = numeral.startsWith(u'-');
    const QStringView digits = negative ? numeral.mid(1) : numeral;
    if (digits.size() <= 9) {
        long whole = 0;
        bool plain = true;
        for (const QChar c : digits) {
            if (!IsDigit(c)) {
                plain = false;
                break;
            }
            whole = whole * 10 + (c.unicode() - u'0');
        }
        if (plain) {
            const double magnitude = static_cast<double>(whole);
            value = static_cast<float>(negative ? -magnitude : magnitude); // "-0" is -0, as in toFloat
            return true;
        }
    }
    char bytes[64];
    if (numeral.size() > qsizetype(sizeof bytes))
        return false; // beyond a float's range or precision: no place a note gives
    for (qsizetype i = 0; i < numeral.size(); ++i)
        bytes[i] = static_cast<char>(numeral[i].unicode());
    double d = 0;
    const auto [end, error] = std::from_chars(bytes, bytes + numeral.size(), d);
    if (error != std::errc() || end != bytes + numeral.size())
        return false;
    if (std::fabs(d) > std::numeric_limits<float>::max())
        return false;
    if (d != 0 && static_cast<float>(d) == 0)
        return false;
    value = static_cast<float>(d);
    return true;
}

// At `at`: name="number", the name one letter ('x' or 'y'). The number as a float in `value` and
// whether it converts (false when it is out of a float's range); false when the text there is
// not of that form. Moves `at` past the closing quote when of that form.
bool ReadQuotedNumber(QStringView text, qsizetype& at, char16_t name, NoteNumber form, float& value, bool& converts) {
    if (text.size() - at < 3 || text[at] != name || text[at + 1] != u'=' || text[at + 2] != u'"')
        return false;
    qsizetype i = at + 3;
    const qsizetype start = i;
    if (i < text.size() && text[i] == u'-')
        ++i;
    // The usual place, up to nine digits and the closing quote, is converted as it is scanned.
    const qsizetype digitsFrom = i;
    long whole = 0;
    while (i < text.size() && i - digitsFrom < 9 && IsDigit(text[i]))
        whole = whole * 10 + (text[i++].unicode() - u'0');
    if (i == digitsFrom)
        return false;
    if (i < text.size() && text[i] == u'"') {
        const double magnitude = static_cast<double>(whole);
        value = static_cast<float>(digitsFrom > start ? -magnitude : magnitude); // "-0" is -0, as in toFloat
        converts = true;
        at = i + 1;
        return true;
    }
    SkipDigits(text, i);
    if (i < text.size() && text[i] == u'.') {
        ++i;
        SkipDigits(text, i);
    }
    if (form == NoteNumber::WithExponent && i < text.size() && text[i] == u'E') {
        qsizetype e = i + 1;
        if (e < text.size() && (text[e] == u'-' || text[e] == u'+'))
            ++e;
        if (SkipDigits(text, e))
            i = e;
    }
    if (i >= text.size() || text[i] != u'"')
        return false;
    converts = ToFloat(text.mid(start, i - start), value);
    at = i + 1;
    return true;
}

} // namespace

bool FindRectangle(QStringView text, NoteNumber form, NotePosition& position, qsizetype from) {
    static constexpr QStringView rectangle = u"<rectangle";
    // Found by its "<r", in a loop of its own over the characters: a note is short, and a string
    // search set up anew for each note would cost more than the loop.
    const char16_t* const data = text.utf16();
    const qsizetype last = text.size() - rectangle.size();
    for (; from <= last; ++from) {
        from = std::find(data + from, data + last + 1, u'<') - data;
        if (from > last)
            break;
        if (data[from + 1] != u'r')
            continue;
        if (!std::equal(rectangle.utf16() + 2, rectangle.utf16() + rectangle.size(), data + from + 2))
            continue;
        qsizetype at = from + rectangle.size();
        const qsizetype afterBlanks = SkipNoteBlanks(text, at);
        if (afterBlanks == at)
            continue;
        at = afterBlanks;
        NotePosition found;
        bool xConverts = false;
        bool yConverts = false;
        if (!ReadQuotedNumber(text, at, u'x', form, found.x, xConverts))
            continue;
        const qsizetype beforeY = SkipNoteBlanks(text, at);
        if (beforeY == at)
            continue;
        at = beforeY;
        if (!ReadQuotedNumber(text, at, u'y', form, found.y, yConverts))
            continue;
        found.converts = xConverts && yConverts;
        position = found;
        return true;
    }
    return false;
}

} // namespace zov::cgif::iso
