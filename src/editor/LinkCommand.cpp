// The link command: a first run picks the source under the pointer, a second run picks the
// target and draws the arc after the structural checks, or makes two plain concepts on
// different slides coreferent.
#include "drawing/GraphEncoding.h"
#include "drawing/NameParts.h"
#include "editor/EditorMessages.h"
#include "editor/EditorSession.h"
#include "host/HostError.h"

namespace zov::editor {

namespace {
bool CannotBeLinked(int type) {
    return type == drawing::TitleLabelShapeType || type == drawing::ArcShapeType;
}
} // namespace

void EditorSession::RefuseLink(const QString& text) {
    messages_.inform(text, messages::ErrorTitle, platform::MessageIcon::Critical);
    ClearLinkPicks();
}

void EditorSession::LinkAtPointer() {
    if (ReportNoBoxes())
        return;
    host::DocumentWindow window = application_.ActiveWindow();

    // A source whose shape has been deleted since it was picked is no pick: this run picks anew
    // (the window's undo history may still hold the deleted shape, so its handle is not empty).
    if (!linkFrom_.IsAlive()) {
        linkFrom_ = host::Shape();
        const host::Shape from = ShapeAtPointer();
        try {
            if (from.IsNothing() || CannotBeLinked(from.AutoShapeType()))
                return;
            const QString slideName = window.View().Slide().Name();
            const QString label = from.TextFrame().TextRange().Text();
            linkFrom_ = from;
            linkFromSlide_ = slideName;
            textBox_->SetText(label + QStringLiteral(" in ") + slideName);
        } catch (const host::HostError&) {
            linkFrom_ = host::Shape();
        }
        return;
    }

    const host::Shape to = ShapeAtPointer();
    int toType = 0;
    QString toLabel;
    try {
        if (to.IsNothing())
            return;
        toType = to.AutoShapeType();
        if (CannotBeLinked(toType))
            return;
        toLabel = to.TextFrame().TextRange().Text();
    } catch (const host::HostError&) {
        return; // the source stays picked
    }
    linkTo_ = to;
    textBox_->SetText(toLabel);

    const QString fromName = linkFrom_.Name();
    const int fromType = linkFrom_.AutoShapeType();
    const QString toName = linkTo_.Name();
    const cgif::LinkTable& links = reader_.Tables().Links;
    for (const cgif::LinkRecord& link : links) {
        if (link.From == fromName && link.To == toName) {
            RefuseLink(messages::AlreadyLinked);
            return;
        }
    }

    using drawing::ActorShapeType;
    using drawing::ConceptShapeType;
    using drawing::RelationShapeType;
    const host::Slide shown = window.View().Slide();
    if (fromType == RelationShapeType && toType == RelationShapeType) {
        RefuseLink(messages::CannotLinkTwoRelations);
        return;
    }
    if (fromType == ConceptShapeType && toType == ConceptShapeType) {
        if (linkFromSlide_ == shown.Name())
            RefuseLink(messages::CannotLinkTwoConcepts);
        else
            CrossSlideCoreference(shown);
        return;
    }
    if (fromType == ActorShapeType && toType == ActorShapeType) {
        RefuseLink(messages::CannotLinkTwoActors);
        return;
    }
    if ((fromType == ActorShapeType && toType == RelationShapeType) ||
        (fromType == RelationShapeType && toType == ActorShapeType)) {
        RefuseLink(messages::CannotLinkActorToRelation);
        return;
    }
    // A connector is glued to shapes of its own slide only.
    if (!(linkFrom_.Parent() == shown)) {
        RefuseLink(messages::CannotLinkAcrossSlides);
        return;
    }
    if (fromType == RelationShapeType && toType == ConceptShapeType) {
        for (const cgif::LinkRecord& link : links) {
            if (link.From == fromName) {
                RefuseLink(messages::OneOutArc);
                return;
            }
        }
    }

    host::Shape arc = shown.Shapes().AddConnector(host::ConnectorStraight, drawing::ArcInitialBeginX,
                                                  drawing::ArcInitialBeginY, drawing::ArcInitialEndX,
                                                  drawing::ArcInitialEndY);
    try {
        arc.Line().SetEndArrowheadStyle(drawing::ArcArrowhead);
        arc.ConnectorFormat().BeginConnect(linkFrom_, drawing::ArcGlueSite);
        arc.ConnectorFormat().EndConnect(linkTo_, drawing::ArcGlueSite);
        arc.RerouteConnections();
    } catch (const host::HostError&) {
        // A shape without connection sites: no half-glued arc is left behind.
        arc.Delete();
        ClearLinkPicks();
        throw;
    }

    // A plain concept at the arrow's end gets a coreference label, unless the arc comes from
    // a plain concept.
    const bool fromPlainConcept = fromType == ConceptShapeType && drawing::LabelPart(fromName).isEmpty();
    if (!fromPlainConcept && toType == ConceptShapeType && drawing::LabelPart(toName).isEmpty())
        linkTo_.SetName(NewCoreferenceLabel() + QStringLiteral("/") + drawing::IdPart(toName));

    reader_.AddLink({cgif::NodeId(linkFrom_.Name()), cgif::NodeId(linkTo_.Name())});
    ClearLinkPicks();
}

void EditorSession::CrossSlideCoreference(host::Slide shownSlide) {
    const int sourceIndex = FindGraphSlide(linkFromSlide_);
    if (sourceIndex < shownSlide.SlideIndex()) {
        RefuseLink(messages::CannotLinkToLaterSlide);
        return;
    }
    const QString fromName = linkFrom_.Name();
    const QString toName = linkTo_.Name();
    // A target that already carries a label keeps it, and the source joins it; otherwise
    // both get a label no slide uses yet.
    QString label = drawing::LabelPart(toName);
    const bool labelTarget = label.isEmpty();
    if (labelTarget)
        label = NewCoreferenceLabel();

    linkFrom_.SetName(label + QStringLiteral("/") + drawing::IdPart(fromName));
    host::TextRangeFormat text = linkFrom_.TextFrame().TextRange();
    text.SetText(text.Text() + QStringLiteral("(") + drawing::TypePart(linkTo_.TextFrame().TextRange().Text()) +
                 QStringLiteral(" in ") + shownSlide.Name() + QStringLiteral(")"));
    linkFrom_.TextFrame().SetAutoSize(host::AutoSizeShapeToFitText);
    if (labelTarget)
        linkTo_.SetName(label + QStringLiteral("/") + drawing::IdPart(toName));
    linkFrom_.SetAutoShapeType(drawing::CoreferentConceptShapeType);
    application_.ActiveWindow().View().GotoSlide(sourceIndex);
    linkFromSlide_.clear();
    ClearLinkPicks();
}

} // namespace zov::editor
