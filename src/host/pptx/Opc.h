#pragma once
// Open Packaging Conventions: part names, relationships and content types.
#include <QByteArray>
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

struct ContentTypes {
    std::vector<std::pair<QString, QString>> defaults;  // extension -> type
    std::vector<std::pair<QString, QString>> overrides; // part name (no leading '/') -> type
    QString typeOf(const QString& part) const;
    void setOverride(const QString& part, const QString& type);
    void removeOverride(const QString& part);
};

ContentTypes parseContentTypes(const QByteArray& xml);
QByteArray writeContentTypes(const ContentTypes& types);

} // namespace zov::host::pptx
