#pragma once
// Where the desktop reads and writes presentations. The desktop goes through this small
// interface so that opening can run away from the user-interface thread and tests can stand in
// a store of their own (a slow one, to cancel; a failing one, to see the message).
#include "host/Presentation.h"

#include "platform/OutputFile.h"

#include <QHash>
#include <QMutex>
#include <QString>
#include <functional>
#include <optional>

namespace zov::app {

class DocumentStore {
public:
    virtual ~DocumentStore() = default;
    // Reads the file into a presentation shown in no window. Safe to call on a worker thread:
    // it touches nothing but the new presentation. Throws host::HostError (a PptxError names
    // the file and the reason).
    virtual host::Presentation read(const QString& path) = 0;
    // How a write treats a file the store read or wrote before: it replaces it only while it
    // is still that version (Save), or whatever became of it (the user chose to replace it).
    enum class Replace { SameVersionOnly, AnyVersion };
    // Writes the presentation; afterwards its FullName is the path and it counts as saved.
    // A failure leaves any previous file as it was. Throws host::HostError. `waiting`, when
    // given, is told once when another program holds the file and the write waits for it.
    virtual void write(const host::Presentation& presentation, const QString& path,
                       const std::function<void()>& waiting = {}, Replace replace = Replace::SameVersionOnly) = 0;
    // The file at `path` when it exists and is no longer the version this store last read or
    // wrote there (its bytes differ): another program changed it. Its stamp, to tell one such
    // change from the next; nothing for a file the store never saw.
    virtual std::optional<platform::FileStamp> changedElsewhere(const QString& path) const
    {
        (void)path;
        return std::nullopt;
    }
};

// .pptx files, through the host's persistence. Writing over a file this store read (or wrote)
// replaces it only while it is still that version: when another program changed it meanwhile,
// write refuses with a message and leaves both the file and the presentation as they are. A
// file whose stamp changed but whose bytes did not (touched, or copied back by a sync tool) is
// still that version. While writing, the store holds the file's lock (DocumentLock), which
// `import --into` holds too.
class PptxDocumentStore : public DocumentStore {
public:
    host::Presentation read(const QString& path) override;
    void write(const host::Presentation& presentation, const QString& path,
               const std::function<void()>& waiting = {}, Replace replace = Replace::SameVersionOnly) override;
    std::optional<platform::FileStamp> changedElsewhere(const QString& path) const override;

private:
    struct Version {
        platform::FileStamp stamp;
        QByteArray digest; // of the file's bytes
    };
    void remember(const QString& absolutePath, const Version& version);
    std::optional<Version> remembered(const QString& absolutePath) const;

    mutable QMutex mutex_; // read runs on a worker thread
    QHash<QString, Version> versions_; // the version of each file last read or written
};

} // namespace zov::app
