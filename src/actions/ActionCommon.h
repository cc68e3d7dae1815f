#pragma once
// What the batch commands on the ticked files share: the count of ticked files, the exchange
// values cleared before a dialog, the visit of the ticked entries in ResultList order with the
// "OK"/"Abort" failure prompt, the entry transition, and the message texts.

#include "model/DialogExchange.h"
#include "model/DuplicateTypes.h"
#include "model/MessagePrompter.h"

#include <QString>
#include <functional>
#include <optional>
#include <string>

namespace pellmora {

// What one step did to one file: nothing failed, or the failure prompt's text and the reason
// alone (for a front that names the path itself); and the copy that holds the file's data now,
// where one does.
struct StepOutcome {
    std::optional<QString> Failure;
    QString Reason;
    int32_t KeptCopy = -1; // ResultList index
};

struct ActionParts {
    DialogExchange& Exchange;
    MessagePrompter& Prompter;
    // For a front that reports each file (pellmora-scan): told of every step, in order.
    std::function<void(int32_t index, const StepOutcome& outcome)> Observer = {};
    // Asked before each file; true ends the visit there, as "Abort" would.
    std::function<bool()> StopRequested = {};
    // Every check, no act: each step tells what it would do, and nothing changes.
    bool DryRun = false;
};

// NotOffered: too short a list or nothing ticked; Refused: the dialog's answer was unusable.
enum class ActionResult { NotOffered, Cancelled, Refused, Visited };

struct ActionOutcome {
    ActionResult Result = ActionResult::NotOffered;
    int32_t Done = 0; // files acted on, as they are on disk now
};

// An entry a batch command acts on. A resolved entry is never acted on again: its old place
// may hold another file by now. A kept entry is never acted on at all.
bool IsSelected(const TFileInfoType& file);

// Sets SelectedCount; false when the command does nothing (fewer than two entries, none ticked).
bool CountSelected(const SearchState& state, DialogExchange& exchange);

// The steps before every batch: the count, the exchange values cleared (so that only the
// dialog's own answer counts) and the dialog. Nothing when the user said "OK"; otherwise the
// outcome the command ends with.
std::optional<ActionOutcome> ConfirmSelection(const SearchState& state, DialogExchange& exchange,
                                              const std::function<void()>& showDialog);

// The entry transition of a file acted on.
void MarkResolved(TFileInfoType& file);

// One step on one present file at path.
using FileStep = std::function<StepOutcome(int32_t index, const std::string& path)>;

// Visits the selected entries in ResultList order; a file that is gone gets the "Cannot find
// file" prompt, a failed step its own; "Abort" ends the visit, and so does a stop request.
// Returns the count done (that would be done, in a dry run, where nothing is marked resolved).
int32_t VisitSelected(SearchState& state, ActionParts& parts, const FileStep& step);

// A failed step: "Cannot <verb> file \"name\"" + "\n\r" + reason for the prompt.
StepOutcome StepFailed(const char* verb, const TFileInfoType& file, const QString& reason);
// The same for an errno: the error code in the prompt, the system's text as the reason alone.
StepOutcome StepFailedWith(const char* verb, const TFileInfoType& file, int error);

// The native bytes of a typed path or name; nothing when it holds a NUL, which no path can.
std::optional<std::string> NativeText(const QString& text);

QString CannotFindText(const TFileInfoType& file);
// "Cannot <verb> file \"name\"" + "\n\r" + reason.
QString CannotActText(const char* verb, const TFileInfoType& file, const QString& reason);
// "Error code: N (" + the system's text for N + ")".
QString ErrorCodeText(int error);
// "The file was changed after the search."
QString ChangedText();

// Why a file could not share a kept copy's data: a file system without shared extents is named
// as such, any other failure as ErrorCodeText.
QString ShareErrorText(int error);
// done + " of " + SelectedCount + tail.
QString SummaryText(int32_t done, int32_t selected, const char* tail);
// text + count + " file?" or " files?".
QString CountQuestion(const char* text, int32_t count);

} // namespace pellmora
