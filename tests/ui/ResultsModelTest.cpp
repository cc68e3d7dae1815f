#include "results/ui/ResultsModel.h"

#include <QAbstractItemModelTester>
#include <QBrush>
#include <QDate>
#include <QFile>
#include <QFont>
#include <QIcon>
#include <gtest/gtest.h>

using namespace pellmora;

namespace {

int32_t DosDate(int year, int month, int day, int hour, int minute, int second) {
    return static_cast<int32_t>((uint32_t(year - 1980) << 25) | (uint32_t(month) << 21) |
                                (uint32_t(day) << 16) | (uint32_t(hour) << 11) |
                                (uint32_t(minute) << 5) | uint32_t(second / 2));
}

SearchState TwoGroups() {
    SearchState state;
    state.DirTable = {"/data/", "/data/caf\xc3\xa9/"};
    auto add = [&](const char* name, int dir, int group, int64_t size) {
        TFileInfoType f;
        f.FileName = name;
        f.DirIndex = dir;
        f.Group = group;
        f.Size = size;
        state.ResultList.push_back(f);
    };
    add("a.txt", 0, 1, 2048);
    add("b\xff.txt", 1, 1, 2048);
    add("c.txt", 0, 2, 10);
    state.ResultLast = 2;
    BuildViewOrder(state);
    return state;
}

TEST(ResultsModelTest, RowsComeFromThePublishedCountNotTheLists) {
    SearchState state = TwoGroups();
    ResultsModel model(state);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(model.columnCount(), 5);
    model.SetRowCount(3);
    EXPECT_EQ(model.rowCount(), 3);

    // Rows the lists no longer hold show nothing rather than reading past them.
    model.SetRowCount(5);
    EXPECT_FALSE(model.index(4, 0).data().isValid());
    model.SetRowCount(3);
}

TEST(ResultsModelTest, CellsShowTheRecordOfTheViewOrder) {
    SearchState state = TwoGroups();
    state.ResultList[0].FileDate = DosDate(2021, 3, 4, 0, 0, 0);
    state.ResultList[1].Checked = 1;
    state.ResultList[2].Resolved = 1;
    std::swap(state.ViewOrder[0], state.ViewOrder[2]);
    ResultsModel model(state);
    model.SetRowCount(3);

    EXPECT_EQ(model.index(0, 0).data().toString(), "c.txt");
    EXPECT_EQ(model.index(0, 2).data().toString(), "2");
    EXPECT_EQ(model.index(0, 3).data().toString(), "10");
    EXPECT_EQ(model.index(1, 0).data().toString(), QFile::decodeName("b\xff.txt"));
    EXPECT_EQ(model.index(1, 1).data().toString(), QString::fromUtf8("/data/caf\xc3\xa9/"));
    EXPECT_EQ(model.index(1, 0).data(Qt::CheckStateRole).toInt(), Qt::Checked);
    EXPECT_EQ(model.index(2, 0).data(Qt::CheckStateRole).toInt(), Qt::Unchecked);
    EXPECT_FALSE(model.index(2, 1).data(Qt::CheckStateRole).isValid());
    EXPECT_EQ(model.index(1, 4).data().toString(), "");

    // Group 2 has an even key (white), group 1 an odd one (light green).
    EXPECT_EQ(model.index(0, 0).data(Qt::BackgroundRole).value<QBrush>().color(),
              QColor(Qt::white));
    EXPECT_EQ(model.index(1, 3).data(Qt::BackgroundRole).value<QBrush>().color(),
              QColor(0xC0, 0xDC, 0xC0));
    EXPECT_TRUE(model.index(0, 0).data(Qt::FontRole).value<QFont>().strikeOut());
    EXPECT_EQ(model.index(0, 0).data(Qt::ForegroundRole).value<QBrush>().color(),
              QColor(0xB0, 0, 0));
    EXPECT_EQ(model.index(1, 0).data(Qt::ForegroundRole).value<QBrush>().color(),
              QColor(Qt::black));
    EXPECT_FALSE(model.index(1, 0).data(Qt::FontRole).isValid());
    EXPECT_EQ(model.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "File Name");
}

// A kept row: a lock where the check box would be, its own text colour, "kept" for the mouse
// and for assistive tools, and nothing the view could tick.
TEST(ResultsModelTest, AKeptRowShowsALockInsteadOfACheckBox) {
    SearchState state = TwoGroups();
    state.ResultList[0].Kept = 1;
    ResultsModel model(state);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.SetRowCount(3);
    const QModelIndex kept = model.index(0, 0);
    const QModelIndex plain = model.index(1, 0);
    EXPECT_FALSE(kept.data(Qt::CheckStateRole).isValid());
    EXPECT_FALSE(model.flags(kept).testFlag(Qt::ItemIsUserCheckable));
    EXPECT_TRUE(model.flags(plain).testFlag(Qt::ItemIsUserCheckable));
    EXPECT_FALSE(kept.data(Qt::DecorationRole).value<QIcon>().isNull());
    EXPECT_FALSE(plain.data(Qt::DecorationRole).isValid());
    EXPECT_FALSE(model.index(0, 1).data(Qt::DecorationRole).isValid());
    for (const int role : {int(Qt::ToolTipRole), int(Qt::AccessibleDescriptionRole)}) {
        EXPECT_EQ(model.index(0, 3).data(role).toString(), "kept");
        EXPECT_FALSE(plain.data(role).isValid());
    }
    EXPECT_EQ(kept.data(Qt::ForegroundRole).value<QBrush>().color(), ResultsModel::KeptColour);
    EXPECT_EQ(plain.data(Qt::ForegroundRole).value<QBrush>().color(), QColor(Qt::black));
}

TEST(ResultsModelTest, ModifiedLeavesOutMidnightAndInvalidDates) {
    const QLocale c(QLocale::C);
    EXPECT_EQ(ModifiedText(0, c), "");
    EXPECT_EQ(ModifiedText(DosDate(2021, 3, 4, 0, 0, 0), c),
              c.toString(QDate(2021, 3, 4), QLocale::ShortFormat));
    const QString withTime = ModifiedText(DosDate(2021, 3, 4, 13, 5, 8), c);
    EXPECT_TRUE(withTime.startsWith(c.toString(QDate(2021, 3, 4), QLocale::ShortFormat) + " "));
    EXPECT_TRUE(withTime.contains("13:05:08")) << withTime.toStdString();
    EXPECT_FALSE(withTime.contains("UTC"));
    EXPECT_EQ(ModifiedText(DosDate(2021, 13, 4, 1, 0, 0), c), ""); // month 13
}

} // namespace
