#pragma once
// Coreference labels the writer makes up for concepts that have none but must be referred to
// a second time: "c1", "c2", ... skipping every label used in a shape name on any slide, every
// slide name, and every label written after "*" or "?" in a shape's text, so a made-up label
// never joins two concepts that were not joined.
#include "host/Presentation.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <optional>
#include <vector>

namespace zov::cgif::exporter {

class FreshLabels {
public:
    explicit FreshLabels(host::Presentation presentation) : presentation_(std::move(presentation)) {}
    QString next();

private:
    void collectUsed();

    host::Presentation presentation_;
    QSet<QString> used_;
    bool collected_ = false;
    int counter_ = 0;
};

// The labels made up during one export, one per concept name, each made on first need.
class MadeUpLabels {
public:
    QString labelFor(const QString& name, const host::Presentation& presentation);
    const QHash<QString, QString>& all() const { return labels_; } // concept name -> label
    const std::vector<QString>& inOrder() const { return order_; }  // the labels, oldest first
    void clear() {
        labels_.clear();
        order_.clear();
        fresh_.reset();
    }

private:
    QHash<QString, QString> labels_;
    std::vector<QString> order_;
    std::optional<FreshLabels> fresh_;
};

} // namespace zov::cgif::exporter
