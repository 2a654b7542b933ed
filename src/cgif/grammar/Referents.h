#pragma once
// The referent routines of the grammar: what follows the ":" of a concept. Each form's text,
// punctuation included, is built in the token, which the model records; coreference labels go
// to the model as they are read.
#include "cgif/grammar/Grammar.h"

namespace zov::cgif::grammar {

template <typename Model, typename Text>
bool Grammar<Model, Text>::ReadReferent() {
    if (ReadCorefLinks(false)) {
        ReadDescriptor();
    } else {
        ReadDescriptor();
        ReadCorefLinks(true);
    }
    return true;
}

template <typename Model, typename Text>
bool Grammar<Model, Text>::ReadCorefLinks(bool optional) {
    bool result = false;
    if (ReadDefiningLabel(false)) {
        result = true;
    } else if (ReadBoundLabels(false)) {
        ResolveBoundLabel(Self().TokenLabel());
        result = true;
    }
    return optional ? true : result;
}

template <typename Model, typename Text>
bool Grammar<Model, Text>::ReadDefiningLabel(bool optional) {
    if (!MatchChar(Char(u'*'), false))
        return optional;
    if (!ReadIdentifier(false))
        return optional;
    Self().DefineLabel();
    return true;
}

template <typename Model, typename Text>
bool Grammar<Model, Text>::ReadBoundLabel() {
    if (!MatchChar(Char(u'?'), false))
        return false;
    if (!ReadIdentifier(false))
        Self().Fail(1016, "Missing label indentifier");
    return true;
}

template <typename Model, typename Text>
bool Grammar<Model, Text>::ReadBoundLabels(bool optional) {
    bool any = false;
    while (ReadBoundLabel())
        any = true;
    return any ? true : optional;
}

template <typename Model, typename Text>
bool Grammar<Model, Text>::ReadDescriptor() {
    if (ReadQuantifier(false))
        return Self().ReadNestedGraph(true);
    ReadDesignator();
    return Self().ReadNestedGraph(true);
}

template <typename Model, typename Text>
bool Grammar<Model, Text>::ReadQuantifier(bool optional) {
    if (!MatchChar(Char(u'@'), false))
        return optional;
    ReadIdentifier(true);
    if (Self().TokenEmpty())
        ReadNumber(true);
    Self().PrefixToken(Char(u'@'));
    return Self().SetQuantifierReferent();
}

template <typename Model, typename Text>
bool Grammar<Model, Text>::ReadDesignator() {
    if (ReadCollection(false) || ReadLiteral(false) || ReadLocator(false))
        Self().SetDesignatorReferent();
    return true;
}

template <typename Model, typename Text>
bool Grammar<Model, Text>::ReadCollection(bool optional) {
    struct Form {
        char16_t open, close;
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
    if (MatchChar(Char(set.open), false))
        form = &set;
    else if (MatchChar(Char(sequence.open), false))
        form = &sequence;
    else
        return optional;

    if (MatchChar(Char(u'*'), false)) {
        if (!MatchChar(Char(form->close), false))
            Self().Fail(form->closeError, form->closeMessage);
        if (!MatchChar(Char(u'@'), false))
            Self().Fail(form->atError, form->atMessage);
        if (!ReadNumber(false))
            Self().Fail(form->numberError, form->numberMessage);
        Self().CountedCollectionToken(Char(form->open), Char(form->close));
        return true;
    }
    ReadCollectionElements(Char(form->close));
    Self().WrapToken(Char(form->open), Char(form->close));
    return true;
}

template <typename Model, typename Text>
bool Grammar<Model, Text>::ReadCollectionElements(Char terminator) {
    auto list = Self().NewList();
    bool met = false;
    while (!(LineEmpty() && atEnd_) && !met) {
        int missingTerminator = 0;
        if (ReadLocator(false))
            missingTerminator = 1002;
        else if (ReadLiteral(false))
            missingTerminator = 1003;
        else
            Self().Fail(1030, "Expected literal or locator");
        if (MatchChar(Char(u','), false)) {
            Self().AddToList(list, true);
        } else if (MatchChar(terminator, false)) {
            Self().AddToList(list, false);
            met = true;
        } else {
            Self().Fail(missingTerminator, "Expected collection terminator ");
        }
    }
    Self().TokenFromList(std::move(list));
    return true;
}

template <typename Model, typename Text>
bool Grammar<Model, Text>::ReadLiteral(bool optional) {
    if (ReadNumber(false))
        return true;
    if (MatchChar(Char(u'"'), false)) {
        if (!ReadUntil(Char(u'"')))
            Self().Fail(1004, "String not terminated");
        MatchChar(Char(u'"'), false);
        Self().WrapToken(Char(u'"'), Char(u'"'));
        return true;
    }
    return optional;
}

template <typename Model, typename Text>
bool Grammar<Model, Text>::ReadLocator(bool optional) {
    if (MatchChar(Char(u'\''), false)) {
        if (!ReadUntil(Char(u'\'')))
            Self().Fail(1005, "Expected ' terminator");
        MatchChar(Char(u'\''), false);
        Self().WrapToken(Char(u'\''), Char(u'\''));
        return true;
    }
    if (MatchChar(Char(u'#'), false)) {
        ReadIdentifier(true);
        if (Self().TokenEmpty())
            ReadNumber(true);
        Self().PrefixToken(Char(u'#'));
        return true;
    }
    return optional;
}

} // namespace zov::cgif::grammar
