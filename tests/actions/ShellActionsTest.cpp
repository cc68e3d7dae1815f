// The shell commands hand the desktop the exact file or folder of the selected record, and
// nothing at all when no record is selected.

#include "actions/ShellActions.h"
#include "results/ResultStateBuilder.h"

#include <QFile>
#include <gtest/gtest.h>

#include <vector>

using namespace pellmora;
using pellmora::test::ListedFile;
using pellmora::test::ResultState;

namespace {

class RecordingProperties final : public FilePropertiesService {
  public:
    void ShowItemProperties(const QUrl& file) override { Urls.push_back(file); }
    std::vector<QUrl> Urls;
};

struct Asked {
    std::vector<QUrl> Opened;
    std::vector<QUrl> Properties;
};

enum class Command { Folder, Open, Properties };

Asked Ask(const SearchState& state, int32_t record, Command command) {
    Asked asked;
    UrlOpener opener = [&asked](const QUrl& url) { asked.Opened.push_back(url); };
    RecordingProperties properties;
    switch (command) {
    case Command::Folder:
        OpenContainingFolder(state, record, opener);
        break;
    case Command::Open:
        OpenWithAssociatedProgram(state, record, opener);
        break;
    case Command::Properties:
        ShowFileProperties(state, record, properties);
        break;
    }
    asked.Properties = properties.Urls;
    return asked;
}

QByteArray Encoded(const std::vector<QUrl>& urls) {
    return urls.size() == 1 ? urls.front().toEncoded() : QByteArray("<none or several>");
}

TEST(ShellActions, EachCommandNamesTheSelectedFileOrItsFolder) {
    const SearchState state = ResultState({"/srv/photos/", "/srv/odd \xff dir/", "/srv/A#b?%/"},
                                          {{.Name = "a b.jpg", .Dir = 0},
                                           {.Name = "caf\xc3\xa9 \xe9t\xe9.png", .Dir = 1},
                                           {.Name = "x#1?.txt", .Dir = 2, .Resolved = 1}});
    struct Case {
        int32_t Record;
        QByteArray Folder;
        QByteArray File;
    };
    const Case cases[] = {
        {0, "file:///srv/photos/", "file:///srv/photos/a%20b.jpg"},
        // A name that is not UTF-8 keeps its bytes: decoded text would name another file.
        {1, "file:///srv/odd%20%FF%20dir/", "file:///srv/odd%20%FF%20dir/caf%C3%A9%20%E9t%E9.png"},
        // A resolved record still names its file; what the desktop makes of it is its own.
        {2, "file:///srv/A%23b%3F%25/", "file:///srv/A%23b%3F%25/x%231%3F.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Record);
        const Asked folder = Ask(state, c.Record, Command::Folder);
        EXPECT_EQ(Encoded(folder.Opened), c.Folder);
        const Asked open = Ask(state, c.Record, Command::Open);
        EXPECT_EQ(Encoded(open.Opened), c.File);
        EXPECT_EQ(QFile::encodeName(open.Opened.front().toLocalFile()).toStdString() ==
                      FullPath(state, state.ResultList[static_cast<size_t>(c.Record)]),
                  c.Record != 1)
            << "only a decodable name survives the trip through text";
        const Asked properties = Ask(state, c.Record, Command::Properties);
        EXPECT_TRUE(properties.Opened.empty());
        EXPECT_EQ(Encoded(properties.Properties), c.File);
    }
}

TEST(ShellActions, NoSelectedRecordAsksNothing) {
    SearchState state = ResultState({"/srv/"}, {{.Name = "a"}, {.Name = "b"}});
    state.ResultList.resize(5); // room allocated ahead is no record
    for (int32_t record : {-1, 2, 4, 5})
        for (Command command : {Command::Folder, Command::Open, Command::Properties}) {
            const Asked asked = Ask(state, record, command);
            EXPECT_TRUE(asked.Opened.empty() && asked.Properties.empty()) << record;
        }
    UrlOpener none;
    OpenContainingFolder(state, 0, none); // an opener never plugged in is not called
}

} // namespace
