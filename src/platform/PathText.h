#pragma once
// The folder and name parts of a path, split at its last "/".

#include <string>

namespace pellmora {

// Up to and including the last "/"; "./" for a bare name, so that folder + name is its path.
std::string FolderOf(const std::string& path);
// After the last "/"; the whole text for a bare name.
std::string NameOf(const std::string& path);

} // namespace pellmora
