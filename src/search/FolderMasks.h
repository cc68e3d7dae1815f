#pragma once
// The folders a search never enters, from the text of "Skip Folders:": masks joined by "|".
// A mask without a "/" is matched against the name of every folder the walk would enter, at
// any depth; a mask with a "/" against the folder's full path without its closing "/". In both,
// "*" matches any run of characters and "?" one character, neither of them a "/"; every other
// character matches itself, case included (Linux names are case-sensitive). Blanks around a mask
// are dropped, and a mask left empty is ignored.

#include <QString>

#include <string>
#include <string_view>
#include <vector>

namespace pellmora {

class SkipFolderMasks {
  public:
    SkipFolderMasks() = default;
    explicit SkipFolderMasks(const QString& text);

    bool Empty() const { return names_.empty() && paths_.empty(); }
    // path: a folder's full path, ending in "/".
    bool Skips(std::string_view path) const;

  private:
    std::vector<std::string> names_; // native bytes
    std::vector<std::string> paths_;
};

// One mask against one text, both native bytes; "?" takes one UTF-8 character (or one byte
// that is not part of one).
bool MatchesFolderMask(std::string_view mask, std::string_view text);

} // namespace pellmora
