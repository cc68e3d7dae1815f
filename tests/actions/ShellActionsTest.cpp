// The shell commands hand the desktop the exact file or folder of the selected record, nothing
// at all when no record is selected, and say so when the desktop has no program for it.

#include "actions/ShellActions.h"
#include "ActionTestKit.h"
#include "results/ResultStateBuilder.h"

#include <QFile>
#include <gtest/gtest.h>

#include <vector>

using namespace pellmora;

namespace {

struct Recorder final : FilePropertiesService {
    bool ShowItemProperties(const QUrl& file) override {
        Asked.push_back(file.toEncoded());
        return Shows;
    }
    std::vector<QByteArray> Asked;
    bool Shows = true;
};

// What each command asks of the desktop for record: folder opened, file opened, properties.
std::vector<std::vector<QByteArray>> AskedFor(const SearchState& state, int32_t record) {
    std::vector<std::vector<QByteArray>> asked(3);
    Recorder properties;
    test::ScriptedPrompter prompter;
    UrlOpener folder = [&](const QUrl& url) {
        asked[0].push_back(url.toEncoded());
        return true;
    };
    UrlOpener open = [&](const QUrl& url) {
        asked[1].push_back(url.toEncoded());
        return true;
    };
    OpenContainingFolder(state, record, folder, prompter);
    OpenWithAssociatedProgram(state, record, open, prompter);
    ShowFileProperties(state, record, properties, open, prompter);
    asked[2] = properties.Asked;
    EXPECT_TRUE(prompter.Log.empty());
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
}

// A desktop without a file manager for property sheets shows the folder instead; one without
// any program for the address gets an error box naming it, never silence.
TEST(ShellActions, WhatTheDesktopCannotOpenIsSaid) {
    const SearchState state = test::ResultState({"/srv/a\xff/"}, {{.Name = "t.pdf"}});
    const QString folder = QFile::decodeName("/srv/a\xff/");
    const std::pair<bool, QStringList> cases[] = {
        {true, {}},
        {false,
         {"No program is set up to open \"" + folder + "\".",
          "No program is set up to open \"" + folder + "t.pdf\".",
          "No program is set up to open \"" + folder + "\"."}},
    };
    for (const auto& [opens, said] : cases) {
        QStringList opened;
        UrlOpener opener = [&](const QUrl& url) {
            opened << (url.toEncoded().endsWith('/') ? "folder" : "file");
            return opens;
        };
        Recorder properties;
        properties.Shows = false;
        test::ScriptedPrompter prompter;
        OpenContainingFolder(state, 0, opener, prompter);
        OpenWithAssociatedProgram(state, 0, opener, prompter);
        ShowFileProperties(state, 0, properties, opener, prompter);
        EXPECT_EQ(properties.Asked.size(), 1u);
        EXPECT_EQ(opened, (QStringList{"folder", "file", "folder"}));
        EXPECT_EQ(prompter.Texts(), said);
        for (const test::Asked& asked : prompter.Log)
            EXPECT_EQ(asked.Kind, PromptKind::Error);
    }
    test::ScriptedPrompter prompter;
    OpenOrSay(UrlOpener(), QUrl(QStringLiteral("mailto:support@pellmora.org")), prompter);
    EXPECT_EQ(prompter.Texts(),
              QStringList{"No program is set up to open \"mailto:support@pellmora.org\"."});
}

} // namespace
