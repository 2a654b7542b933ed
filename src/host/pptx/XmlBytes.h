#pragma once
// XML written piece by piece into a byte string: markup as it is, numbers, colours, and the
// user's text as UTF-8, sanitized and escaped. A new shape is a few hundred such pieces; each
// goes in as a copy of its bytes behind one size check, where an append to a QByteArray is a
// call through its general insert and a number or colour a string of its own.
#include <QByteArray>
#include <QStringView>
#include <cstdint>
#include <string>
#include <string_view>

namespace zov::host::pptx {

class XmlBytes {
public:
    void Raw(std::string_view bytes) { bytes_.append(bytes); }
    void Raw(const char* bytes) { bytes_.append(bytes); }
    void Raw(char c) { bytes_.push_back(c); }
    void Raw(const QByteArray& bytes) { bytes_.append(bytes.constData(), static_cast<std::size_t>(bytes.size())); }
    // Characters below U+0100, one byte each: names and values that are ASCII by construction.
    void Latin1(QStringView text);
    void Number(std::int64_t value);
    // A colour stored blue-green-red as "RRGGBB", upper case.
    void HexColour(std::uint32_t bgr);
    // Text from the user, as UTF-8: the characters XML 1.0 cannot carry are dropped (see
    // sanitizeXmlChars), and what markup would read is escaped, for character data or for a
    // double-quoted attribute (which also keeps its tabs and line ends as references).
    void Text(QStringView text) { Escaped(text, false); }
    void Attribute(QStringView text) { Escaped(text, true); }

    void Clear() { bytes_.clear(); }
    std::string_view View() const { return bytes_; }
    void AppendTo(QByteArray& out) const { out.append(bytes_.data(), static_cast<qsizetype>(bytes_.size())); }

private:
    void Escaped(QStringView text, bool attribute);
    std::string bytes_;
};

} // namespace zov::host::pptx
