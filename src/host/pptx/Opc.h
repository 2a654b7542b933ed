#pragma once
// Open Packaging Conventions: part names, relationships and content types.
#include <QByteArray>
#include <QHash>
#include <QString>
#include <vector>

namespace zov::host::pptx {

struct Relationship {
    QString id;
    QString type;
    QString target;
    bool external = false;
};

// "ppt/slides/slide1.xml" -> "ppt/slides/_rels/slide1.xml.rels"; "" (the package) -> "_rels/.rels".
QString relsPartName(const QString& sourcePart);
// Resolves a relative target against its source part; empty when it leaves the package.
QString resolveTarget(const QString& sourcePart, const QString& target);
// The relative target that reaches `part` from `sourcePart`.
QString relativeTarget(const QString& sourcePart, const QString& part);

std::vector<Relationship> parseRelationships(const QByteArray& xml, const QString& partName);
QByteArray writeRelationships(const std::vector<Relationship>& rels);

// The package's content types. A package of thousands of slides has an override per slide, so
// overrides are found through an index of their lower-case part names, and a removed one is only
// marked (a hole) until holes outnumber the rest.
class ContentTypes {
public:
    std::vector<std::pair<QString, QString>> defaults; // extension -> type

    QString typeOf(const QString& part) const;
    bool hasOverride(const QString& part) const;
    void setOverride(const QString& part, const QString& type);
    void removeOverride(const QString& part);
    // The overrides in the order they were read or set: part name (no leading '/') -> type.
    std::vector<std::pair<QString, QString>> overrides() const;

private:
    std::vector<std::pair<QString, QString>> overrides_; // a hole has an empty part name
    QHash<QString, std::size_t> index_;                  // lower-case part name -> position
    std::size_t holes_ = 0;
};

ContentTypes parseContentTypes(const QByteArray& xml);
QByteArray writeContentTypes(const ContentTypes& types);

} // namespace zov::host::pptx
