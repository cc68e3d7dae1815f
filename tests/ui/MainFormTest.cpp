#include "RecordingPrompter.h"
#include "results/ui/ResultsModel.h"
#include "support/TempTree.h"
#include "ui/TamberMain.h"

#include <QAbstractItemModel>
#include <QAccessible>
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace pellmora;
using pellmora::test::RecordingPrompter;
using pellmora::test::TempTree;

namespace {

const QStringList LockedOrder = {"IncludeTypeLabel",
                                 "DirectoriesListBox",
                                 "AddDirButton",
                                 "RemoveDirButton",
                                 "RemoveAllButton",
                                 "DeselectAllButton",
                                 "DeleteSelectedButton",
                                 "MoveSelectedButton",
                                 "RenameSelectedButton",
                                 "ExportListButton",
                                 "DefineMasksButton",
                                 "AboutButton",
                                 "SettingsButton",
                                 "FileTypesEdit",
                                 "ExcludeZeroCheck",
                                 "ProtectSysFilesCheck",
                                 "ProtectSysFoldersCheck",
                                 "MinSizeCheck",
                                 "MinSizeEdit",
                                 "MinSizeBox",
                                 "MaxSizeCheck",
                                 "MaxSizeEdit",
                                 "MaxSizeBox"};
const QStringList KeepAndSkipControls = {"SkipFoldersLabel", "SkipFoldersEdit",
                                         "OnlyWithKeptCheck"};

struct MainFormTest : ::testing::Test {
    RecordingPrompter prompter;
    std::vector<QUrl> opened;
    bool opens = true; // whether the desktop has a program for what is opened
    TMainForm form{prompter, [this](const QUrl& url) {
                       opened.push_back(url);
                       return opens;
                   }};

    template <typename W = QWidget> W* Get(const char* name) {
        W* w = form.findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QString Panel(int i) {
        return Get<QLabel>(QStringLiteral("StatusPanel%1").arg(i).toLatin1())->text();
    }
    QPushButton* Start() { return Get<QPushButton>("StartButton"); }
};

TEST_F(MainFormTest, WindowIsLaidOutAsTheThreeSteps) {
    form.show();
    EXPECT_EQ(form.windowTitle(), "Pellmora");
    // Outer sizes, the frame included.
    const QSize frame = form.frameGeometry().size() - form.size();
    EXPECT_EQ(form.minimumSize() + frame, QSize(760, 482));
    EXPECT_EQ(form.frameGeometry().size(), QSize(765, 616));
    EXPECT_EQ(Panel(0), " Version: 2.2.4");
    EXPECT_EQ(Panel(1), "00:00:00");
    EXPECT_EQ(Panel(2), " Status: Waiting");
    EXPECT_EQ(Get<QLabel>("StatusPanel0")->width(), 100);
    EXPECT_EQ(Get<QLabel>("StatusPanel1")->width(), 80);
    EXPECT_EQ(Get<QLabel>("StatusPanel2")->width(), 500);
    EXPECT_EQ(Get<QLabel>("TotalFilesTextout")->text(), "0");
    EXPECT_EQ(Get<QLabel>("DuplicateTextout")->text(), "0 + 0");
    EXPECT_EQ(Get<QLabel>("SelectedTextout")->text(), "0 / 0 MB");
    EXPECT_EQ(Get<QLabel>("DiskUsingTextout")->text(), "0 MB + 0 MB");
    EXPECT_EQ(Get("TreeView1")->width(), 209);
    EXPECT_EQ(Get("Step1Heading")->height(), 33);
    EXPECT_EQ(Get("Step3Heading")->height(), 35);
    EXPECT_EQ(Start()->text(), "S&tart");
    EXPECT_TRUE(Get<QCheckBox>("ExcludeZeroCheck")->isChecked());
    EXPECT_FALSE(Get("MinSizeEdit")->isEnabled());
    EXPECT_FALSE(Get("MaxSizeBox")->isEnabled());
    auto* list = Get<QTableView>("AdvListView1");
    EXPECT_EQ(list->model()->headerData(2, Qt::Horizontal).toString(), "Dup. Group");
    EXPECT_GE(list->columnWidth(4), 132);

    // Only the search band takes a change of the window's height.
    const int listHeight = list->height(), treeHeight = Get("TreeView1")->height();
    form.resize(form.size() + QSize(135, 100));
    QCoreApplication::processEvents();
    EXPECT_EQ(list->height(), listHeight + 100);
    EXPECT_EQ(Get("TreeView1")->height(), treeHeight);
    EXPECT_EQ(Get("Step3Heading")->height(), 35);
}

// At the smallest size every band keeps its height and they still stack without overlap; the
// search band alone gives up height.
TEST_F(MainFormTest, BandsStayWholeAtTheMinimumSize) {
    form.show();
    form.resize(form.minimumSize());
    QCoreApplication::processEvents();
    QLayout* bands = form.centralWidget()->layout();
    ASSERT_EQ(bands->count(), 5);
    const int fixed[5] = {165, TMainForm::OptionsBandHeight, -1, 81, 35};
    int top = 0;
    for (int i = 0; i < 5; ++i) {
        const QRect band = bands->itemAt(i)->widget()->geometry();
        if (fixed[i] > 0) {
            EXPECT_EQ(band.height(), fixed[i]) << "band " << i;
        }
        EXPECT_EQ(band.top(), top) << "band " << i;
        top = band.bottom() + 1;
    }
    EXPECT_GE(bands->itemAt(2)->widget()->height(), Get("Step2Heading")->height());
    EXPECT_LE(form.centralWidget()->geometry().bottom(), form.statusBar()->geometry().top());
    EXPECT_LE(Get("TreeView1")->mapTo(&form, QPoint(0, Get("TreeView1")->height())).y(),
              bands->itemAt(1)->widget()->y());
}

// Assistive tools read a label as the text it shows; a value box's caption is its description.
TEST_F(MainFormTest, LabelsAreReadAsTheTextTheyShow) {
    form.show();
    auto name = [](QWidget* w) {
        return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name);
    };
    EXPECT_EQ(name(Get("StatusPanel2")), " Status: Waiting");
    EXPECT_EQ(name(Get("StatusPanel0")), " Version: 2.2.4");
    auto* duplicates = Get<QLabel>("DuplicateTextout");
    EXPECT_EQ(name(duplicates), "0 + 0");
    EXPECT_EQ(QAccessible::queryAccessibleInterface(duplicates)->text(QAccessible::Description),
              "Original files + duplicates:");
    form.SetStatusText(" Status: Search complete.");
    form.SetDuplicateText("3 + 4");
    EXPECT_EQ(name(Get("StatusPanel2")), " Status: Search complete.");
    EXPECT_EQ(name(duplicates), "3 + 4");
    EXPECT_EQ(name(Get<QPushButton>("StartButton")), "Start");
}

// Each folder of the list has a check box, unticked when added; assistive tools read it as one.
TEST_F(MainFormTest, EveryListedFolderHasAKeepCheckBox) {
    form.show();
    auto* list = Get<QListWidget>("DirectoriesListBox");
    EXPECT_EQ(list->toolTip(), "Tick a folder to keep its files: they are compared and listed, but "
                               "never ticked, moved, renamed or deleted.");
    EXPECT_EQ(Get("SkipFoldersEdit")->toolTip(),
              "Folder names to skip, joined by |, e.g. .git|node_modules|@eaDir");
    EXPECT_EQ(Get<QCheckBox>("OnlyWithKeptCheck")->text(), "Only groups with a kept file");
    form.AddDirectory("/srv/a/");
    form.AddDirectory("/srv/b/");
    QAccessibleInterface* item = QAccessible::queryAccessibleInterface(list)->child(1);
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(item->state().checkable);
    EXPECT_FALSE(item->state().checked);
    list->item(1)->setCheckState(Qt::Checked);
    EXPECT_TRUE(QAccessible::queryAccessibleInterface(list)->child(1)->state().checked);
    const SearchInputs in = form.ReadInputs();
    EXPECT_EQ(in.Directories, (TStringArr{"/srv/a/", "/srv/b/"}));
    EXPECT_EQ(in.KeepDirectories, TStringArr{"/srv/b/"});
}

TEST_F(MainFormTest, SearchingStateDisablesControlsInOrderAndIdleRestoresThem) {
    QStringList names;
    for (QWidget* w : form.SearchLockedControls())
        names << w->objectName();
    EXPECT_EQ(names, LockedOrder + KeepAndSkipControls);

    Get<QCheckBox>("MinSizeCheck")->setChecked(true);
    form.PrepareToStart();
    EXPECT_EQ(Start()->accessibleName(), "Stop");
    for (QWidget* w : form.SearchLockedControls())
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    for (const char* name :
         {"TreeView1", "AdvListView1", "HelpButton", "UpdateButton", "StartButton", "HTMLabel5"})
        EXPECT_TRUE(Get(name)->isEnabled()) << name;

    form.State.StopFlag = 0;
    form.PrepareToStop();
    EXPECT_EQ(Start()->accessibleName(), "Start");
    EXPECT_EQ(form.State.StopFlag, 1);
    EXPECT_TRUE(Get("MinSizeEdit")->isEnabled());
    EXPECT_TRUE(Get("MinSizeBox")->isEnabled());
    EXPECT_FALSE(Get("MaxSizeEdit")->isEnabled());
    EXPECT_FALSE(Get("MaxSizeBox")->isEnabled());
    EXPECT_TRUE(Get("DirectoriesListBox")->isEnabled());
    EXPECT_TRUE(Get("AboutButton")->isEnabled());
}

TEST_F(MainFormTest, StartResetsStatisticsAndInputsComeFromTheControls) {
    Get<QLabel>("TotalFilesTextout")->setText("12");
    Get<QProgressBar>("ProgressBar")->setValue(40);
    form.PrepareToStart();
    EXPECT_EQ(Get<QLabel>("TotalFilesTextout")->text(), "0");
    EXPECT_EQ(Get<QProgressBar>("ProgressBar")->value(), 0);
    form.PrepareToStop();

    form.AddDirectory("/tmp/a\xff/");
    Get<QCheckBox>("ProtectSysFilesCheck")->setChecked(false);
    Get<QCheckBox>("MaxSizeCheck")->setChecked(true);
    const SearchInputs in = form.ReadInputs();
    ASSERT_EQ(in.Directories.size(), 1u);
    EXPECT_EQ(in.Directories[0], "/tmp/a\xff/");
    EXPECT_EQ(in.MaskText, "*.*");
    EXPECT_FALSE(in.ProtectSysFiles);
    EXPECT_TRUE(in.ProtectSysFolders);
    EXPECT_TRUE(in.MaxSize.Checked);
    EXPECT_EQ(in.MaxSize.Unit, SizeUnit::KB);
}

TEST_F(MainFormTest, StatusTimerShowsElapsedTimeAndWhatIsBeingDone) {
    form.State.StartTick = 0;
    form.State.SearchPhase = 0;
    form.State.CurrentDir = "/data/caf\xc3\xa9/";
    form.State.ScanLast = 1186;
    form.AsyncTimerTimer();
    EXPECT_EQ(Panel(2), QString::fromUtf8(" Status: Scan \"/data/caf\xc3\xa9/\"...  1187 Files"));
    EXPECT_EQ(Panel(1).size(), 8);

    form.State.SearchPhase = 1;
    form.State.CurrentFile = "/data/x\xff.bin";
    form.AsyncTimerTimer();
    EXPECT_EQ(Panel(2), " Status: Comparing \"" + QFile::decodeName("/data/x\xff.bin") + "\"");
}

TEST_F(MainFormTest, StopButtonEndsARunningSearch) {
    TempTree tree;
    for (int i = 0; i < 30; ++i)
        tree.File("d" + std::to_string(i) + "/f.txt", "same content");
    form.AddDirectory(tree.Root());
    bool sawSearching = false;
    QTimer::singleShot(0, &form, [&] {
        sawSearching = form.SearchRunning() && Start()->accessibleName() == "Stop" &&
                       !Get("DirectoriesListBox")->isEnabled();
        QTest::mouseClick(Start(), Qt::LeftButton);
        EXPECT_EQ(form.State.StopFlag, 1);
    });
    QTest::mouseClick(Start(), Qt::LeftButton);
    EXPECT_TRUE(sawSearching);
    EXPECT_FALSE(form.SearchRunning());
    EXPECT_EQ(Start()->accessibleName(), "Start");
    EXPECT_EQ(form.State.StopFlag, 1);
    EXPECT_TRUE(Get("DirectoriesListBox")->isEnabled());
    EXPECT_EQ(Panel(2), " Status: Search interrupted.");
    ASSERT_FALSE(prompter.Prompts.empty());
    EXPECT_EQ(prompter.Prompts.back().Kind, PromptKind::Information);
    EXPECT_TRUE(prompter.Prompts.back().Text.startsWith("Search interrupted."));
    auto* header = Get<QTableView>("AdvListView1")->horizontalHeader();
    EXPECT_TRUE(header->isSortIndicatorShown());
    EXPECT_EQ(header->sortIndicatorSection(), 2);
}

// A stalled machine can deliver two clicks at one yield point: the first stops the search, the
// second must not start another inside it (its reset would free the lists the outer one uses).
TEST_F(MainFormTest, TwoClicksAtOneYieldPointOnlyStop) {
    TempTree tree;
    for (int i = 0; i < 30; ++i)
        tree.File("d" + std::to_string(i) + "/f.txt", "same content");
    form.AddDirectory(tree.Root());
    int depthSeen = 0;
    QTimer::singleShot(0, &form, [&] {
        QTest::mouseClick(Start(), Qt::LeftButton);
        QTest::mouseClick(Start(), Qt::LeftButton);
        depthSeen = form.SearchRunning() ? 1 : 0;
        EXPECT_EQ(Start()->accessibleName(), "Stop");
    });
    QTest::mouseClick(Start(), Qt::LeftButton);
    EXPECT_EQ(depthSeen, 1);
    EXPECT_EQ(Start()->accessibleName(), "Start");
    ASSERT_EQ(prompter.Prompts.size(), 1u);
    EXPECT_TRUE(prompter.Prompts[0].Text.startsWith("Search interrupted."));
}

TEST_F(MainFormTest, SearchFromTheButtonListsTheDuplicates) {
    TempTree tree;
    tree.File("a/one.txt", "duplicate content");
    tree.File("b/two.txt", "duplicate content");
    tree.File("b/other.txt", "something else!!!");
    form.AddDirectory(tree.Root());
    QTest::mouseClick(Start(), Qt::LeftButton);
    EXPECT_EQ(Start()->accessibleName(), "Start");
    ASSERT_FALSE(prompter.Prompts.empty());
    EXPECT_EQ(prompter.Prompts.back().Kind, PromptKind::Information);
    QAbstractItemModel* model = Get<QTableView>("AdvListView1")->model();
    ASSERT_EQ(model->rowCount(), 2);
    QStringList names{model->index(0, 0).data().toString(), model->index(1, 0).data().toString()};
    names.sort();
    EXPECT_EQ(names, QStringList({"one.txt", "two.txt"}));
    EXPECT_EQ(model->index(0, 2).data().toString(), "1");
    EXPECT_EQ(model->index(0, 3).data().toString(), "17");
    EXPECT_TRUE(
        model->index(0, 1).data().toString().startsWith(QString::fromStdString(tree.Root())));
}

TEST_F(MainFormTest, EmptyDirectoryListIsRefused) {
    QTest::mouseClick(Start(), Qt::LeftButton);
    ASSERT_EQ(prompter.Prompts.size(), 1u);
    EXPECT_EQ(prompter.Prompts[0].Kind, PromptKind::Error);
    EXPECT_EQ(Start()->accessibleName(), "Start");
    EXPECT_EQ(form.State.StopFlag, 1);
}

TEST_F(MainFormTest, CloseDuringSearchReleasesListsOnlyAfterTheSearchReturns) {
    TempTree tree;
    for (int i = 0; i < 30; ++i)
        tree.File("d" + std::to_string(i) + "/f.txt", "x");
    form.AddDirectory(tree.Root());
    form.show();
    bool listsAliveAfterClose = false;
    QTimer::singleShot(0, &form, [&] {
        form.close();
        listsAliveAfterClose = form.State.ScanList.capacity() > 0 && form.SearchRunning();
        EXPECT_EQ(form.State.StopFlag, 1);
    });
    QTest::mouseClick(Start(), Qt::LeftButton);
    EXPECT_TRUE(listsAliveAfterClose);
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(form.SearchRunning());
    EXPECT_EQ(form.State.ScanList.capacity(), 0u);
    EXPECT_EQ(form.State.DirTable.capacity(), 0u);
    EXPECT_EQ(form.State.ResultLast, -1);
    EXPECT_EQ(Get<QTableView>("AdvListView1")->model()->rowCount(), 0);
    EXPECT_TRUE(prompter.Prompts.empty()); // nobody is left to read the end-of-search box
}

TEST_F(MainFormTest, FrameLinksOpenTheShippedPages) {
    QTest::mouseClick(Get<QPushButton>("HelpButton"), Qt::LeftButton);
    QTest::mouseClick(Get<QPushButton>("UpdateButton"), Qt::LeftButton);
    QTest::mouseClick(Get("HTMLabel5"), Qt::LeftButton);
    ASSERT_EQ(opened.size(), 3u);
    EXPECT_TRUE(opened[0].isLocalFile());
    EXPECT_TRUE(opened[0].toLocalFile().endsWith("/help.html"));
    EXPECT_TRUE(opened[1].toLocalFile().endsWith("/index.html"));
    EXPECT_TRUE(opened[2].toLocalFile().endsWith("/donation.html"));
    EXPECT_TRUE(prompter.Prompts.empty());

    // A desktop without a browser: the page is named in an error box.
    opens = false;
    QTest::mouseClick(Get<QPushButton>("HelpButton"), Qt::LeftButton);
    ASSERT_EQ(prompter.Prompts.size(), 1u);
    EXPECT_EQ(prompter.Prompts[0].Kind, PromptKind::Error);
    EXPECT_EQ(prompter.Prompts[0].Text,
              "No program is set up to open \"" + opened[3].toLocalFile() + "\".");
}

} // namespace
