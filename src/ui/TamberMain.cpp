#include "ui/TamberMain.h"

#include "actions/ShellActions.h"
#include "model/TextFormats.h"
#include "model/ui/DialogFrame.h"
#include "platform/ChecksumCache.h"
#include "results/ViewOrderSort.h"
#include "results/ui/ResultsModel.h"
#include "search/SearchDriver.h"
#include "search/StatusLine.h"
#include "ui/AboutUnit.h"
#include "ui/DirectoryPicker.h"

#include "model/NativeText.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDropEvent>
#include <QFile>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QThread>
#include <QTimer>
#include <QTreeWidget>

#include <exception>

namespace pellmora {

namespace {

bool IsLeftClick(const QEvent* event) {
    return event->type() == QEvent::MouseButtonRelease &&
           static_cast<const QMouseEvent*>(event)->button() == Qt::LeftButton;
}

// Enter or Space on a focused link.
bool IsActivationKey(const QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space;
}

SizeLimitInput SizeLimit(const QCheckBox* check, const QLineEdit* edit, const QComboBox* box) {
    SizeLimitInput limit;
    limit.Checked = check->isChecked();
    limit.Text = edit->text();
    limit.Unit = static_cast<SizeUnit>(std::clamp(box->currentIndex(), 0, 2));
    return limit;
}

} // namespace

TMainForm::TMainForm(MessagePrompter& prompter, UrlOpener opener, QWidget* parent,
                     ProgramLocation location)
    : QMainWindow(parent), prompter_(prompter), opener_(std::move(opener)),
      location_(std::move(location)) {
    model_ = new ResultsModel(State, this);
    BuildWindow();
    FormCreate();
}

TMainForm::~TMainForm() = default;

void TMainForm::AttachDialogs(TAboutForm* about, TSettingsForm* settings, TMaskForm* masks) {
    aboutForm_ = about;
    settingsForm_ = settings;
    maskForm_ = masks;
}

void TMainForm::FormCreate() {
    State.ScanLast = State.DirLast = State.ResultLast = -1;
    State.OriginalsSize = State.DuplicatesSize = 0;
    State.ProtectedFolders = DefaultProtectedFolders();
    FillDriveTree(TreeView1);
    State.StopFlag = 1;
    State.CompareMode = 0;
    SaveState = true;
    CacheEnabled = false;
    OpenIniFile();
    MinSizeCheckClick();
    MaxSizeCheckClick();
    setAcceptDrops(true);
}

// ---- Step 2: the search ----

// While a search is on the call stack a click only ever stops it, even when an earlier click at
// the same yield point has already set StopFlag: a search started in there would release the
// lists the outer one still works on.
void TMainForm::StartButtonClick() {
    if (StartStartsSearch(State)) {
        State.StopFlag = 0;
        RunSearch();
    } else {
        State.StopFlag = 1;
    }
    ShowSortMark();
    if (closePending_ && !SearchRunning()) FinishPendingClose();
}

// The window was hidden when the close was put off, and closing a hidden window does not end
// the program by itself; it ends here, as the close would have ended it.
void TMainForm::FinishPendingClose() {
    close();
    if (QGuiApplication::quitOnLastWindowClosed()) QCoreApplication::quit();
}

void TMainForm::RunSearch() {
    const SearchInputs inputs = ReadInputs();
    State.ChecksumCacheFile = CacheEnabled ? ChecksumCache::DefaultFile() : std::string();
    try {
        TimeSlicedPump pump([] { QCoreApplication::processEvents(); }, pumpSliceMs_);
        SearchStart(State, inputs, *this, [&pump] { pump(); });
    } catch (const std::exception& e) {
        if (StartButton->accessibleName() != QLatin1String("Start")) {
            State.StopFlag = 1;
            PrepareToStop();
        }
        ShowErrorReport(QString::fromLocal8Bit(e.what()));
    }
}

// The list shows its sort mark on "Dup. Group", ascending, without sorting anew: the search
// leaves the rows in that order.
void TMainForm::ShowSortMark() {
    sortColumn_ = static_cast<int>(ResultColumn::DupGroup);
    sortDirection_ = 0;
    ShowSortIndicator();
    AdvListView1->viewport()->update();
}

SearchInputs TMainForm::ReadInputs() const {
    SearchInputs inputs;
    inputs.Directories = DirectoryEntries(DirectoriesListBox);
    inputs.KeepDirectories = KeepEntries(DirectoriesListBox);
    inputs.OnlyWithKept = OnlyWithKeptCheck->isChecked();
    inputs.SkipFolders = SkipFoldersEdit->text();
    inputs.MaskText = FileTypesEdit->text();
    inputs.ExcludeZero = ExcludeZeroCheck->isChecked();
    inputs.ProtectSysFolders = ProtectSysFoldersCheck->isChecked();
    inputs.ProtectSysFiles = ProtectSysFilesCheck->isChecked();
    inputs.MinSize = SizeLimit(MinSizeCheck, MinSizeEdit, MinSizeBox);
    inputs.MaxSize = SizeLimit(MaxSizeCheck, MaxSizeEdit, MaxSizeBox);
    return inputs;
}

void TMainForm::AsyncTimerTimer() {
    StatusPanels[1]->setText(ElapsedText(TickCount() - State.StartTick));
    if (State.SearchPhase == 1) {
        SetStatusText(QStringLiteral(" Status: Comparing \"") + Decoded(State.CurrentFile) +
                      QLatin1Char('"'));
    } else {
        SetStatusText(QStringLiteral(" Status: ") + ScanStatusText(State));
    }
}

void TMainForm::PrepareToStart() {
    ProgressBar->setValue(0);
    TotalFilesTextout->setText(QStringLiteral("0"));
    DuplicateTextout->setText(QStringLiteral("0 + 0"));
    DiskUsingTextout->setText(QStringLiteral("0 MB + 0 MB"));
    SelectedTextout->setText(QStringLiteral("0 / 0 MB"));
    for (QWidget* control : lockedControls_)
        control->setEnabled(false);
    SetCaption(StartButton, QStringLiteral("S&top"));
    QThread::msleep(100);
}

void TMainForm::PrepareToStop() {
    QThread::msleep(100);
    for (QWidget* control : lockedControls_) {
        if (control == MinSizeEdit || control == MinSizeBox || control == MaxSizeEdit ||
            control == MaxSizeBox)
            continue;
        control->setEnabled(true);
        if (control == MinSizeCheck) MinSizeCheckClick();
        if (control == MaxSizeCheck) MaxSizeCheckClick();
    }
    State.StopFlag = 1;
    SetCaption(StartButton, QStringLiteral("S&tart"));
}

void TMainForm::SetTimerEnabled(bool enabled) {
    if (enabled)
        AsyncTimer->start();
    else
        AsyncTimer->stop();
}

void TMainForm::SetStatusText(const QString& text) {
    StatusPanels[2]->setText(text);
}

void TMainForm::SetTotalFilesText(const QString& text) {
    TotalFilesTextout->setText(text);
}

void TMainForm::SetDuplicateText(const QString& text) {
    DuplicateTextout->setText(text);
}

void TMainForm::SetDiskUsingText(const QString& text) {
    DiskUsingTextout->setText(text);
}

void TMainForm::SetProgress(int percent) {
    ProgressBar->setValue(percent);
}

void TMainForm::SetResultRowCount(int rows) {
    model_->SetRowCount(rows);
}

void TMainForm::SetResultUpdatesEnabled(bool enabled) {
    AdvListView1->setUpdatesEnabled(enabled);
}

// Once the user has closed the window the search's messages have nobody to read them.
void TMainForm::ShowError(const QString& text) {
    if (!closePending_) prompter_.Error(text);
}

void TMainForm::ShowInformation(const QString& text) {
    if (!closePending_) prompter_.Information(text);
}

void TMainForm::ShowErrorReport(const QString& text) {
    if (!closePending_) prompter_.ErrorReport(text);
}

// ---- Step 1: the directory picker ----

void TMainForm::AddDirectory(const std::string& path, bool kept) {
    AppendDirectory(DirectoriesListBox, path, kept);
}

void TMainForm::AddDirButtonClick() {
    const std::string path = NodePath(TreeView1->currentItem());
    if (!path.empty()) AddDirectory(path);
}

void TMainForm::RemoveDirButtonClick() {
    const QList<QListWidgetItem*> selected = DirectoriesListBox->selectedItems();
    if (!selected.isEmpty()) delete selected.front();
}

void TMainForm::RemoveAllButtonClick() {
    DirectoriesListBox->clear();
}

void TMainForm::TreeViewExpanding(QTreeWidgetItem* node) {
    RefillNode(node);
}

void TMainForm::DroppedFilesHandler(const QList<QUrl>& urls) {
    for (const std::string& folder : DroppedDirectories(urls))
        AddDirectory(folder);
}

void TMainForm::MinSizeCheckClick() {
    MinSizeEdit->setEnabled(MinSizeCheck->isChecked());
    MinSizeBox->setEnabled(MinSizeCheck->isChecked());
}

void TMainForm::MaxSizeCheckClick() {
    MaxSizeEdit->setEnabled(MaxSizeCheck->isChecked());
    MaxSizeBox->setEnabled(MaxSizeCheck->isChecked());
}

void TMainForm::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* event) {
    if (!event->mimeData()->hasUrls()) return;
    event->acceptProposedAction();
    DroppedFilesHandler(event->mimeData()->urls());
}

// Tree nodes dragged onto the list add like "Add"; files from outside go to the drop handler.
bool TMainForm::DirectoryListEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        const bool fromTree = drag->source() == TreeView1;
        if (fromTree || drag->mimeData()->hasUrls()) {
            drag->setDropAction(fromTree ? Qt::CopyAction : drag->proposedAction());
            drag->accept();
        } else {
            drag->ignore();
        }
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        if (drop->source() == TreeView1)
            AddDirButtonClick();
        else if (drop->mimeData()->hasUrls())
            DroppedFilesHandler(drop->mimeData()->urls());
        drop->acceptProposedAction();
        return true;
    }
    default:
        return false;
    }
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == DirectoriesListBox && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        RemoveDirButtonClick();
        return true;
    }
    if (watched == DirectoriesListBox->viewport() && DirectoryListEvent(event)) return true;
    if (ResultsListEvent(watched, event)) return true;
    if (watched == HTMLabel5 && (IsLeftClick(event) || IsActivationKey(event))) {
        HTMLabel5Click();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---- Window life ----

// The controls' sizes are final once they are polished, just before the window first shows.
void TMainForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    FitDesignSizes();
    ApplyOuterSizes();
    if (shown_) return;
    shown_ = true;
    FitColumnWidths();
    if (!placed_) CentreOnScreen(*this);
}

// A window manager reparents the window into its frame after it is mapped; a move follows.
void TMainForm::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    ApplyOuterSizes();
}

// A close during a search only raises StopFlag: the search still uses the lists below this
// call, so they are released when it has returned and the close is issued again.
void TMainForm::closeEvent(QCloseEvent* event) {
    State.StopFlag = 1;
    if (!closePending_) SaveIniFile();
    if (SearchRunning()) {
        closePending_ = true;
        hide();
        event->ignore();
        return;
    }
    model_->SetRowCount(0);
    ReleaseLists(State);
    closePending_ = false;
    event->accept();
}

// ---- Frame buttons and links ----

void TMainForm::HelpButtonClick() {
    OpenOrSay(opener_, ProductPageUrl(QStringLiteral("help.html")), prompter_);
}

void TMainForm::UpdateButtonClick() {
    OpenOrSay(opener_, ProductPageUrl(QStringLiteral("index.html")), prompter_);
}

void TMainForm::HTMLabel5Click() {
    OpenOrSay(opener_, ProductPageUrl(QStringLiteral("donation.html")), prompter_);
}

void TMainForm::AboutButtonClick() {
    if (aboutForm_) aboutForm_->exec();
}

} // namespace pellmora
