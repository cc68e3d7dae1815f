#include "ActionTestKit.h"

#include "platform/FileStamp.h"

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
    AppendResult(State, file);
    Restamp(State.ResultLast);
    BuildViewOrder(State);
    return State.ResultLast;
}

void ListedTree::Restamp(int32_t index) {
    TFileInfoType& file = State.ResultList[static_cast<size_t>(index)];
    const FileStamp stamp = ReadFileStamp(FullPath(State, file)).value_or(FileStamp{});
    file.Device = stamp.Device;
    file.Inode = stamp.Inode;
    file.Size = stamp.Size;
    file.ModTimeNs = stamp.ModTimeNs;
    file.ChangeTimeNs = stamp.ChangeTimeNs;
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
