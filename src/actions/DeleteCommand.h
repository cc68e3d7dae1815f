#pragma once
// "Delete Selected": every ticked file to the trash, deleted for good, or replaced by a kept
// copy's data (ReplaceCommand), after the dialog; and "Delete this file": one file to the trash
// after a question. A file is acted on only while it is still the file the search listed
// (CopyGuard).

#include "actions/ActionCommon.h"
#include "actions/ActionDialog.h"

namespace pellmora {

// DialogChoice of the delete dialog.
enum class DeleteChoice : uint8_t { Trash = 1, WithoutBackup = 2, HardLink = 3, SharedData = 4 };

// The delete dialog of a front without a window (pellmora-scan, benchmarks): it answers its
// choice at once.
class FixedDeleteChoice final : public DeleteDialog {
  public:
    explicit FixedDeleteChoice(DeleteChoice choice) : choice_(choice) {}
    void ShowModal(DialogExchange& exchange, int32_t) override {
        exchange.DialogChoice = static_cast<uint8_t>(choice_);
    }

  private:
    DeleteChoice choice_;
};

ActionOutcome DeleteSelectedFiles(SearchState& state, DeleteDialog& dialog, ActionParts& parts);

// record: ResultList index of the selected row, -1 for none. True when the file went.
bool DeleteOneFile(SearchState& state, int32_t record, MessagePrompter& prompter);

// The end of the summary after "N of M" for the choice.
const char* DeleteSummaryTail(DeleteChoice choice);

// The delete dialog's red line; empty for 0.
QString EveryCopyWarning(int32_t groups);

} // namespace pellmora
