#pragma once
// One file operation on one file, as the batch commands ask for it: to the trash, into a
// folder, or to a new name. Never asks anything and never replaces a file: a taken name gives
// the first free "name (2).ext". The result carries the errno of the failed call.

#include "platform/FileOperations.h"

#include <cstdint>
#include <string>

namespace pellmora {

enum class ShellOperation : uint32_t { Move = 1, Delete = 3, Rename = 4 };

// target: the folder for Move, the new full path (in the source's folder) for Rename, unused
// for Delete, which sends the file to the trash and never deletes it for good.
FileOpResult ShellFileOperation(const std::string& source, const std::string& target,
                                ShellOperation operation);

} // namespace pellmora
