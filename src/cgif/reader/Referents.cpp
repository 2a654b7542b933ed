// The reader's side of the referents: the grammar (cgif/grammar/Referents.h) reads them, and
// these record them. Each form's text, punctuation included, goes into the Referent of the last
// node of the BoundArray; coreference labels go into its Name.
#include "cgif/reader/CgifReader.h"

namespace zov::cgif {

// The token is a defining label: it goes to the first node carrying the id of the concept read
// last (normally the concept being read), or, when there is none, to a node of its own.
void CgifReader::DefineLabel() {
    const int target = IndexOfId(currentConceptId_);
    if (target >= 0) {
        const RecordText& before = tables_.BoundArray[static_cast<std::size_t>(target)].Name;
        if (firstLabelReplaced_.isEmpty() && !before.isEmpty() && before.View() != TokenView()) {
            firstLabelReplaced_ = before.ToString();
            firstLabelReplacing_ = TokenView().toString();
        }
        SetNodeName(target, SharedToken());
        // As when the label is bound in this graph: the concept defines the new label, and the
        // reference it was made by the bound label is dropped.
        const NodeRecord& node = tables_.BoundArray[static_cast<std::size_t>(target)];
        if (!earlierReferenceId_.IsEmpty() && node.Id == earlierReferenceId_ && node.Kind == NodeKind::CoreferentConcept)
            SetNodeKind(target, NodeKind::Concept);
        return;
    }
    NodeRecord orphan;
    orphan.Name = SharedToken();
    orphan.Type = currentConceptId_.ToString();
    AddNode(std::move(orphan));
}

bool CgifReader::SetQuantifierReferent() {
    try {
        LastNode().Referent = SharedToken();
        return true;
    } catch (const ParseError& failure) {
        ShowError(failure.message());
        return false;
    }
}

void CgifReader::SetDesignatorReferent() { LastNode().Referent = SharedToken(); }

void CgifReader::CountedCollectionToken(QChar open, QChar close) {
    const char16_t head[] = {open.unicode(), u'*', close.unicode(), u'@'};
    token_.insert(0, head, 4);
}

} // namespace zov::cgif
