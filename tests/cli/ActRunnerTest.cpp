// pellmora-scan --act through the engine, in process: which copies stay under each rule and
// with a keep folder, the lines a script reads (groups in list order: the larger size first),
// the dry run, and files that change between the search and the act.

#include "cli/ActRunner.h"
#include "search/SearchDriver.h"
#include "support/FileText.h"
#include "support/RecordingView.h"
#include "support/TempTree.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace pellmora;
using namespace pellmora::test;

namespace {

// What the act wrote to one of its streams.
class Captured {
  public:
    Captured() : file_(open_memstream(&data_, &size_)) {}
    ~Captured() {
        std::fclose(file_);
        std::free(data_);
    }
    std::FILE* File() const { return file_; }
    std::string Text() {
        std::fflush(file_);
        return std::string(data_, size_);
    }

  private:
    char* data_ = nullptr;
    size_t size_ = 0;
    std::FILE* file_;
};

struct Case {
    const char* Name;
    std::vector<std::string> Args; // --act WORD and the rest, as pellmora-scan takes them
    bool Keep = false;             // k/ is a keep folder
    const char* Changed = "";      // a file rewritten just before the act starts
    const char* Out;               // <r> stands for the tree's folder
    const char* Err;
    cli::ActResult Result;
    std::vector<const char*> Left; // the paths left afterwards
    int StopAt = 0;                // Ctrl-C before this file (1 is the first); 0: none
};

std::string Rooted(std::string text, const std::string& root) {
    for (size_t at; (at = text.find("<r>")) != std::string::npos;)
        text.replace(at, 3, root);
    return text;
}

#define NoSharing "This file system cannot share data between files (copy-on-write)."

TEST(ActRunner, EveryActRuleAndFailureThroughTheEngine) {
    const cli::ActResult Done = cli::ActResult::AllDone, Failed = cli::ActResult::SomeFailed,
                         Stopped = cli::ActResult::Stopped;
    const Case cases[] = {
        {"trash, the first copy stays",
         {"--act", "trash"},
         false,
         "",
         "trash\t<r>y/b\t<r>x/b\ntrash\t<r>y/a\t<r>x/a\ntrash\t<r>z/a\t<r>x/a\n",
         "3 of 3 files was deleted.\n",
         Done,
         {"x/a", "x/b"}},
        {"delete, the oldest stays",
         {"--act", "delete", "--keep-copy", "oldest"},
         false,
         "",
         "delete\t<r>y/b\t<r>x/b\ndelete\t<r>x/a\t<r>y/a\ndelete\t<r>z/a\t<r>y/a\n",
         "3 of 3 files was deleted.\n",
         Done,
         {"x/b", "y/a"}},
        {"link, the newest stays",
         {"--act", "link", "--keep-copy", "newest"},
         false,
         "",
         "link\t<r>x/b\t<r>y/b\nlink\t<r>y/a\t<r>x/a\nlink\t<r>z/a\t<r>x/a\n",
         "3 of 3 files were replaced by hard links.\n",
         Done,
         {"x/a", "x/b", "y/a", "y/b", "z/a"}},
        {"a dry run",
         {"--act", "delete", "--dry-run"},
         false,
         "",
         "delete\t<r>y/b\t<r>x/b\ndelete\t<r>y/a\t<r>x/a\ndelete\t<r>z/a\t<r>x/a\n",
         "Dry run: nothing was changed.\n",
         Done,
         {"x/a", "x/b", "y/a", "y/b", "z/a"}},
        {"a keep folder keeps its copy",
         {"--act", "delete"},
         true,
         "",
         "delete\t<r>y/b\t<r>x/b\ndelete\t<r>x/a\t<r>k/a\ndelete\t<r>y/a\t<r>k/a\n"
         "delete\t<r>z/a\t<r>k/a\n",
         "4 of 4 files was deleted.\n",
         Done,
         {"k/a", "x/b"}},
        {"a file changed in the middle of its group",
         {"--act", "delete"},
         false,
         "y/a",
         "delete\t<r>y/b\t<r>x/b\ndelete\t<r>z/a\t<r>x/a\n",
         "pellmora-scan: <r>y/a: The file was changed after the search.\n"
         "2 of 3 files was deleted.\n",
         Failed,
         {"x/a", "x/b", "y/a"}},
        {"the copy that stays changed",
         {"--act", "trash"},
         false,
         "x/a",
         "trash\t<r>y/b\t<r>x/b\n",
         "pellmora-scan: <r>y/a: No unchanged copy of it is left.\n"
         "pellmora-scan: <r>z/a: No unchanged copy of it is left.\n"
         "1 of 3 files was deleted.\n",
         Failed,
         {"x/a", "x/b", "y/a", "z/a"}},
        {"Ctrl-C after the first file",
         {"--act", "delete"},
         false,
         "",
         "delete\t<r>y/b\t<r>x/b\n",
         "1 of 3 files was deleted.\n",
         Stopped,
         {"x/a", "x/b", "y/a", "z/a"},
         2},
        {"a file system that cannot share data",
         {"--act", "share"},
         false,
         "",
         "",
         "pellmora-scan: <r>y/b: " NoSharing "\n"
         "pellmora-scan: <r>y/a: " NoSharing "\n"
         "pellmora-scan: <r>z/a: " NoSharing "\n"
         "0 of 3 files share their data with a kept copy now.\n",
         Failed,
         {"x/a", "x/b", "y/a", "y/b", "z/a"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TempTree tree;
        setenv("XDG_DATA_HOME", tree.Dir("data").c_str(), 1);
        const std::vector<std::pair<const char*, int64_t>> files = {{"k/a", 2000}, {"x/a", 2005},
                                                                    {"y/a", 2001}, {"z/a", 2003},
                                                                    {"x/b", 2002}, {"y/b", 2004}};
        for (const auto& [name, year] : files) {
            tree.File(name, name[2] == 'a' ? "AAAA" : "BBBBBB");
            tree.SetTime(name, (year - 1970) * 31556952);
        }
        std::string error;
        std::vector<std::string> args = c.Args;
        if (c.Keep) args.insert(args.end(), {"--keep", tree.Path("k")});
        for (const char* dir : {"x", "y", "z"})
            args.push_back(tree.Path(dir));
        const auto options = cli::ParseOptions(args, QLocale::c(), error);
        ASSERT_TRUE(options) << error;
        SearchState state;
        state.StopFlag = 0;
        RecordingView view;
        SearchStart(state, options->Inputs, view, [] {});

        Captured out, err;
        int asked = 0;
        const auto change = [&] {
            if (++asked == 1 && *c.Changed) tree.File(c.Changed, "EDIT");
            return asked == c.StopAt;
        };
        EXPECT_EQ(cli::RunAct(state, *options, out.File(), err.File(), change), c.Result);
        EXPECT_EQ(out.Text(), Rooted(c.Out, tree.Root()));
        EXPECT_EQ(err.Text(), Rooted(c.Err, tree.Root()));
        std::vector<std::string> left;
        for (const auto& [name, year] : files)
            if (std::filesystem::exists(tree.Path(name)) && name[0] != 'k') left.push_back(name);
        if (c.Keep) left.insert(left.begin(), "k/a");
        std::sort(left.begin(), left.end());
        EXPECT_EQ(left, std::vector<std::string>(c.Left.begin(), c.Left.end()));
        unsetenv("XDG_DATA_HOME");
    }
}

} // namespace
