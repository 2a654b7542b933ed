#pragma once
// Opening and saving presentations as .pptx files (Office Open XML, Transitional).
//
// Opening reads every slide with its shapes into the host's model; saving writes the model back.
// Whatever the model does not describe (pictures, groups, tables, charts, notes, comments,
// layouts, masters, themes, custom XML, unknown attributes and children of modelled shapes) is
// kept as read and written back byte for byte; only what changed is rewritten. A presentation
// that never came from a file is written with a minimal set of parts of our own.
//
// Every failure is a PptxError (a HostError) whose message names the file and the reason, for
// example:  Cannot open "/home/u/a.pptx": not a presentation (not a zip archive)
//           Cannot save "/media/full/b.pptx": No space left on device
// No input crashes or hangs: archives are read with limits on entry count and uncompressed size,
// XML with a depth limit and no document type declarations (so no entity expansion).
#include "host/Application.h"
#include "host/pptx/PptxError.h"
#include "platform/OutputFile.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace zov::host {

// Reads the file and shows it in a new window of `app`, which becomes the active window (as
// Presentations().Add() does for a new one). The presentation's FullName is the absolute path
// and Saved() is true.
Presentation openPresentation(Application& app, const QString& path);

// The same for a file already in memory; `displayName` stands for the file in error messages
// and becomes FullName.
Presentation openPresentation(Application& app, QByteArray bytes, const QString& displayName);

// Reads a presentation without showing it in any window (batch tools, tests). FullName is
// `displayName`.
Presentation readPresentation(QByteArray bytes, const QString& displayName);

// Writes the presentation to `path` through a temporary file that replaces the old one only when
// everything was written: a failure (a full disk, a kill) leaves the previous file as it was.
// A target that is not a regular file (a device, a FIFO) is written directly (see OutputFile).
// With `unchangedSince`, the file is replaced only while it is still the version with that
// stamp; otherwise nothing is written and the PptxError says another program changed it.
// The package becomes the kind `path` names (".pptx", ".ppsx", ".pptm" and the others: see
// PackageKind.h), as PowerPoint opens only a file whose extension matches its kind; a
// presentation holding macros is not saved under a name of a kind without them (the PptxError
// says which name keeps them) unless that is the kind of name it was read from.
// Afterwards FullName is the absolute path, Saved() is true, and what was written becomes the
// base that the next save compares against. Returns the bytes written (the caller may take
// their digest without reading the file back).
QByteArray savePresentation(const Presentation& presentation, const QString& path,
                            const std::optional<platform::FileStamp>& unchangedSince = std::nullopt);

// Throws the PptxError a save to `path` would throw for the target alone (a folder, a
// read-only file, a missing folder), before the work of making a presentation to save.
void checkSaveTarget(const QString& path);

// The bytes of the file that savePresentation would write, the package of the kind it was
// read as. Leaves the presentation as it is (not marked saved). `displayName` stands for the
// file in error messages.
QByteArray presentationBytes(const Presentation& presentation, const QString& displayName = QStringLiteral("presentation"));

// Whether the presentation was read with a digital signature (a part under "_xmlsignatures/"):
// the signature is kept as it was, and signs the presentation as it was, not as it is saved.
bool isDigitallySigned(const Presentation& presentation);

} // namespace zov::host
