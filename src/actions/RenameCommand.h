#pragma once
// "Rename Selected": every ticked file gets a new name in its own folder, the affix put before
// its name or before its extension; a taken name gives the first free one.

#include "actions/ActionCommon.h"
#include "actions/ActionDialog.h"

#include <string>

namespace pellmora {

// DialogChoice of the rename dialog.
enum class RenameChoice : uint8_t { Postfix = 1, Prefix = 2 };

// The name before its extension: up to the last "." unless that is the first character.
std::string PostfixBase(const std::string& name);

// The file's new name with affix as prefix or postfix (native bytes).
std::string RenamedName(const std::string& name, const std::string& affix, RenameChoice choice);

// Why the dialog refuses the typed affix: nothing when it is acceptable.
std::optional<QString> RenameAffixProblem(const QString& affix);

ActionOutcome RenameSelectedFiles(SearchState& state, ActionDialog& dialog, ActionParts& parts);

} // namespace pellmora
