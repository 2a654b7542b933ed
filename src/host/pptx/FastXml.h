#pragma once
// A quick reader for the common form of slide XML: elements, attributes, namespaces, text, the
// predefined entities and character references, comments and processing instructions. It offers
// the few calls of QXmlStreamReader that the slide scan and the shape reader use, at a fraction
// of its cost. Anything outside that form, and anything not well-formed (a DTD, CDATA, an
// undeclared prefix, a repeated attribute, a stray character, unbalanced tags, too deep
// nesting), makes it give up with FastXmlUnsupported: the caller then reads the part again
// with XmlCursor, which accepts what the standard allows and words every error.
#include "host/pptx/XmlCursor.h"

#include <QSet>
#include <QString>
#include <QStringView>
#include <QXmlStreamReader>
#include <deque>
#include <vector>

namespace zov::host::pptx {

struct FastXmlUnsupported {};

class FastXmlCursor {
public:
    struct Declaration {
        QStringView prefixText, uri;
        QStringView prefix() const { return prefixText; }
        QStringView namespaceUri() const { return uri; }
    };

    class Attributes {
    public:
        explicit Attributes(const FastXmlCursor& cursor) : cursor_(&cursor) {}
        // The value of the attribute with this qualified name; empty when there is none.
        QStringView value(QLatin1StringView qualifiedName) const;
        bool hasAttribute(QLatin1StringView qualifiedName) const;
        // Calls visit(qualified name, value) for each attribute, in the order written.
        template <typename Visit>
        void forEach(Visit visit) const {
            for (const Attribute& a : cursor_->attributes_)
                visit(a.qname, cursor_->decode(a.raw, true));
        }
    private:
        const FastXmlCursor* cursor_;
    };

    FastXmlCursor(const QString& text, QString partName);

    QXmlStreamReader::TokenType next();
    bool atEnd() const { return atEnd_; }
    FastXmlCursor& reader() { return *this; }
    int depth() const { return static_cast<int>(open_.size()); }
    qint64 offset() const { return pos_; }
    void skipElement();
    [[noreturn]] void fail(const QString& reason) const;

    // The current token, as QXmlStreamReader names it.
    bool isStartElement() const { return token_ == QXmlStreamReader::StartElement; }
    QStringView name() const { return local_; }
    QStringView namespaceUri() const { return uri_; }
    QStringView qualifiedName() const { return qname_; }
    QStringView text() const;
    Attributes attributes() const { return Attributes(*this); }
    const std::vector<Declaration>& namespaceDeclarations() const { return declarations_; }

private:
    struct Attribute {
        QStringView qname, raw;
    };
    struct Open {
        QStringView qname, local, uri;
        std::size_t scopeMark;
    };

    [[noreturn]] static void unsupported() { throw FastXmlUnsupported(); }
    QStringView decode(QStringView raw, bool attribute) const;
    QStringView resolve(QStringView prefix) const;
    qsizetype readName(qsizetype at) const; // end of the name starting at `at`
    void startTag();
    // True when the current start tag already has an attribute `name`; notes it otherwise.
    bool repeatedAttribute(QStringView name);
    static constexpr std::size_t MaxDeclarationsPerTag = 64;
    void endTag();
    void closeElement(); // the innermost open element ends: its names and scope come back

    QString source_;
    QStringView text_;
    QString partName_;
    qsizetype pos_ = 0;
    QXmlStreamReader::TokenType token_ = QXmlStreamReader::NoToken;
    bool atEnd_ = false, rootSeen_ = false, pendingEnd_ = false;
    QStringView qname_, local_, uri_, rawText_;
    std::vector<Attribute> attributes_;
    // The names of the current start tag's attributes once it has many, so that telling a
    // repeated name stays linear in their number.
    QSet<QStringView> attributeNames_;
    std::vector<Declaration> declarations_; // made by the current start tag
    std::vector<Declaration> scope_;        // every declaration in force, innermost last
    std::vector<Open> open_;
    mutable std::deque<QString> decoded_;   // decoded values of the current token
};

} // namespace zov::host::pptx
