#pragma once
// The shell commands on the selected row's file: its folder in the file browser, the file with
// the program of its type, its property sheet. record is the ResultList index, -1 when no row
// is selected; then nothing happens. When the desktop cannot do what was asked, an error box
// says so: a command that does nothing and shows nothing leaves the user guessing.

#include "actions/ShellServices.h"
#include "model/DuplicateTypes.h"
#include "model/MessagePrompter.h"

#include <QUrl>

#include <cstdint>
#include <string>

namespace pellmora {

// "No program is set up to open \"" + what + "\".".
QString NoProgramText(const QString& what);

// Opens url; when the desktop has no program for it, the error box names what. False then.
bool OpenOrSay(const UrlOpener& opener, const QUrl& url, const QString& what,
               MessagePrompter& prompter);
// The same for an address whose own text is what the user should read: a page's path, a
// mail address.
bool OpenOrSay(const UrlOpener& opener, const QUrl& url, MessagePrompter& prompter);

void OpenContainingFolder(const SearchState& state, int32_t record, const UrlOpener& opener,
                          MessagePrompter& prompter);
void OpenWithAssociatedProgram(const SearchState& state, int32_t record, const UrlOpener& opener,
                               MessagePrompter& prompter);
// Where no file manager shows property sheets, the folder that holds the file is opened
// instead: it shows the file with its size, dates and type.
void ShowFileProperties(const SearchState& state, int32_t record, FilePropertiesService& service,
                        const UrlOpener& opener, MessagePrompter& prompter);

// The file URL of a native path. A name that decodes to text and back unchanged gives the
// URL of its text; any other keeps its bytes percent-encoded, so the URL still names that file.
QUrl LocalFileUrl(const std::string& nativePath);

} // namespace pellmora
