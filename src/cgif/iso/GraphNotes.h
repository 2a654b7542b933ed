#pragma once
// The note the ISO export leaves as the first element of each graph, naming the slide the
// graph is drawn on and its type, and for a nested graph where its pentagon stands:
//   /* <graph name="Rain" type="Proposition"/> */
//   /* <graph name="Wet" type="Proposition"><layout><rectangle x="40" y="60"/></layout></graph> */
// Like a layout note it is read by the program and makes no comment node.
#include <QString>
#include <QStringView>

namespace zov::cgif::iso {

struct GraphNote {
    bool isNote = false;
    QString name; // XML escapes undone
    QString type;
    bool hasPosition = false;
    float x = 0;
    float y = 0;
};

GraphNote ReadGraphNote(QStringView comment);

} // namespace zov::cgif::iso
