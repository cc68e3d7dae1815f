#pragma once
// File masks as the user writes them: "*" any run of characters, "?" one character, letters
// matched with Unicode case folding, every other character literal. "*.*" as the whole mask
// matches every name, with or without a dot; an empty mask matches nothing.

#include <string>
#include <string_view>

namespace pellmora {

class MaskMatcher {
  public:
    // The mask as UTF-8 text; compiled once for a whole walk.
    explicit MaskMatcher(const std::string& mask);

    // name: the native bytes of a file name, decoded only when the name is not plain ASCII.
    bool Matches(std::string_view name) const;

  private:
    enum class Kind { Nothing, Everything, AsciiSuffix, Pattern };
    bool MatchesDecoded(std::string_view name) const;

    Kind kind_ = Kind::Nothing;
    bool asciiMask_ = false;
    std::string asciiLowerMask_; // the whole mask, ASCII lower case (when asciiMask_)
    std::u32string foldedMask_;  // the whole mask, case-folded code points
};

// Equal texts when ASCII letters are compared without regard to case; other bytes as they are.
bool EqualsAsciiCaseless(std::string_view a, std::string_view b);

// The protected system files: a name ending in .dll, .sys, .ocx or .drv in any ASCII case.
bool IsSystemFileName(std::string_view name);

} // namespace pellmora
