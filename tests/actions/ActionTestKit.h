#pragma once
// A listed tree for the file-action tests: real files in a temporary folder, entered in
// ResultList as a search would have listed them, message boxes answered from a script, and a
// private trash folder.

#include "actions/ActionCommon.h"
#include "actions/ActionDialog.h"
#include "model/DuplicateTypes.h"
#include "model/MessagePrompter.h"
#include "results/ResultStateBuilder.h"
#include "support/TempTree.h"

#include <deque>
#include <gtest/gtest.h>
#include <optional>
#include <vector>

namespace pellmora::test {

struct Asked {
    PromptKind Kind;
    QString Text;
    QList<PromptButton> Buttons;
};

// Gives the scripted answers in turn, then the first button offered.
class ScriptedPrompter final : public MessagePrompter {
  public:
    PromptButton Prompt(PromptKind kind, const QString& text,
                        const QList<PromptButton>& buttons) override;
    std::deque<PromptButton> Answers;
    std::vector<Asked> Log;
    QStringList Texts() const;
};

// Answers like a dialog: the choice with the path or affix, or 0 (cancelled).
class ScriptedDialog final : public ActionDialog, public DeleteDialog {
  public:
    void ShowModal(DialogExchange& exchange) override;
    void ShowModal(DialogExchange& exchange, int32_t groupsLeftWithoutCopy) override;
    uint8_t Choice = 0;
    QString Text; // DialogPath for a move, RenameAffix for a rename
    int Shown = 0;
    DialogExchange Seen; // the exchange as the dialog found it
    int32_t SeenWholeGroups = -1;
};

class ListedTree {
  public:
    ListedTree();
    ~ListedTree();
    ListedTree(const ListedTree&) = delete;
    ListedTree& operator=(const ListedTree&) = delete;

    // Writes relative with content and lists it as the search would, in group, ticked or not.
    // Returns its ResultList index.
    int32_t List(const std::string& relative, const std::string& content, int32_t group,
                 bool ticked);
    std::string Path(const std::string& relative) const { return Tree.Path(relative); }
    // Takes the file's status now as the one the search saw: as if it had been so when listed,
    // or as on a file system whose status-change time a rewrite does not move.
    void Restamp(int32_t index);
    bool Exists(const std::string& relative) const;
    // Names in the private trash's files/ folder.
    std::vector<std::string> Trashed() const;

    TempTree Tree;
    SearchState State;
    std::string TrashFolder; // XDG_DATA_HOME while the object lives

  private:
    std::optional<std::string> savedDataHome_;
};

inline std::vector<int32_t> Resolved(const SearchState& state) {
    return FieldOf(state.ResultList, &TFileInfoType::Resolved);
}

// The parts a command test hands to a command.
struct ActionCommandTest : ::testing::Test {
    ListedTree listed;
    DialogExchange exchange;
    ScriptedPrompter prompter;
    ScriptedDialog dialog;
    ActionParts parts{exchange, prompter};
};

} // namespace pellmora::test
