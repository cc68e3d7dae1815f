// The results list of the main window driven as a user would: mouse clicks on its cells and
// header, keys, the popup menu and the "Deselect All" button.

#include "RecordingActions.h"
#include "RecordingPrompter.h"
#include "model/SortProcedures.h"
#include "results/ResultStateBuilder.h"
#include "results/ResultsViewInput.h"
#include "results/ui/ResultsModel.h"
#include "support/TempTree.h"
#include "ui/TamberMain.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QBrush>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace pellmora;
using pellmora::test::ListedFile;
using pellmora::test::RecordingPrompter;

namespace {

const QColor LightGreen(0xC0, 0xDC, 0xC0);

struct ResultsViewTest : ::testing::Test {
    RecordingPrompter prompter;
    test::RecordingActions actions;
    TMainForm form{prompter, [](const QUrl&) { return true; }};
    QTableView* list = form.findChild<QTableView*>("AdvListView1");
    QAbstractItemModel* model = list->model();
    QAbstractItemModelTester tester{model, QAbstractItemModelTester::FailureReportingMode::Fatal};

    void SetUp() override {
        form.AttachFileActions(actions);
        form.show();
    }

    void Publish(SearchState state) {
        form.State = std::move(state);
        form.SetResultRowCount(form.State.ResultLast + 1);
    }
    QString Box(const char* name) { return form.findChild<QLabel*>(name)->text(); }
    QPoint CellCentre(int row, int column) {
        return list->visualRect(model->index(row, column)).center();
    }
    void Click(int row, int column, Qt::KeyboardModifiers modifiers = {}) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, CellCentre(row, column));
    }
    void ClickHeader(int column) {
        QHeaderView* header = list->horizontalHeader();
        const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                        header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    }
    void Key(int key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(list, static_cast<Qt::Key>(key), modifiers);
    }
    std::vector<int32_t> Ticks() { return test::Ticks(form.State); }
    QColor Band(int row) {
        return model->index(row, 2).data(Qt::BackgroundRole).value<QBrush>().color();
    }
    QString Name(int row) { return model->index(row, 0).data().toString(); }
    QString Cell(int row, int column) { return model->index(row, column).data().toString(); }
    std::pair<int, Qt::SortOrder> Indicator() {
        QHeaderView* header = list->horizontalHeader();
        EXPECT_TRUE(header->isSortIndicatorShown());
        return {header->sortIndicatorSection(), header->sortIndicatorOrder()};
    }
    // Opens the popup menu over the list as a right-click does, and returns it.
    QMenu* OpenMenu(QPoint at = {5, 5}) {
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, list->viewport()->mapToGlobal(at));
        QCoreApplication::sendEvent(list->viewport(), &event);
        auto* menu = form.findChild<QMenu*>("PopupMenu1");
        EXPECT_TRUE(menu && menu->isVisible());
        return menu;
    }
    QAction* Item(QMenu* menu, const char* name) {
        for (QAction* action : menu->actions())
            if (action->objectName() == QLatin1String(name)) return action;
        ADD_FAILURE() << name;
        return nullptr;
    }
};

// Nine files of 100 bytes in four groups; the fourth file is resolved.
SearchState NineFiles() {
    return test::ResultState({"/d/", "/d/sub/", "/e/"}, {{"a.txt", 0, 1},
                                                         {"b.txt", 1, 1},
                                                         {"c.jpg", 0, 2},
                                                         {"d.txt", 2, 2, 100, 0, 1},
                                                         {"e.txt", 0, 2},
                                                         {"f.PNG", 1, 3},
                                                         {"g.txt", 2, 3},
                                                         {"h.txt", 0, 4},
                                                         {"i.txt", 2, 4}});
}

TEST_F(ResultsViewTest, ListIsAVirtualTableOfFixedRows) {
    SearchState nine = NineFiles();
    // 28 August 2008, 18:48:48: a wide date in any format.
    nine.ResultList[0].FileDate = (28 << 25) | (8 << 21) | (28 << 16) | (18 << 11) | (48 << 5) | 24;
    Publish(std::move(nine));
    EXPECT_EQ(list->rowHeight(0), 16);
    EXPECT_EQ(list->rowHeight(8), 16);
    EXPECT_TRUE(list->showGrid());
    EXPECT_EQ(list->selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_EQ(list->selectionBehavior(), QAbstractItemView::SelectRows);
    // Each column at its design width, or wider where its caption with the sort mark needs it.
    const int widths[5] = {180, 0, 80, 100, 132};
    const QStringList captions = {"File Name", "Path", "Dup. Group", "Size", "Modified"};
    QHeaderView* header = list->horizontalHeader();
    int others = 0;
    for (int c = 0; c < 5; ++c) {
        EXPECT_EQ(model->headerData(c, Qt::Horizontal).toString(), captions[c]);
        if (c == 1) continue;
        EXPECT_GE(list->columnWidth(c), std::max(widths[c], header->sectionSizeHint(c))) << c;
        others += list->columnWidth(c);
    }
    ASSERT_FALSE(Cell(0, 4).isEmpty());
    EXPECT_GT(list->columnWidth(4), list->fontMetrics().horizontalAdvance(Cell(0, 4)));
    // "Path" takes the spare width, so "Modified" ends at the list's right edge.
    for (const int wider : {0, 300}) {
        form.resize(form.size() + QSize(wider, 0));
        QCoreApplication::processEvents();
        EXPECT_EQ(header->length(), list->viewport()->width());
        EXPECT_EQ(list->columnWidth(1), list->viewport()->width() - others);
    }
    EXPECT_EQ(model->index(1, 1).data().toString(), "/d/sub/");
    EXPECT_EQ(model->index(0, 0).data(Qt::CheckStateRole).toInt(), Qt::Unchecked);
}

TEST_F(ResultsViewTest, BandsAfterASearchAndAfterANameSortAndTheSortStateAfterTheNextSearch) {
    test::TempTree tree;
    tree.File("a/one.dat", std::string(30, 'x'));
    tree.File("b/zed.dat", std::string(30, 'x'));
    tree.File("a/two.dat", std::string(20, 'y'));
    tree.File("c/Two.dat", std::string(20, 'y'));
    tree.File("b/aaa.dat", std::string(20, 'y'));
    tree.File("a/six.dat", std::string(10, 'z'));
    tree.File("b/six.dat", std::string(10, 'z'));
    form.AddDirectory(tree.Root());
    QTest::mouseClick(form.findChild<QPushButton*>("StartButton"), Qt::LeftButton);
    ASSERT_EQ(model->rowCount(), 7);
    const QStringList groups = {"1", "1", "2", "2", "2", "3", "3"};
    for (int row = 0; row < 7; ++row) {
        EXPECT_EQ(model->index(row, 2).data().toString(), groups[row]);
        EXPECT_EQ(Band(row), groups[row] == "2" ? QColor(Qt::white) : LightGreen) << row;
    }
    EXPECT_EQ(Indicator(), std::make_pair(2, Qt::AscendingOrder));
    EXPECT_EQ(form.State.LastClickedRow, -1);

    // By name: "aaa", "one", "six", "six", "two"/"Two" (equal), "zed"; runs of one group share
    // a band, the first row is light green, and a group-2 run may be green as well.
    ClickHeader(0);
    EXPECT_EQ(Indicator(), std::make_pair(0, Qt::AscendingOrder));
    EXPECT_EQ(Name(0), "aaa.dat");
    EXPECT_EQ(Band(0), LightGreen);
    EXPECT_EQ(Band(1), QColor(Qt::white)); // one.dat, group 1
    EXPECT_EQ(Band(2), LightGreen);        // six.dat, group 3
    EXPECT_EQ(Band(3), LightGreen);
    EXPECT_EQ(Band(4), QColor(Qt::white)); // two/Two, group 2
    EXPECT_EQ(Band(5), QColor(Qt::white));
    EXPECT_EQ(Band(6), LightGreen); // zed.dat, group 1

    QTest::mouseClick(form.findChild<QPushButton*>("StartButton"), Qt::LeftButton);
    EXPECT_EQ(form.SortColumn(), 2);
    EXPECT_EQ(form.SortDirection(), 0);
    EXPECT_EQ(Indicator(), std::make_pair(2, Qt::AscendingOrder));
    EXPECT_EQ(model->index(0, 2).data().toString(), "1"); // search order, not re-sorted
    EXPECT_EQ(Band(0), LightGreen);
}

TEST_F(ResultsViewTest, SelectedRowIsPaintedInTheSelectionColoursOverItsBand) {
    Publish(NineFiles());
    QImage before = list->viewport()->grab().toImage();
    EXPECT_EQ(QColor(before.pixel(CellCentre(0, 2) + QPoint(30, 0))), LightGreen);
    EXPECT_EQ(QColor(before.pixel(CellCentre(2, 2) + QPoint(30, 0))), QColor(Qt::white));
    Click(0, 2);
    QImage after = list->viewport()->grab().toImage();
    EXPECT_EQ(QColor(after.pixel(CellCentre(0, 2) + QPoint(30, 0))), QColor(0x3A, 0x6E, 0xA5));
}

TEST_F(ResultsViewTest, SizeAscendingIsTheExactReverseAndDirectionCarriesOverColumns) {
    Publish(NineFiles());
    Click(4, 1); // select e.txt
    ClickHeader(2);
    EXPECT_EQ(Indicator(), std::make_pair(2, Qt::AscendingOrder));
    ClickHeader(3);
    EXPECT_EQ(Indicator(), std::make_pair(3, Qt::AscendingOrder));
    for (int row = 0; row < 9; ++row)
        EXPECT_EQ(form.State.ViewOrder[row].Index, 8 - row);
    EXPECT_EQ(list->currentIndex().row(), 4); // the remembered file, still selected
    EXPECT_EQ(form.SelectedRow(), 4);
    ClickHeader(3);
    EXPECT_EQ(Indicator(), std::make_pair(3, Qt::DescendingOrder));
    EXPECT_EQ(Name(0), "a.txt");
    ClickHeader(1); // descending carries over
    EXPECT_EQ(Indicator(), std::make_pair(1, Qt::DescendingOrder));
    EXPECT_EQ(model->index(0, 1).data().toString(), "/e/");
    EXPECT_EQ(Name(form.SelectedRow()), "e.txt");
    ClickHeader(1);
    EXPECT_EQ(Indicator(), std::make_pair(1, Qt::AscendingOrder));
    EXPECT_EQ(model->index(0, 1).data().toString(), "/d/");
    EXPECT_EQ(Name(form.SelectedRow()), "e.txt");
}

TEST_F(ResultsViewTest, ClicksTickInTheFirstColumnAndShiftTicksRanges) {
    Publish(NineFiles());
    Click(5, 0, Qt::ShiftModifier); // no anchor: rows 0 to 5, the resolved row 3 left out
    EXPECT_EQ(Ticks(), (std::vector<int32_t>{1, 1, 1, 0, 1, 1, 0, 0, 0}));
    EXPECT_EQ(Box("SelectedTextout"), "5 / 500 B");
    EXPECT_EQ(form.State.LastClickedRow, 5);

    form.DeselectAllButtonClick();
    Click(7, 0); // plain click ticks and anchors
    Click(2, 0, Qt::ShiftModifier);
    EXPECT_EQ(Ticks(), (std::vector<int32_t>{0, 0, 1, 0, 1, 1, 1, 1, 0}));
    EXPECT_EQ(form.State.LastClickedRow, 2);

    Click(8, 3, Qt::ShiftModifier); // another column: nothing ticked, the anchor moves
    EXPECT_EQ(form.State.LastClickedRow, 8);
    EXPECT_EQ(Ticks()[8], 0);
    Click(0, 1); // plain click outside the first column: nothing at all
    EXPECT_EQ(form.State.LastClickedRow, 8);
    EXPECT_EQ(Ticks()[0], 0);
    EXPECT_EQ(form.SelectedRow(), 0);

    Click(3, 0); // a resolved row is never ticked, but anchors
    EXPECT_EQ(Ticks()[3], 0);
    EXPECT_EQ(form.State.LastClickedRow, 3);
    Click(7, 0);
    EXPECT_EQ(Ticks()[7], 0);
    EXPECT_EQ(Box("SelectedTextout"), "4 / 400 B");
    EXPECT_EQ(model->index(7, 0).data(Qt::CheckStateRole).toInt(), Qt::Unchecked);

    form.resize(form.size() + QSize(0, 100)); // room below the nine rows
    QCoreApplication::processEvents();
    const QPoint below(5, list->viewport()->height() - 2);
    ASSERT_FALSE(list->indexAt(below).isValid());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ShiftModifier, below);
    EXPECT_EQ(form.State.LastClickedRow, 7);
}

TEST_F(ResultsViewTest, KeysActOnTheSelectedRowOnly) {
    Publish(NineFiles());
    Key(Qt::Key_Space);
    Key(Qt::Key_Delete);
    Key(Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(Ticks(), std::vector<int32_t>(9, 0)); // no row selected
    EXPECT_TRUE(actions.Calls.isEmpty());

    Click(1, 1);
    Key(Qt::Key_Space);
    EXPECT_EQ(Ticks()[1], 1);
    EXPECT_EQ(form.State.LastClickedRow, 1);
    EXPECT_EQ(Box("SelectedTextout"), "1 / 100 B");
    Key(Qt::Key_Delete);
    Key(Qt::Key_O, Qt::ControlModifier);
    Key(Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(actions.Calls, QStringList({"delete", "folder", "open"}));
    EXPECT_EQ(actions.Records, std::vector<int32_t>(3, RecordOfRow(form.State, 1)));

    Click(3, 2); // resolved: Space and Delete do nothing, Ctrl+P still asks
    actions.Calls.clear();
    Key(Qt::Key_Space);
    Key(Qt::Key_Delete);
    Key(Qt::Key_P, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(Ticks()[3], 0);
    EXPECT_EQ(actions.Calls, QStringList({"properties"}));

    // a.txt in /d/ with a, c, e, h: group 1's other file b is ticked, so a stays unticked;
    // group 2 keeps its first, c.
    Click(0, 1);
    Key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(Ticks(), (std::vector<int32_t>{0, 1, 0, 0, 1, 0, 0, 1, 0}));
    EXPECT_EQ(Box("SelectedTextout"), "3 / 300 B");
    Key(Qt::Key_Backspace, Qt::ControlModifier);
    EXPECT_EQ(Ticks(), std::vector<int32_t>(9, 0));
    EXPECT_EQ(Box("SelectedTextout"), "0 / 0 B");
    Key(Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier); // the branch /d/ takes /d/sub/
    EXPECT_EQ(Ticks(), (std::vector<int32_t>{0, 1, 0, 0, 1, 1, 0, 1, 0}));
    Key(Qt::Key_Down); // other keys still move through the list
    EXPECT_EQ(form.SelectedRow(), 1);
}

TEST_F(ResultsViewTest, PopupMenuItemsFollowTheSelectedRow) {
    Publish(NineFiles());
    QMenu* menu = OpenMenu();
    QStringList names, captions;
    for (QAction* action : menu->actions()) {
        names << action->objectName();
        captions << (action->isSeparator() ? "-" : action->text());
    }
    EXPECT_EQ(
        names,
        QStringList({"FileProperties1", "Openfilewithassociatedprogram1", "Opencontainedfolder1",
                     "PicturePreview1", "Deletethisfile1", "N1231", "SelectAllinFolder1",
                     "SelectAllinSubdirectories", "LeaveonlyoldestversionineachDupGroup1",
                     "LeaveonlynewestversionineachDupGroup1", "N1", "Removedeletedfiles1"}));
    EXPECT_EQ(captions[4], "Delete this file");
    EXPECT_EQ(captions[7], "Select all duplicates in the selected branch of subdirectories");
    EXPECT_EQ(captions[11], "Clean the list from resolved duplicates");
    auto enabled = [&] {
        QString bits;
        for (QAction* action : menu->actions())
            if (!action->isSeparator()) bits += action->isEnabled() ? '1' : '0';
        return bits;
    };
    EXPECT_EQ(enabled(), "0000000001"); // no row selected: only the cleaning
    menu->close();

    QTest::mouseClick(list->viewport(), Qt::RightButton, {}, CellCentre(3, 1));
    menu = OpenMenu(CellCentre(3, 1));
    EXPECT_EQ(form.SelectedRow(), 3);
    EXPECT_EQ(enabled(), "0010011111"); // resolved
    menu->close();
    Click(2, 1);
    menu = OpenMenu(CellCentre(2, 1));
    EXPECT_EQ(enabled(), "1111111111"); // c.jpg
    menu->close();
    Click(5, 1);
    menu = OpenMenu(CellCentre(5, 1));
    EXPECT_EQ(enabled(), "1111111111"); // f.PNG
    menu->close();
    Click(6, 1);
    menu = OpenMenu(CellCentre(6, 1));
    EXPECT_EQ(enabled(), "1110111111");
    Item(menu, "PicturePreview1")->trigger(); // disabled: not called
    Item(menu, "Opencontainedfolder1")->trigger();
    EXPECT_EQ(actions.Calls, QStringList({"folder"}));
    menu->close();

    form.State.StopFlag = 0; // a search is running
    menu = OpenMenu(CellCentre(6, 1));
    EXPECT_FALSE(Item(menu, "Removedeletedfiles1")->isEnabled());
    menu->close();
}

TEST_F(ResultsViewTest, MenuCommandsRepaintOnceAndCountWithThousandsSeparators) {
    std::vector<ListedFile> files;
    for (int32_t g = 1; g <= 1234; ++g) {
        files.push_back({"x" + std::to_string(g), 0, g, 1000, 7 + g % 2});
        files.push_back({"y" + std::to_string(g), 1, g, 1000, 8});
    }
    Publish(test::ResultState({"/a/", "/b/"}, files));
    QSignalSpy changed(model, &QAbstractItemModel::dataChanged);
    Click(1, 1); // y1 in /b/
    QMenu* menu = OpenMenu(CellCentre(1, 1));
    Item(menu, "SelectAllinFolder1")->trigger();
    EXPECT_EQ(Box("SelectedTextout"), "1,234 / 1.18 MB");
    ASSERT_EQ(changed.size(), 1);
    EXPECT_EQ(changed[0][0].toModelIndex(), model->index(0, 0));
    EXPECT_EQ(changed[0][1].toModelIndex(), model->index(2467, 4));

    menu->close();

    form.State.Locale = LocaleContext(QLocale(QLocale::German, QLocale::Germany));
    menu = OpenMenu(CellCentre(1, 1));
    Item(menu, "LeaveonlynewestversionineachDupGroup1")->trigger();
    menu->close();
    EXPECT_EQ(changed.size(), 2);
    EXPECT_EQ(Box("SelectedTextout"), "1.234 / 1,18 MB");
    // x1 and y1 have equal dates: the first stays; x2 is older than y2.
    EXPECT_EQ(Ticks()[0], 0);
    EXPECT_EQ(Ticks()[1], 1);
    EXPECT_EQ(Ticks()[2], 1);
    EXPECT_EQ(Ticks()[3], 0);
    menu = OpenMenu(CellCentre(1, 1));
    Item(menu, "LeaveonlyoldestversionineachDupGroup1")->trigger();
    menu->close();
    EXPECT_EQ(Ticks()[0], 0);
    EXPECT_EQ(Ticks()[1], 1);
    EXPECT_EQ(Ticks()[2], 0);
    EXPECT_EQ(Ticks()[3], 1);
    QTest::mouseClick(form.findChild<QPushButton*>("DeselectAllButton"), Qt::LeftButton);
    EXPECT_EQ(Box("SelectedTextout"), "0 / 0 B");
    EXPECT_EQ(changed.size(), 4);
}

TEST_F(ResultsViewTest, CleaningKeepsTheSortAndTheSelectedFile) {
    SearchState state = NineFiles();
    state.ResultList[1].Resolved = 1; // group 1 keeps one file: dropped whole
    state.ResultList[4].Checked = 1;
    Publish(std::move(state));
    ClickHeader(0);
    ClickHeader(0); // names descending
    Click(1, 1);    // h.txt
    ASSERT_EQ(Name(1), "h.txt");
    QMenu* menu = OpenMenu(CellCentre(1, 1));
    Item(menu, "Removedeletedfiles1")->trigger();
    menu->close();
    EXPECT_EQ(model->rowCount(), 6);
    QStringList names;
    for (int row = 0; row < 6; ++row)
        names << Name(row);
    EXPECT_EQ(names, QStringList({"i.txt", "h.txt", "g.txt", "f.PNG", "e.txt", "c.jpg"}));
    EXPECT_EQ(Indicator(), std::make_pair(0, Qt::DescendingOrder));
    EXPECT_EQ(Name(form.SelectedRow()), "h.txt");
    EXPECT_EQ(model->index(5, 2).data().toString(), "1"); // renumbered from 1
    EXPECT_EQ(Box("DuplicateTextout"), "3 + 3");
    EXPECT_EQ(Box("DiskUsingTextout"), "300 B + 300 B");
    EXPECT_EQ(Box("SelectedTextout"), "1 / 100 B");
}

TEST_F(ResultsViewTest, CleaningToAnEmptyList) {
    // Every group keeps at most one unresolved file; group 2 keeps e.txt alone.
    SearchState state = NineFiles();
    for (TFileInfoType& file : state.ResultList)
        file.Resolved = file.Group != 2 || file.FileName != "e.txt";
    state.ResultList[4].Checked = 1;
    Publish(std::move(state));
    Click(4, 1);
    QMenu* menu = OpenMenu(CellCentre(4, 1));
    Item(menu, "Removedeletedfiles1")->trigger();
    menu->close();
    EXPECT_EQ(model->rowCount(), 0);
    EXPECT_EQ(form.SelectedRow(), -1);
    EXPECT_EQ(Box("DuplicateTextout"), "0 + 0");
    EXPECT_EQ(Box("DiskUsingTextout"), "0 B + 0 B");
    EXPECT_EQ(Box("SelectedTextout"), "0 / 0 B");
    ClickHeader(1); // nothing to sort, nothing to tick
    Key(Qt::Key_Space);
    form.Removedeletedfiles1Click();
    EXPECT_EQ(model->rowCount(), 0);
    EXPECT_TRUE(form.State.ViewOrder.empty());
}

// While a search owns the lists (and while a stopped one unwinds) the header only moves its
// mark and the cleaning is not offered.
TEST_F(ResultsViewTest, ListLeavesTheListsAloneWhileASearchRuns) {
    test::TempTree tree;
    // The second pair is read block by block after the first pair is listed.
    tree.Pattern("a/big.bin", 300000, 1);
    tree.Pattern("b/big.bin", 300000, 1);
    tree.Pattern("a/mid.bin", 200000, 2);
    tree.Pattern("b/mid.bin", 200000, 2);
    form.AddDirectory(tree.Root());
    form.SetEventPumpSlice(0);
    bool checked = false;
    QTimer poll;
    poll.setInterval(0);
    QObject::connect(&poll, &QTimer::timeout, &form, [&] {
        if (checked || !form.SearchRunning() || form.State.ResultList.empty()) return;
        form.State.StopFlag = 1; // as after a click on "Stop"
        ClickHeader(0);
        EXPECT_EQ(form.SortColumn(), 0);
        EXPECT_EQ(model->rowCount(), 0);
        QMenu* menu = OpenMenu();
        EXPECT_FALSE(Item(menu, "Removedeletedfiles1")->isEnabled());
        menu->close();
        form.Removedeletedfiles1Click();
        checked = true;
    });
    poll.start();
    QTest::mouseClick(form.findChild<QPushButton*>("StartButton"), Qt::LeftButton);
    EXPECT_TRUE(checked);
    EXPECT_EQ(form.SortColumn(), 2);
    EXPECT_EQ(model->rowCount(), static_cast<int>(form.State.ResultList.size()));
}

} // namespace

TEST_F(ResultsViewTest, ActionButtonsReachTheirCommands) {
    Publish(NineFiles());
    for (const char* name :
         {"DeleteSelectedButton", "MoveSelectedButton", "RenameSelectedButton", "ExportListButton"})
        QTest::mouseClick(form.findChild<QPushButton*>(name), Qt::LeftButton);
    EXPECT_EQ(actions.Calls,
              QStringList({"delete selected", "move selected", "rename selected", "export"}));
}
