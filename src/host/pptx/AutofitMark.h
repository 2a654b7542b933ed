#pragma once
// How a shape that fits itself to its one-line text is marked in the file. PowerPoint and this
// program read `a:spAutoFit` (with `wrap="none"`); LibreOffice Impress, on a pentagon or a
// callout so marked, wraps the text inside a box narrower than the shape however wide it is,
// and the second line hangs below the shape. Those two are written with no autofit element
// at all, which every program draws as it stands, and one of them read with `wrap="none"` and
// no autofit element or `a:noAutofit` (Impress writes that back) is taken to fit its text, as
// it was written; only `a:normAutofit` says otherwise.
#include "host/AutoShapeType.h"

namespace zov::host::pptx {

inline bool FitsWithoutAutofitMark(int autoShapeType)
{
    return autoShapeType == ShapePentagon || autoShapeType == ShapeRoundedRectangularCallout;
}

// The autofit element a shape's text body is written with, or nullptr for none.
inline const char* AutofitElement(int autoShapeType, int autoSize, bool wordWrap)
{
    if (autoSize == AutoSizeShapeToFitText)
        return !wordWrap && FitsWithoutAutofitMark(autoShapeType) ? nullptr : "spAutoFit";
    return autoSize == AutoSizeTextToFitShape ? "normAutofit" : "noAutofit";
}

} // namespace zov::host::pptx
