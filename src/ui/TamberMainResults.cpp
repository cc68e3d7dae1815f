// Step 3 of the main window: the results list's clicks, keys and header, its popup menu, and
// the selection commands. The commands themselves work on the state; here they are only
// reached, and the list and the "Selected:" box are brought up to date afterwards.

#include "results/ResultsViewInput.h"
#include "results/SelectionCommands.h"
#include "results/ViewOrderSort.h"
#include "results/ui/ResultsModel.h"
#include "search/SearchDriver.h"
#include "ui/DirectoryPicker.h"
#include "ui/TamberMain.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QTableView>

namespace pellmora {

namespace {

// The file at a record index, named so that it can be found again in a rebuilt list.
struct ListedPath {
    int32_t DirIndex = -1;
    std::string FileName;
};

ListedPath ListedPathOf(const SearchState& state, int32_t record) {
    if (record < 0) return {};
    const TFileInfoType& file = state.ResultList[static_cast<size_t>(record)];
    return {file.DirIndex, file.FileName};
}

// A path is listed once, so folder and name find the file again.
int32_t RecordOf(const SearchState& state, const ListedPath& path) {
    for (size_t k = 0; k < state.ResultList.size(); ++k) {
        const TFileInfoType& file = state.ResultList[k];
        if (file.DirIndex == path.DirIndex && file.FileName == path.FileName)
            return static_cast<int32_t>(k);
    }
    return -1;
}

// "Delete this file" is not offered for a resolved or a kept row.
bool IsUntouchableRow(const SearchState& state, int row) {
    const int32_t record = RecordOfRow(state, row);
    return record >= 0 && !MayBeTicked(state.ResultList[static_cast<size_t>(record)]);
}

} // namespace

int TMainForm::SelectedRow() const {
    const QModelIndexList rows = AdvListView1->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.front().row();
}

void TMainForm::UpdateSelectionStats() {
    SelectedTextout->setText(SelectionStatsText(State));
}

void TMainForm::ApplyViewUpdate(const ViewUpdate& update, int row) {
    if (update.What == Repaint::ClickedRow) model_->RefreshRow(row);
    if (update.What == Repaint::WholeList) model_->RefreshAll();
    if (update.SelectionStats) UpdateSelectionStats();
}

void TMainForm::AfterTickCommand(bool acted) {
    if (!acted) return;
    model_->RefreshAll();
    UpdateSelectionStats();
}

// ---- Clicks, keys, header ----

void TMainForm::AdvListView1LeftClickCell(int row, int column, bool shiftHeld) {
    if (row >= model_->RowCount()) return;
    ApplyViewUpdate(LeftClickCell(State, row, column, shiftHeld), row);
}

void TMainForm::AdvListView1KeyDown(int key, Qt::KeyboardModifiers modifiers) {
    const int row = SelectedRow();
    if (State.ResultList.empty() || row < 0) return;
    switch (KeyCommand(key, modifiers)) {
    case ListKeyCommand::ToggleCheck:
        ApplyViewUpdate(ToggleRowCheck(State, row), row);
        break;
    case ListKeyCommand::DeleteThisFile:
        if (!IsUntouchableRow(State, row)) Deletethisfile1Click();
        break;
    case ListKeyCommand::DeselectAll:
        DeselectAllButtonClick();
        break;
    case ListKeyCommand::OpenContainingFolder:
        Opencontainedfolder1Click();
        break;
    case ListKeyCommand::FileProperties:
        FileProperties1Click();
        break;
    case ListKeyCommand::OpenWithAssociatedProgram:
        Openfilewithassociatedprogram1Click();
        break;
    case ListKeyCommand::SelectAllInFolder:
        SelectAllinFolder1Click();
        break;
    case ListKeyCommand::SelectAllInSubdirectories:
        SelectAllinSubdirectoriesClick();
        break;
    case ListKeyCommand::None:
        break;
    }
}

void TMainForm::ShowSortIndicator() {
    QHeaderView* header = AdvListView1->horizontalHeader();
    header->setSortIndicatorShown(true);
    header->setSortIndicator(sortColumn_,
                             sortDirection_ == 1 ? Qt::DescendingOrder : Qt::AscendingOrder);
}

// While a search builds the lists (or unwinds after a stop) only the sort state changes: the
// search publishes its own order when it ends.
void TMainForm::AdvListView1ColumnClick(int column) {
    if (column < 0 || column >= ResultsModel::ColumnCount) return;
    if (column == sortColumn_)
        sortDirection_ = sortDirection_ == 1 ? 0 : 1;
    else
        sortColumn_ = column;
    ShowSortIndicator();
    if (!ListCanBeSorted(State)) return;
    const int32_t remembered = RecordOfRow(State, SelectedRow());
    model_->BeginRebuild();
    SortViewOrder(State, column, sortDirection_);
    model_->EndRebuild(State.ResultLast + 1);
    SelectRecord(remembered);
}

void TMainForm::SelectRecord(int32_t record) {
    const int row = record < 0 ? -1 : model_->RowOfRecord(record);
    if (row < 0) return;
    const QModelIndex index = model_->index(row, 0);
    AdvListView1->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                               QItemSelectionModel::Rows);
    AdvListView1->scrollTo(index);
}

bool TMainForm::ResultsListEvent(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == AdvListView1->viewport() &&
        (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick)) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QModelIndex index = AdvListView1->indexAt(mouse->position().toPoint());
        if (mouse->button() == Qt::LeftButton && index.isValid())
            AdvListView1LeftClickCell(index.row(), index.column(),
                                      mouse->modifiers().testFlag(Qt::ShiftModifier));
        return false; // the list still selects the row
    }
    if (watched == AdvListView1 && type == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (KeyCommand(key->key(), key->modifiers()) == ListKeyCommand::None) return false;
        AdvListView1KeyDown(key->key(), key->modifiers());
        return true;
    }
    return false;
}

// ---- Popup menu and selection commands ----

void TMainForm::PopupMenu1Popup() {
    const PopupMenuItems items = pellmora::PopupMenu1Popup(State, SelectedRow());
    FileProperties1->setEnabled(items.FileProperties);
    Openfilewithassociatedprogram1->setEnabled(items.OpenWithAssociatedProgram);
    Opencontainedfolder1->setEnabled(items.OpenContainingFolder);
    PicturePreview1->setEnabled(items.PicturePreview);
    Deletethisfile1->setEnabled(items.DeleteThisFile);
    SelectAllinFolder1->setEnabled(items.SelectAllInFolder);
    SelectAllinSubdirectories->setEnabled(items.SelectAllInSubdirectories);
    LeaveonlyoldestversionineachDupGroup1->setEnabled(items.LeaveOnlyOldest);
    LeaveonlynewestversionineachDupGroup1->setEnabled(items.LeaveOnlyNewest);
    // StopFlag is already 1 while a stopped search unwinds; its lists are still in use.
    Removedeletedfiles1->setEnabled(items.RemoveResolved && !SearchRunning());
}

void TMainForm::DeselectAllButtonClick() {
    AfterTickCommand(DeselectAll(State));
}

void TMainForm::SelectAllinFolder1Click() {
    AfterTickCommand(SelectAllInFolder(State, SelectedRow()));
}

void TMainForm::SelectAllinSubdirectoriesClick() {
    AfterTickCommand(SelectAllInSubdirectories(State, SelectedRow()));
}

// The age commands sort without pumping events: nothing may change the list meanwhile.
void TMainForm::LeaveonlyoldestversionineachDupGroup1Click() {
    AfterTickCommand(LeaveOnlyOldestVersion(State));
}

void TMainForm::LeaveonlynewestversionineachDupGroup1Click() {
    AfterTickCommand(LeaveOnlyNewestVersion(State));
}

void TMainForm::Removedeletedfiles1Click() {
    if (!ResolvedCanBeRemoved(State)) return;
    const ListedPath selected = ListedPathOf(State, RecordOfRow(State, SelectedRow()));
    CleanupTexts texts;
    model_->BeginRebuild();
    RemoveResolvedDuplicates(State, sortColumn_, sortDirection_, texts);
    model_->EndRebuild(State.ResultLast + 1);
    DuplicateTextout->setText(texts.DuplicateText);
    DiskUsingTextout->setText(texts.DiskUsingText);
    SelectedTextout->setText(texts.SelectedText);
    if (selected.DirIndex >= 0) SelectRecord(RecordOf(State, selected));
}

// ---- File actions: reached here, done by the plugged-in commands ----

int32_t TMainForm::SelectedRecord() const {
    return RecordOfRow(State, SelectedRow());
}

// An action changes at most the Checked and Resolved flags, so the rows repaint in place.
void TMainForm::AfterFileAction() {
    model_->RefreshAll();
    UpdateSelectionStats();
}

void TMainForm::DeleteSelectedButtonClick() {
    actions_->DeleteSelected(State);
    AfterFileAction();
}

void TMainForm::MoveSelectedButtonClick() {
    actions_->MoveSelected(State);
    AfterFileAction();
}

void TMainForm::RenameSelectedButtonClick() {
    actions_->RenameSelected(State);
    AfterFileAction();
}

void TMainForm::ExportListButtonClick() {
    actions_->ExportList(State, DuplicateTextout->text(), DirectoryEntries(DirectoriesListBox));
}

void TMainForm::Deletethisfile1Click() {
    actions_->DeleteThisFile(State, SelectedRecord());
    AfterFileAction();
}

void TMainForm::FileProperties1Click() {
    actions_->ShowFileProperties(State, SelectedRecord());
}

void TMainForm::Openfilewithassociatedprogram1Click() {
    actions_->OpenWithAssociatedProgram(State, SelectedRecord());
}

void TMainForm::Opencontainedfolder1Click() {
    actions_->OpenContainingFolder(State, SelectedRecord());
}

void TMainForm::PicturePreview1Click() {
    actions_->PicturePreview(State, SelectedRecord());
}

} // namespace pellmora
