#pragma once
// The package a presentation was read from (or will be written into): every part as it was
// read, in archive order, plus what the writer needs to put the model's slides back into it.
// PresentationData::package holds one of these; parts the model does not describe (masters,
// layouts, themes, media, notes, charts, custom XML, ...) are written back from here unchanged.
#include "host/pptx/Opc.h"
#include "host/pptx/SlideScan.h"
#include "host/pptx/TextDefaults.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace zov::host {
struct PresentationData;
}

namespace zov::host::pptx {

struct Part {
    QString name; // as stored in the archive, no leading '/'
    QByteArray data;
};

// Parts by name. Part names compare without regard to letter case, as the package format says.
class PartSet {
public:
    const QByteArray* find(const QString& name) const;
    bool contains(const QString& name) const { return find(name) != nullptr; }
    // The stored spelling of a name, or the empty string when there is no such part.
    QString spelling(const QString& name) const;
    void set(const QString& name, QByteArray data); // replaces the part's data, or appends a new part
    void remove(const QString& name);
    // Every part, in the order they were added.
    const std::vector<Part>& all();
    size_t size() const { return parts_.size() - holes_; }

private:
    void compact();
    // A removed part leaves a hole (a part without a name) until the next all() or until holes
    // are most of the list, so that removing the parts of thousands of slides stays linear.
    std::vector<Part> parts_;
    size_t holes_ = 0;
    QHash<QString, size_t> index_; // lower-case name -> position in parts_
};

struct Package {
    PartSet parts;
    QString presentationPart; // "ppt/presentation.xml" or wherever the package's main relationship points

    // The slides that presentation.xml lists, as last read or written: part name -> relationship
    // id in the presentation's relationships. A model slide whose part is not here is new; a part
    // here that no model slide has any more was deleted.
    QHash<QString, QString> slideRelIds;
    QStringList slideOrder;             // the same slide parts in sldIdLst order
    std::vector<std::uint32_t> slideIds; // their sldId ids, same order
    float slideWidth = 720, slideHeight = 540; // the page size as stored

    // What shapes of each slide inherit (theme fonts and colours, default text style), by slide
    // part; the writer reads the original shapes with the same defaults to see what changed.
    QHash<QString, std::shared_ptr<const TextDefaults>> defaultsBySlide;
    std::shared_ptr<const TextDefaults> defaultsForNewSlides;

    // Each slide part cut around its shapes (see SlidePieces), as read or last written.
    QHash<QString, std::shared_ptr<const SlidePieces>> piecesBySlide;

    const TextDefaults& defaultsFor(const QString& slidePart) const;
};

// The relationships of a part ("" for the package's own) as its relationships part lists them;
// none when it has none or that part cannot be read.
std::vector<Relationship> readRelationships(const PartSet& parts, const QString& part);

// The package of a presentation, or null when it was never read from or written to a file.
std::shared_ptr<Package> packageOf(const PresentationData& presentation);

} // namespace zov::host::pptx
