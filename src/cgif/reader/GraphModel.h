#pragma once
// The tables the CGIF reader fills while it reads one top-level graph, and that the slide
// builder, the exporter and the editing commands read. Every table is 0-based and grows by
// one element per append; indexes stored in records stay valid until the table is cut back.
#include "cgif/grammar/Grammar.h"
#include "cgif/reader/RecordText.h"
#include "drawing/NodeId.h"
#include "memory/LargeMemory.h"

#include <QString>
#include <cstdint>
#include <vector>

namespace zov::cgif {

using drawing::NodeId;

// Node roles. A negation is a relation whose Type is "Neg".
namespace NodeKind {
constexpr std::int16_t Graph = 0;
constexpr std::int16_t Concept = 1;
constexpr std::int16_t Relation = 2;
constexpr std::int16_t Actor = 3;
constexpr std::int16_t CoreferentConcept = 4;
constexpr std::int16_t Comment = 5;
} // namespace NodeKind

struct NodeRecord {
    RecordText Name;     // coreference label, nested graph name, or graph name
    RecordText Type;     // type label, "Graph"/title type, "Neg", or a comment's text
    RecordText Referent; // quantifier or designator text, punctuation included
    NodeId Id;        // eight-letter node id; links refer to it
    std::int16_t Kind = NodeKind::Graph;
    int GraphNumber = 0; // graph nodes: the graph counter when the node was made
    float X = 0;      // slide points, 0 when the input gives no position
    float Y = 0;
};

struct LinkRecord {
    NodeId From; // node id at the arc's start
    NodeId To;   // node id the arrow points at
};

struct ContextRecord {
    int GraphIndex = 0;   // index in BoundArray of the context's graph node
    std::int16_t GraphKind = NodeKind::Graph;
    int LinkBase = -1;    // upper bound of Links when the context was opened
    int ArgBase = -1;     // upper bound of PendingArgs when the context was opened
    NodeId SavedConceptId;
    NodeId SavedRelationId;
};

// The node and link tables. A large table lives in blocks of 2 MB pages, so that growing it to
// hundreds of thousands of records costs a page fault per 2 MB rather than per 4 KB.
using NodeTable = std::vector<NodeRecord, memory::LargeAllocator<NodeRecord>>;
using LinkTable = std::vector<LinkRecord, memory::LargeAllocator<LinkRecord>>;

struct ReaderTables {
    NodeTable BoundArray;                  // nodes of the graph being read, in reading order
    NodeTable AllBindings;                 // copies of nested graphs already handed on
    LinkTable Links;                       // arcs of the graph being read
    std::vector<NodeId> PendingArgs;       // argument ids of relations/actors being read
    std::vector<ContextRecord> Contexts;   // open graph contexts; element 0 is the top level
};

// A graph's slide name: its name, "/", its node id, written over `name`.
void WriteSlideName(const NodeRecord& graph, QString& name);

// Index of the last element (-1 for an empty table), and cutting a table back to an upper bound.
using grammar::CutBack;
using grammar::UpperBound;

} // namespace zov::cgif
