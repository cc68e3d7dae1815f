#pragma once
// Free names for a file that must not replace anything: "name.ext", then "name (2).ext",
// "name (3).ext", ... Each candidate is tried by an operation that fails with EEXIST when the
// name is taken (renameat2 with RENAME_NOREPLACE, open with O_EXCL), so no other process can slip
// a file in between a test and the rename.

#include <cstddef>
#include <functional>
#include <string>

namespace pellmora {

// The name split before its extension: the extension starts at the last "." unless that dot is
// the first character (".profile" has none) or there is no dot at all.
struct SplitName {
    std::string Base;
    std::string Extension; // with its ".", or empty
};
SplitName SplitExtension(const std::string& name);

// Candidate number n (1 is the name itself, 2 is "name (2).ext", ...). With maxBytes > 0 the base
// is shortened, never inside a UTF-8 sequence, so that the candidate has at most maxBytes bytes;
// an extension longer than that budget is shortened too.
std::string CandidateName(const std::string& name, int n, size_t maxBytes = 0);

// How many candidates are tried before giving up with EEXIST, so that a folder full of copies
// can never keep a call busy.
constexpr int MaxFreeNameAttempts = 10000;

// Calls attempt(candidate) for candidate after candidate while it returns EEXIST. Returns 0 with
// the successful candidate in chosen, or the first other errno (EEXIST when all were taken).
int PlaceUnderFreeName(const std::string& name, size_t maxBytes,
                       const std::function<int(const std::string&)>& attempt, std::string& chosen);

} // namespace pellmora
