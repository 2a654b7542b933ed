#include "app/document/SignedDocument.h"

#include "host/pptx/PptxFile.h"

namespace zov::app {

bool SaveBreaksSignature(const host::Presentation& presentation)
{
    return !presentation.Saved() && host::isDigitallySigned(presentation);
}

QString SignatureNoLongerMatches(const QString& name)
{
    return QStringLiteral("\"%1\" was digitally signed: its signature was kept, but it no longer matches the changed "
                          "presentation, which presentation programs will say")
        .arg(name);
}

} // namespace zov::app
