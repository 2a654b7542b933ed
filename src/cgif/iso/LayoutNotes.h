#pragma once
// Where other tools leave the place they drew a node: in a comment of the node.
//   CharGer     /* <concept id="…"> … <layout> <rectangle x="277.0" y="54.0" …/> … */
//   Amine       [Go : *p1 ; & 235 89]   and a relation's arc points  ; (154 87)(235 97)
//   CGHSD       ;CGHSD2.3b&Concept|62|496,129,95,25|&   (id, then left, top, width, height)
// Such a comment is a note for the program, not text for the user: it sets the node's position
// (the first point for a relation) and makes no comment node.
#include <QString>
#include <QStringView>

namespace zov::cgif::iso {

struct LayoutNote {
    bool isNote = false;      // the comment is a layout note of one of the forms above
    bool hasPosition = false; // it gives a position for the node it belongs to
    float x = 0;
    float y = 0;
};

LayoutNote ReadLayoutNote(QStringView comment);

} // namespace zov::cgif::iso
