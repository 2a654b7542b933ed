#pragma once
// Names of the hidden files a save keeps beside a document (its temporary file, its lock).
#include <QByteArray>

namespace zov::platform {

// The longest file name (in bytes) the file systems we write to take.
constexpr qsizetype MaxFileNameBytes = 255;

// "." + `name` + `suffix`, the name of a hidden file beside the file `name` (a name without
// folder, in the file system's encoding). Where that would be longer than MaxFileNameBytes, the
// start of `name`, cut between two characters, is followed by a hash of the whole name, so that
// a document with the longest name the file system takes still has its hidden files, and two
// such documents do not share them.
QByteArray HiddenNameBeside(const QByteArray& name, const QByteArray& suffix);

} // namespace zov::platform
