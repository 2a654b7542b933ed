#include "cgif/import/ImportCommand.h"

#include "cgif/iso/DialectReading.h"

#include "cgif/reader/CgifReader.h"
#include "platform/MessageBox.h"
#include "platform/TextStream.h"

#include <new>

namespace zov::cgif::importer {

namespace {

const QString ErrorTitle = QStringLiteral("Error");

// Closes the stream however the reading ends.
class CloseOnExit {
public:
    explicit CloseOnExit(platform::TextStream& stream) : stream_(stream) {}
    ~CloseOnExit() {
        try {
            stream_.Close();
        } catch (...) {
            // a failing close of an input changes nothing that was read
        }
    }
    CloseOnExit(const CloseOnExit&) = delete;
    CloseOnExit& operator=(const CloseOnExit&) = delete;

private:
    platform::TextStream& stream_;
};

void ShowError(platform::MessageBoxes& messages, const QString& text) {
    messages.inform(text, ErrorTitle, platform::MessageIcon::Critical);
}

} // namespace

ImportOutcome ImportCgif(CgifReader& reader, platform::TextStream& in, platform::MessageBoxes& messages,
                         const RebuildHook& rebuildNodeTables, dialect::DialectChoice dialect,
                         const iso::ReadingPosition& position, const FinishHook& finish, const EarlyEndHook& endedEarly) {
    bool read = false;
    {
        CloseOnExit closer(in);
        try {
            read = iso::ReadCgifInDialect(reader, in, dialect, position);
        } catch (const ParseError& failure) {
            // Raised while a title comment was read: the reader's own text, as it shows others.
            ShowError(messages, failure.message());
        } catch (const platform::FileError& failure) {
            ShowError(messages, QStringLiteral("The CGIF file could not be read: ") + failure.message());
        } catch (const std::bad_alloc&) {
            ShowError(messages, QStringLiteral("The CGIF file could not be read: not enough memory"));
        } catch (const std::exception& failure) {
            ShowError(messages, QStringLiteral("The CGIF file could not be read: ") + QString::fromUtf8(failure.what()));
        }
    }
    if (finish)
        finish();
    if (read && !(endedEarly && endedEarly()))
        messages.inform(QStringLiteral("File read"), QStringLiteral("ZOVEdit"), platform::MessageIcon::Information);
    if (rebuildNodeTables)
        rebuildNodeTables();
    return read ? ImportOutcome::Read : ImportOutcome::StoppedAtError;
}

ImportOutcome ImportCgifFile(CgifReader& reader, const QString& path, platform::MessageBoxes& messages,
                             const RebuildHook& rebuildNodeTables, dialect::DialectChoice dialect,
                             const iso::ReadingPosition& position, const FinishHook& finish,
                             const EarlyEndHook& endedEarly) {
    std::unique_ptr<platform::TextStream> in;
    try {
        in = platform::OpenTextFile(path);
    } catch (const platform::FileError& failure) {
        ShowError(messages, failure.message());
        return ImportOutcome::FileNotOpened;
    }
    return ImportCgif(reader, *in, messages, rebuildNodeTables, dialect, position, finish, endedEarly);
}

} // namespace zov::cgif::importer
