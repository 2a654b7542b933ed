// Referents: what follows the ":" of a concept. Each form's text, punctuation included, goes
// into the Referent of the last node of the BoundArray; coreference labels go into its Name.
#include "cgif/reader/CgifReader.h"

namespace zov::cgif {

bool CgifReader::ReadReferent() {
    if (ReadCorefLinks(false)) {
        ReadDescriptor();
    } else {
        ReadDescriptor();
        ReadCorefLinks(true);
    }
    return true;
}

bool CgifReader::ReadCorefLinks(bool optional) {
    bool result = false;
    if (ReadDefiningLabel(false)) {
        result = true;
    } else if (ReadBoundLabels(false)) {
        ResolveBoundLabel(token_);
        result = true;
    }
    return optional ? true : result;
}

bool CgifReader::ReadDefiningLabel(bool optional) {
    if (!MatchChar(u'*', false))
        return optional;
    if (!ReadIdentifier(false))
        return optional;
    // The label goes to the first node carrying the id of the concept read last (normally the
    // concept being read).
    const int target = IndexOfId(currentConceptId_);
    if (target >= 0) {
        SetNodeName(target, token_);
        // As when the label is bound in this graph: the concept defines the new label, and the
        // reference it was made by the bound label is dropped.
        const NodeRecord& node = tables_.BoundArray[static_cast<std::size_t>(target)];
        if (!earlierReferenceId_.isEmpty() && node.Id == earlierReferenceId_ && node.Kind == NodeKind::CoreferentConcept)
            SetNodeKind(target, NodeKind::Concept);
        return true;
    }
    NodeRecord orphan;
    orphan.Name = token_;
    orphan.Type = currentConceptId_;
    AddNode(std::move(orphan));
    return true;
}

bool CgifReader::ReadBoundLabel() {
    if (!MatchChar(u'?', false))
        return false;
    if (!ReadIdentifier(false))
        ReportParseError(1016, QStringLiteral("Missing label indentifier"));
    return true;
}

bool CgifReader::ReadBoundLabels(bool optional) {
    bool any = false;
    while (ReadBoundLabel())
        any = true;
    return any ? true : optional;
}

bool CgifReader::ReadDescriptor() {
    if (ReadQuantifier(false))
        return ReadNestedGraph(true);
    ReadDesignator();
    return ReadNestedGraph(true);
}

bool CgifReader::ReadQuantifier(bool optional) {
    if (!MatchChar(u'@', false))
        return optional;
    try {
        ReadIdentifier(true);
        if (token_.isEmpty())
            ReadNumber(true);
        token_.prepend(u'@');
        LastNode().Referent = token_;
        return true;
    } catch (const ParseError& failure) {
        ShowError(failure.message());
        return false;
    }
}

bool CgifReader::ReadDesignator() {
    if (ReadCollection(false) || ReadLiteral(false) || ReadLocator(false))
        LastNode().Referent = token_;
    return true;
}

bool CgifReader::ReadCollection(bool optional) {
    struct Form {
        QChar open, close;
        int closeError;
        const char* closeMessage;
        int atError;
        const char* atMessage;
        int numberError;
        const char* numberMessage;
    };
    static constexpr Form set{u'{', u'}', 1017, "Expected }", 1018, "Expected @ after {*}", 1019,
                              "Expected a number after @"};
    static constexpr Form sequence{u'<', u'>', 1021, "Expected >", 1022, "Expected @ after <*>", 1023,
                                   "Expected number after @"};
    const Form* form = nullptr;
    if (MatchChar(set.open, false))
        form = &set;
    else if (MatchChar(sequence.open, false))
        form = &sequence;
    else
        return optional;

    if (MatchChar(u'*', false)) {
        if (!MatchChar(form->close, false))
            ReportParseError(form->closeError, QString::fromLatin1(form->closeMessage));
        if (!MatchChar(u'@', false))
            ReportParseError(form->atError, QString::fromLatin1(form->atMessage));
        if (!ReadNumber(false))
            ReportParseError(form->numberError, QString::fromLatin1(form->numberMessage));
        token_ = QString(form->open) + QStringLiteral("*") + form->close + u'@' + token_;
        return true;
    }
    ReadCollectionElements(form->close);
    token_ = QString(form->open) + token_ + form->close;
    return true;
}

bool CgifReader::ReadCollectionElements(QChar terminator) {
    QString result;
    bool met = false;
    while (!(LineEmpty() && atEnd_) && !met) {
        int missingTerminator = 0;
        if (ReadLocator(false))
            missingTerminator = 1002;
        else if (ReadLiteral(false))
            missingTerminator = 1003;
        else
            ReportParseError(1030, QStringLiteral("Expected literal or locator"));
        if (MatchChar(u',', false)) {
            result += token_;
            result += u',';
        } else if (MatchChar(terminator, false)) {
            result += token_;
            met = true;
        } else {
            ReportParseError(missingTerminator, QStringLiteral("Expected collection terminator "));
        }
    }
    token_ = result;
    return true;
}

bool CgifReader::ReadLiteral(bool optional) {
    if (ReadNumber(false))
        return true;
    if (MatchChar(u'"', false)) {
        if (!ReadUntil(u'"'))
            ReportParseError(1004, QStringLiteral("String not terminated"));
        const QString text = token_;
        MatchChar(u'"', false);
        token_ = u'"' + text + u'"';
        return true;
    }
    return optional;
}

bool CgifReader::ReadLocator(bool optional) {
    if (MatchChar(u'\'', false)) {
        if (!ReadUntil(u'\''))
            ReportParseError(1005, QStringLiteral("Expected ' terminator"));
        const QString text = token_;
        MatchChar(u'\'', false);
        token_ = u'\'' + text + u'\'';
        return true;
    }
    if (MatchChar(u'#', false)) {
        ReadIdentifier(true);
        if (token_.isEmpty())
            ReadNumber(true);
        token_.prepend(u'#');
        return true;
    }
    return optional;
}

} // namespace zov::cgif
