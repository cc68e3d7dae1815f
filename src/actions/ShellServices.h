#pragma once
// What the shell commands ask of the desktop: open an address, show a file's property sheet.

#include "platform/FileManagerService.h"

#include <QUrl>

#include <functional>

namespace pellmora {

// Opens an address with the desktop's program for it (a folder in the file browser, a file
// with the program of its type); false when the desktop has no program for it. The window's
// help pages use the same kind of opener.
using UrlOpener = std::function<bool(const QUrl&)>;

} // namespace pellmora
