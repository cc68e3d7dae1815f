#pragma once
// The shell commands on the selected row's file: its folder in the file browser, the file with
// the program of its type, its property sheet. record is the ResultList index, -1 when no row
// is selected; then nothing happens. Nothing is reported back: the desktop shows its own
// message, or none, when it cannot do what was asked.

#include "actions/ShellServices.h"
#include "model/DuplicateTypes.h"

#include <QUrl>

#include <cstdint>
#include <string>

namespace pellmora {

void OpenContainingFolder(const SearchState& state, int32_t record, UrlOpener& opener);
void OpenWithAssociatedProgram(const SearchState& state, int32_t record, UrlOpener& opener);
void ShowFileProperties(const SearchState& state, int32_t record, FilePropertiesService& service);

// The file URL of a native path. A name that decodes to text and back unchanged gives the
// URL of its text; any other keeps its bytes percent-encoded, so the URL still names that file.
QUrl LocalFileUrl(const std::string& nativePath);

} // namespace pellmora
