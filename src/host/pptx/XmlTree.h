#pragma once
// A small editable XML tree, used where a part or a shape element must be changed in place:
// everything the editor does not touch (unknown attributes, children, comments) is carried
// through unchanged in content.
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace zov::host::pptx {

struct XmlNode {
    enum class Kind { Element, Text, Raw };
    Kind kind = Kind::Element;
    QString qname;       // as written, with its prefix
    QString ns;          // namespace URI of the element
    QString local;       // local name
    std::vector<std::pair<QString, QString>> attrs; // qualified name -> value, xmlns declarations included
    std::vector<std::unique_ptr<XmlNode>> children;
    QString text;        // Text: the character data; Raw: markup written as is

    // The first child element with this namespace and local name, or null.
    XmlNode* child(const QString& uri, QLatin1StringView name) const;
    QString attr(QLatin1StringView name) const;
    void setAttr(const QString& name, const QString& value);
    void removeAttr(QLatin1StringView name);
    XmlNode* insert(size_t index, std::unique_ptr<XmlNode> node);
};

// A deep copy of a node and its subtree.
std::unique_ptr<XmlNode> cloneTree(const XmlNode& node);
// A new element; `prefix` may be empty (default namespace).
std::unique_ptr<XmlNode> makeElement(const QString& prefix, const QString& uri, const QString& local);

// Parses XML text. `scope` holds namespace declarations (prefix, uri) that are in force around
// the fragment but not written inside it. Throws PptxError naming partName.
// Read with the quick reader (FastXml.h) when it takes the text, else with the full one.
std::unique_ptr<XmlNode> parseXmlTree(const QString& text, const QString& partName,
                                      const std::vector<std::pair<QString, QString>>& scope = {});
// The same with the full reader alone: what parseXmlTree must give for any text.
std::unique_ptr<XmlNode> parseXmlTreeFully(const QString& text, const QString& partName,
                                           const std::vector<std::pair<QString, QString>>& scope = {});
// `text` inside an element that declares the namespaces of `scope` (prefix, uri), so that the
// prefixes of a fragment cut from a part resolve when it is read on its own.
QString inNamespaceScope(const QString& text, const std::vector<std::pair<QString, QString>>& scope);
// Writes one element (and its subtree) as XML text.
void writeXmlTree(const XmlNode& node, QString& out);

QString escapeXmlText(const QString& text);
QString escapeXmlAttr(const QString& text);

// Drops the characters XML 1.0 cannot carry (C0 controls other than tab, LF and CR, U+FFFE,
// U+FFFF and unpaired surrogates): text from the user must never make a file unreadable.
QString sanitizeXmlChars(QStringView text);
// True for a character XML 1.0 can carry (a surrogate, paired or not, is not one).
bool isXmlChar(char32_t c);

} // namespace zov::host::pptx
