#pragma once
// The texts and titles of every message box the editing commands show.
#include <QString>

namespace zov::editor::messages {

// Titles.
inline const QString AppTitle = QStringLiteral("ZOVEdit");
inline const QString ErrorTitle = QStringLiteral("Error");
inline const QString NodeSyntaxTitle = QStringLiteral("Syntax Error");  // node commands
inline const QString LabelSyntaxTitle = QStringLiteral("Syntax error"); // label command, Add graph

// Shared by the commands that act on the shape under the pointer.
inline const QString NoBoxes = QStringLiteral("No boxes");

// Node commands.
inline const QString NoLabel = QStringLiteral("No Label");
inline const QString ExtraCharactersIgnored = QStringLiteral("Extra characters ignored");

// Linking.
inline const QString AlreadyLinked = QStringLiteral("Already linked");
inline const QString CannotLinkTwoRelations = QStringLiteral("Cannot link two relations");
inline const QString CannotLinkTwoConcepts = QStringLiteral("Cannot link two concepts");
inline const QString CannotLinkToLaterSlide = QStringLiteral("Cannot link to later slide");
inline const QString CannotLinkTwoActors = QStringLiteral("Cannot link two actors");
inline const QString CannotLinkActorToRelation = QStringLiteral("Cannot link an actor to a relation");
inline const QString OneOutArc = QStringLiteral("Relations can only have one out arc");
inline const QString CannotLinkAcrossSlides =
    QStringLiteral("Only two concepts can be linked across slides (they become coreferent)");

// Graph slides.
inline const QString DuplicateName = QStringLiteral("Duplicate name");
inline const QString NoGraphLabel = QStringLiteral("No label");
inline const QString NoGraphWithThatName = QStringLiteral("No graph with that name");

// Coreference jump.
inline const QString NotAConcept = QStringLiteral("Not a concept");
inline const QString NoNameToJumpTo = QStringLiteral("No name to jump to");
inline const QString CoreferenceNotFound = QStringLiteral("Coreference not found");

// Failures of the host that no command reports by itself.
inline const QString NoPresentationWindow = QStringLiteral("There is no presentation window to work in");
inline const QString CommandFailed = QStringLiteral("The command could not be completed: ");

} // namespace zov::editor::messages
