#include "app/document/DocumentStore.h"

#include "host/pptx/PptxFile.h"

#include <QFile>
#include <QFileInfo>

namespace zov::app {

host::Presentation PptxDocumentStore::read(const QString& path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QFile file(absolute);
    if (!file.open(QIODevice::ReadOnly))
        throw host::PptxError(QStringLiteral("Cannot open \"%1\": %2").arg(absolute, file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw host::PptxError(QStringLiteral("Cannot open \"%1\": %2").arg(absolute, file.errorString()));
    host::Presentation presentation = host::readPresentation(bytes, absolute);
    presentation.SetSaved(true);
    return presentation;
}

void PptxDocumentStore::write(const host::Presentation& presentation, const QString& path)
{
    host::savePresentation(presentation, path);
}

} // namespace zov::app
