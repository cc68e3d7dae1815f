// The shell commands hand the desktop the exact file or folder of the selected record, and
// nothing at all when no record is selected.

#include "actions/ShellActions.h"
#include "results/ResultStateBuilder.h"

#include <gtest/gtest.h>

#include <vector>

using namespace pellmora;

namespace {

struct Recorder final : FilePropertiesService {
    void ShowItemProperties(const QUrl& file) override { Asked.push_back(file.toEncoded()); }
    std::vector<QByteArray> Asked;
};

// What each command asks of the desktop for record: folder opened, file opened, properties.
std::vector<std::vector<QByteArray>> AskedFor(const SearchState& state, int32_t record) {
    std::vector<std::vector<QByteArray>> asked(3);
    Recorder properties;
    UrlOpener folder = [&](const QUrl& url) { asked[0].push_back(url.toEncoded()); };
    UrlOpener open = [&](const QUrl& url) { asked[1].push_back(url.toEncoded()); };
    OpenContainingFolder(state, record, folder);
    OpenWithAssociatedProgram(state, record, open);
    ShowFileProperties(state, record, properties);
    asked[2] = properties.Asked;
    return asked;
}

TEST(ShellActions, EachCommandNamesTheSelectedFileOrItsFolderAndNoRowNothing) {
    SearchState state = test::ResultState({"/srv/photos/", "/srv/odd \xff dir/", "/srv/A#b?%/"},
                                          {{.Name = "a b.jpg", .Dir = 0},
                                           {.Name = "caf\xc3\xa9 \xe9t\xe9.png", .Dir = 1},
                                           {.Name = "x#1?.txt", .Dir = 2, .Resolved = 1}});
    state.ResultList.resize(6); // room allocated ahead holds no record
    struct Case {
        int32_t Record;
        QByteArray Folder;
        QByteArray File;
    };
    const Case cases[] = {
        {0, "file:///srv/photos/", "file:///srv/photos/a%20b.jpg"},
        // A name that is not UTF-8 keeps its bytes: its decoded text would name another file.
        {1, "file:///srv/odd%20%FF%20dir/", "file:///srv/odd%20%FF%20dir/caf%C3%A9%20%E9t%E9.png"},
        // A resolved record still names its file; what the desktop makes of it is its own.
        {2, "file:///srv/A%23b%3F%25/", "file:///srv/A%23b%3F%25/x%231%3F.txt"},
        {-1, "", ""},
        {3, "", ""},
        {5, "", ""},
    };
    for (const Case& c : cases) {
        using Asked = std::vector<QByteArray>;
        const Asked folder = c.Folder.isEmpty() ? Asked{} : Asked{c.Folder};
        const Asked file = c.File.isEmpty() ? Asked{} : Asked{c.File};
        EXPECT_EQ(AskedFor(state, c.Record), (std::vector<Asked>{folder, file, file})) << c.Record;
    }
    UrlOpener none;
    OpenContainingFolder(state, 0, none); // an opener never plugged in is not called
}

} // namespace
