#pragma once
// How a long import tells how far it has read and learns that the user wants it to stop. The
// desktop shows a progress dialog with a Cancel button; tests script the answers.
#include <QtGlobal>

namespace zov::addin {

class ImportProgress {
public:
    virtual ~ImportProgress() = default;
    // The reading has reached about `done` of `total` bytes of the file (total 0: not known,
    // for standard input). Called for every line read: keep it cheap.
    virtual void Advance(qint64 done, qint64 total) = 0;
    // A large graph, read, is being drawn: `done` of its `total` arcs so far, and `total` of
    // `total` when it is over. Called every thousand arcs or so.
    virtual void Drawing(qint64 done, qint64 total) = 0;
    // Asked between two graphs of the file: true stops the import there. The graphs drawn so
    // far stay on their slides; the reading is not reported as finished.
    virtual bool CancelRequested() = 0;
};

} // namespace zov::addin
