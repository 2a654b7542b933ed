// Reading and writing the presentation of a batch command that works on .pptx files (arrange,
// export, import, render). Each failure is shown in one "Error" box naming the file and the reason.
#include "app/BatchPresentation.h"

#include "app/document/SignedDocument.h"

#include "host/pptx/PptxFile.h"
#include "host/pptx/ZipArchive.h"
#include "platform/MessageBox.h"

#include <QFile>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace zov::app {

namespace {

const QString ErrorTitle = QStringLiteral("Error");

// The whole of standard input, refused beyond the size a presentation file may have.
QByteArray readStandardInput() {
    const qint64 maxBytes = host::pptx::ZipLimits{}.maxArchiveSize;
    const QString name = QStringLiteral("standard input");
    QFile in;
    if (!in.open(stdin, QIODevice::ReadOnly))
        throw host::PptxError(QStringLiteral("Cannot open \"standard input\": ") + in.errorString(), name,
                              in.errorString());
    QByteArray bytes;
    char piece[64 * 1024];
    for (;;) {
        const qint64 got = in.read(piece, sizeof piece);
        if (got < 0)
            throw host::PptxError(QStringLiteral("Cannot read \"standard input\": ") + in.errorString(), name,
                                  in.errorString());
        if (got == 0)
            return bytes;
        if (bytes.size() + got > maxBytes)
            throw host::PptxError(QStringLiteral("Cannot open \"standard input\": the presentation is too large"), name,
                                  QStringLiteral("the presentation is too large"));
        bytes.append(piece, static_cast<qsizetype>(got));
    }
}

} // namespace

std::optional<host::Presentation> openBatchPresentation(host::Application& app, const QString& input,
                                                        platform::MessageBoxes& messages) {
    try {
        if (input == QLatin1String("-"))
            return host::openPresentation(app, readStandardInput(), QStringLiteral("standard input"));
        return host::openPresentation(app, input);
    } catch (const host::PptxError& error) {
        messages.inform(error.message(), ErrorTitle, platform::MessageIcon::Critical);
    } catch (const host::HostError& error) {
        messages.inform(QStringLiteral("Cannot open \"%1\": %2").arg(input, QString::fromStdString(error.what())),
                        ErrorTitle, platform::MessageIcon::Critical);
    }
    return std::nullopt;
}

bool outputWritable(const QString& output, OutputKind kind, platform::MessageBoxes& messages) {
    if (output == QLatin1String("-")) {
        // A presentation is a zip archive: on a terminal it is noise that can upset the terminal.
        if (kind == OutputKind::Presentation && ::isatty(STDOUT_FILENO)) {
            messages.inform(QStringLiteral("Cannot write a presentation to the terminal: send standard output to a "
                                           "file or a program, or name the file with -o"),
                            ErrorTitle, platform::MessageIcon::Critical);
            return false;
        }
        return true;
    }
    try {
        if (kind == OutputKind::Presentation)
            host::checkSaveTarget(output);
        else
            platform::CheckOutputTarget(output);
        return true;
    } catch (const host::PptxError& error) {
        messages.inform(error.message(), ErrorTitle, platform::MessageIcon::Critical);
    } catch (const platform::FileError& error) {
        messages.inform(error.message(), ErrorTitle, platform::MessageIcon::Critical);
    }
    return false;
}

bool saveBatchPresentation(const host::Presentation& presentation, const QString& output,
                           platform::MessageBoxes& messages, const std::optional<platform::FileStamp>& unchangedSince) {
    try {
        // A signature signs the parts as read: a change to them leaves it not matching.
        const bool signatureBroken = SaveBreaksSignature(presentation);
        if (output == QLatin1String("-")) {
            const QByteArray bytes = host::presentationBytes(presentation, QStringLiteral("standard output"));
            errno = 0;
            if (std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout) !=
                    static_cast<std::size_t>(bytes.size()) ||
                std::fflush(stdout) != 0) {
                // The system's reason (a full disk, a closed pipe) where it gave one.
                const QString why = errno != 0 ? QString::fromLocal8Bit(std::strerror(errno)) : QStringLiteral("the output was closed");
                messages.inform(QStringLiteral("Cannot save to standard output: ") + why, ErrorTitle,
                                platform::MessageIcon::Critical);
                return false;
            }
        } else {
            host::savePresentation(presentation, output, unchangedSince);
        }
        if (signatureBroken)
            messages.inform(SignatureNoLongerMatches(output == QLatin1String("-") ? QStringLiteral("The presentation") : output),
                            QStringLiteral("ZOVEdit"), platform::MessageIcon::Exclamation);
        return true;
    } catch (const host::PptxError& error) {
        messages.inform(error.message(), ErrorTitle, platform::MessageIcon::Critical);
    } catch (const host::HostError& error) {
        messages.inform(QStringLiteral("Cannot save \"%1\": %2").arg(output, QString::fromStdString(error.what())),
                        ErrorTitle, platform::MessageIcon::Critical);
    }
    return false;
}

} // namespace zov::app
