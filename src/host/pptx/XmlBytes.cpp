#include "host/pptx/XmlBytes.h"

#include "host/pptx/Units.h"
#include "host/pptx/XmlTree.h"

#include <charconv>

namespace zov::host::pptx {

namespace {

void appendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

} // namespace

void XmlBytes::Latin1(QStringView text)
{
    for (const QChar c : text)
        bytes_.push_back(static_cast<char>(c.unicode() < 0x100 ? c.unicode() : '?'));
}

void XmlBytes::Number(std::int64_t value)
{
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    bytes_.append(digits, end);
}

void XmlBytes::HexColour(std::uint32_t bgr)
{
    char digits[6];
    bgrToHexDigits(bgr, digits);
    bytes_.append(digits, 6);
}

void XmlBytes::Escaped(QStringView text, bool attribute)
{
    bytes_.reserve(bytes_.size() + static_cast<std::size_t>(text.size()) + 16);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1].unicode())) {
            appendUtf8(bytes_, QChar::surrogateToUcs4(c, text[i + 1].unicode()));
            ++i;
            continue;
        }
        if (!isXmlChar(c))
            continue;
        switch (c) {
        case '&': bytes_.append("&amp;"); break;
        case '<': bytes_.append("&lt;"); break;
        case '>': bytes_.append("&gt;"); break;
        case '\r': bytes_.append("&#13;"); break;
        case '"':
        case '\t':
        case '\n': // in an attribute a reader would turn a tab or line end into a blank
            if (attribute)
                bytes_.append(c == '"' ? "&quot;" : c == '\t' ? "&#9;" : "&#10;");
            else
                bytes_.push_back(static_cast<char>(c));
            break;
        default: appendUtf8(bytes_, c);
        }
    }
}

} // namespace zov::host::pptx
