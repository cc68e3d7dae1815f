#include "ActionTestKit.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace pellmora::test {

PromptButton ScriptedPrompter::Prompt(PromptKind kind, const QString& text,
                                      const QList<PromptButton>& buttons) {
    Log.push_back({kind, text, buttons});
    if (Answers.empty()) return buttons.isEmpty() ? PromptButton::Ok : buttons.front();
    const PromptButton answer = Answers.front();
    Answers.pop_front();
    return answer;
}

QStringList ScriptedPrompter::Texts() const {
    QStringList texts;
    for (const Asked& asked : Log)
        texts << asked.Text;
    return texts;
}

void ScriptedDialog::ShowModal(DialogExchange& exchange) {
    ++Shown;
    Seen = exchange;
    exchange.DialogChoice = Choice;
    exchange.DialogPath = Text;
    exchange.RenameAffix = Text;
}

void ScriptedDialog::ShowModal(DialogExchange& exchange, int32_t groupsLeftWithoutCopy) {
    SeenWholeGroups = groupsLeftWithoutCopy;
    ShowModal(exchange);
}

ListedTree::ListedTree() {
    if (const char* old = std::getenv("XDG_DATA_HOME")) savedDataHome_ = old;
    TrashFolder = Tree.Dir("data");
    setenv("XDG_DATA_HOME", TrashFolder.c_str(), 1);
}

ListedTree::~ListedTree() {
    if (savedDataHome_)
        setenv("XDG_DATA_HOME", savedDataHome_->c_str(), 1);
    else
        unsetenv("XDG_DATA_HOME");
}

int32_t ListedTree::List(const std::string& relative, const std::string& content, int32_t group,
                         bool ticked) {
    const fs::path path = Tree.File(relative, content);
    const std::string dir = path.parent_path().string() + "/";
    const auto known = std::find(State.DirTable.begin(), State.DirTable.end(), dir);
    if (known == State.DirTable.end()) AppendDir(State, dir);
    struct stat st {};
    lstat(path.c_str(), &st);
    TFileInfoType file;
    file.FileName = path.filename().string();
    file.DirIndex = static_cast<int32_t>(
        std::find(State.DirTable.begin(), State.DirTable.end(), dir) - State.DirTable.begin());
    file.Group = group;
    file.Size = st.st_size;
    file.Attributes = (st.st_mode & S_IWUSR) ? 0x80u : 0x01u;
    file.Checked = ticked ? 1 : 0;
    file.Device = st.st_dev;
    file.Inode = st.st_ino;
    file.ModTimeNs = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    AppendResult(State, file);
    BuildViewOrder(State);
    return State.ResultLast;
}

bool ListedTree::Exists(const std::string& relative) const {
    struct stat st {};
    return lstat(Path(relative).c_str(), &st) == 0;
}

std::vector<std::string> ListedTree::Trashed() const {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(TrashFolder + "/Trash/files", ec))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace pellmora::test
