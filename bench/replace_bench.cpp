// Times "Delete Selected" with a choice that keeps every path: FOLDER/kept/NAME and
// FOLDER/copies/NAME are listed as groups of two, every copy ticked, and the command replaces
// each copy by a hard link to its kept file (link) or shares the kept file's data (share). Run
// by link.sh and by share_data.sh on a loop-mounted XFS; prints the time and the summary.
//
//   replace_bench FOLDER link|share

#include "actions/DeleteCommand.h"
#include "platform/FileStamp.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <sys/stat.h>

namespace {

using namespace pellmora;

// Goes on after every failure and keeps the last text, the summary.
class Counting final : public MessagePrompter {
  public:
    PromptButton Prompt(PromptKind kind, const QString& text, const QList<PromptButton>&) override {
        if (kind == PromptKind::Error) ++Failures;
        Last = text;
        return PromptButton::Ok;
    }
    int Failures = 0;
    QString Last;
};

void ListFile(SearchState& state, int32_t dir, const std::string& name, int32_t group,
              bool ticked) {
    struct stat st {};
    if (lstat((state.DirTable[static_cast<size_t>(dir)] + name).c_str(), &st) != 0) return;
    TFileInfoType file;
    file.FileName = name;
    file.DirIndex = dir;
    file.Group = group;
    file.Size = st.st_size;
    file.Checked = ticked ? 1 : 0;
    const FileStamp stamp = StampOf(st);
    file.Device = stamp.Device;
    file.Inode = stamp.Inode;
    file.ModTimeNs = stamp.ModTimeNs;
    file.ChangeTimeNs = stamp.ChangeTimeNs;
    AppendResult(state, file);
}

SearchState Listed(const std::string& folder) {
    SearchState state;
    AppendDir(state, folder + "/kept/");
    AppendDir(state, folder + "/copies/");
    int32_t group = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder + "/kept")) {
        const std::string name = entry.path().filename().string();
        ListFile(state, 0, name, ++group, false);
        ListFile(state, 1, name, group, true);
    }
    BuildViewOrder(state);
    return state;
}

} // namespace

int main(int argc, char** argv) {
    const std::string way = argc == 3 ? argv[2] : "";
    if (way != "link" && way != "share") {
        std::fprintf(stderr, "usage: %s FOLDER link|share\n", argv[0]);
        return 2;
    }
    SearchState state = Listed(argv[1]);
    FixedDeleteChoice dialog(way == "link" ? DeleteChoice::HardLink : DeleteChoice::SharedData);
    DialogExchange exchange;
    Counting prompter;
    ActionParts parts{exchange, prompter};
    const auto start = std::chrono::steady_clock::now();
    const ActionOutcome outcome = DeleteSelectedFiles(state, dialog, parts);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    std::printf("%d files replaced (%s) in %.3f s, %d failures: %s\n", outcome.Done, way.c_str(),
                took.count(), prompter.Failures, prompter.Last.toUtf8().constData());
    return prompter.Failures == 0 ? 0 : 1;
}
