#pragma once
// What the program does with the bytes it is started with, before Qt turns them into text.
#include <QByteArrayView>
#include <QString>
#include <optional>

namespace zov::platform {

// Qt takes every file name as UTF-8 text, so a name written in another encoding (a Latin-1 name
// from an old disk or a zip archive) cannot be opened, and an output named so would be written
// under another name. For such a name: the name as it can be shown, each byte that is no part of
// UTF-8 as "\xNN"; nothing for a UTF-8 name.
std::optional<QString> NameNotUtf8(QByteArrayView argument);

// The reason a name cannot be used, after "Cannot open "NAME": " or the like.
QString NotUtf8Reason();

// The system's reasons for a failure (a full disk, a missing folder) are read in English, as
// every other message of the program is, whatever language the user's environment asks for:
// scripts match on them, and a message half in one language and half in another helps no one.
// Called once the application object has taken the environment's locale.
void KeepSystemMessagesInEnglish();

} // namespace zov::platform
