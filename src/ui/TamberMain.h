#pragma once
// The main window: the three steps of the work stacked from top to bottom, the search run
// from its Start button, and the directory picker. It owns the search's shared state and shows
// the search through the view interface.

#include "model/DuplicateTypes.h"
#include "model/MessagePrompter.h"
#include "model/SearchInputs.h"
#include "search/SearchView.h"
#include "settings/ProgramFiles.h"
#include "ui/FileActions.h"
#include "ui/TimeSlicedPump.h"
#include "ui/WebPages.h"

#include <QList>
#include <QMainWindow>
#include <QUrl>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QProgressBar;
class QPushButton;
class QTableView;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;

namespace pellmora {

class ResultsModel;
struct ViewUpdate;
class TAboutForm;
class TSettingsForm;
class TMaskForm;
struct ProgramSettings;

class TMainForm : public QMainWindow, public SearchView {
    Q_OBJECT
  public:
    // location: where the settings file and the mask catalogue are kept; the default keeps
    // none, so a window made for a test reads and writes no file.
    explicit TMainForm(MessagePrompter& prompter, UrlOpener opener = DesktopUrlOpener(),
                       QWidget* parent = nullptr, ProgramLocation location = {});
    ~TMainForm() override;

    // The options band: the original four rows and the row of "Skip Folders:".
    static constexpr int OptionsBandHeight = 123;

    SearchState State;
    bool SaveState = true;     // whether the options persist between runs
    bool CacheEnabled = false; // whether searches remember checksums (the default store)

    void AttachDialogs(TAboutForm* about, TSettingsForm* settings, TMaskForm* masks = nullptr);
    // The commands behind the action buttons and the file entries of the popup menu.
    void AttachFileActions(FileActions& actions) { actions_ = &actions; }

    // Step 2.
    void StartButtonClick();
    void AsyncTimerTimer();
    SearchInputs ReadInputs() const;
    bool SearchRunning() const { return State.SearchRunning; }
    // How often a search lets the window's events run; a test that must act at a particular
    // yield point sets 0 (every one).
    void SetEventPumpSlice(qint64 ms) { pumpSliceMs_ = ms; }
    // The controls a search disables, in the order it disables them.
    const QList<QWidget*>& SearchLockedControls() const { return lockedControls_; }

    // Step 1.
    void AddDirButtonClick();
    void RemoveDirButtonClick();
    void RemoveAllButtonClick();
    void TreeViewExpanding(QTreeWidgetItem* node);
    void DroppedFilesHandler(const QList<QUrl>& urls);
    // kept: the entry starts ticked, as a keep folder.
    void AddDirectory(const std::string& path, bool kept = false);
    void MinSizeCheckClick();
    void MaxSizeCheckClick();

    // Frame buttons and links.
    void HelpButtonClick();
    void UpdateButtonClick();
    void HTMLabel5Click();
    void SettingsButtonClick();
    void DefineMasksButtonClick();
    void AboutButtonClick();

    // Step 3: the results view (TamberMainResults.cpp).
    void AdvListView1LeftClickCell(int row, int column, bool shiftHeld);
    void AdvListView1KeyDown(int key, Qt::KeyboardModifiers modifiers);
    void AdvListView1ColumnClick(int column);
    void UpdateSelectionStats();
    int SelectedRow() const;                       // -1: none
    int SortColumn() const { return sortColumn_; } // -1 before the first search
    uint8_t SortDirection() const { return sortDirection_; }

    // The results list's popup menu and the selection commands.
    void PopupMenu1Popup();
    void DeselectAllButtonClick();
    void SelectAllinFolder1Click();
    void SelectAllinSubdirectoriesClick();
    void LeaveonlyoldestversionineachDupGroup1Click();
    void LeaveonlynewestversionineachDupGroup1Click();
    void Removedeletedfiles1Click();

    // The file actions: the ticked files, the list, and the selected row's file.
    void DeleteSelectedButtonClick();
    void MoveSelectedButtonClick();
    void RenameSelectedButtonClick();
    void ExportListButtonClick();
    void Deletethisfile1Click();
    void FileProperties1Click();
    void Openfilewithassociatedprogram1Click();
    void Opencontainedfolder1Click();
    void PicturePreview1Click();

    // Settings file (TamberMainSettings.cpp).
    void OpenIniFile();
    void SaveIniFile();

    // SearchView
    void PrepareToStart() override;
    void PrepareToStop() override;
    void SetTimerEnabled(bool enabled) override;
    void SetStatusText(const QString& text) override;
    void SetTotalFilesText(const QString& text) override;
    void SetDuplicateText(const QString& text) override;
    void SetDiskUsingText(const QString& text) override;
    void SetProgress(int percent) override;
    void SetResultRowCount(int rows) override;
    void SetResultUpdatesEnabled(bool enabled) override;
    void ShowError(const QString& text) override;
    void ShowInformation(const QString& text) override;
    void ShowErrorReport(const QString& text) override;

  protected:
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void FormCreate();
    void RunSearch();
    void FinishPendingClose();
    void ShowSortMark();
    void ShowSortIndicator();
    bool DirectoryListEvent(QEvent* event);
    bool ResultsListEvent(QObject* watched, QEvent* event);
    void ApplyViewUpdate(const ViewUpdate& update, int row);
    void AfterTickCommand(bool acted);
    void SelectRecord(int32_t record);

    // Construction of the bands (TamberMainLayout.cpp).
    void BuildWindow();
    void ApplyOuterSizes();
    void FitDesignSizes();
    QWidget* BuildStep1Band();
    QWidget* BuildOptionsBand();
    QWidget* BuildSearchBand();
    QWidget* BuildStatisticsBand();
    QWidget* BuildStep3Band();
    void BuildStatusBar();
    void FitColumnWidths();
    void BuildPopupMenu();
    void ShowListKeys();
    void ConnectControls();
    void ListLockedControls();
    void ConnectSettingsControls();
    void ApplySettings(const ProgramSettings& settings);

    void AfterFileAction();
    int32_t SelectedRecord() const;

    MessagePrompter& prompter_;
    NoFileActions noActions_;
    FileActions* actions_ = &noActions_;
    UrlOpener opener_;
    TAboutForm* aboutForm_ = nullptr;
    TSettingsForm* settingsForm_ = nullptr;
    TMaskForm* maskForm_ = nullptr;
    ProgramLocation location_;
    ResultsModel* model_ = nullptr;
    QList<QWidget*> lockedControls_;
    qint64 pumpSliceMs_ = TimeSlicedPump::DefaultSliceMs;
    bool closePending_ = false;
    bool shown_ = false;  // shown once: the sizes that need polished controls are fitted
    bool placed_ = false; // put where the last run left it, rather than centred
    QSize appliedFrame_;
    QSize appliedContent_;
    QSize startClientSize_;
    int sortColumn_ = -1;
    uint8_t sortDirection_ = 0;

    QTreeWidget* TreeView1 = nullptr;
    QListWidget* DirectoriesListBox = nullptr;
    QPushButton* AddDirButton = nullptr;
    QPushButton* RemoveDirButton = nullptr;
    QPushButton* RemoveAllButton = nullptr;
    QPushButton* HelpButton = nullptr;
    QPushButton* UpdateButton = nullptr;
    QPushButton* SettingsButton = nullptr;
    QPushButton* AboutButton = nullptr;
    QLabel* IncludeTypeLabel = nullptr;
    QLineEdit* FileTypesEdit = nullptr;
    QPushButton* DefineMasksButton = nullptr;
    QLabel* SkipFoldersLabel = nullptr;
    QLineEdit* SkipFoldersEdit = nullptr;
    QCheckBox* OnlyWithKeptCheck = nullptr;
    QCheckBox* MinSizeCheck = nullptr;
    QLineEdit* MinSizeEdit = nullptr;
    QComboBox* MinSizeBox = nullptr;
    QCheckBox* MaxSizeCheck = nullptr;
    QLineEdit* MaxSizeEdit = nullptr;
    QComboBox* MaxSizeBox = nullptr;
    QCheckBox* ExcludeZeroCheck = nullptr;
    QCheckBox* ProtectSysFoldersCheck = nullptr;
    QCheckBox* ProtectSysFilesCheck = nullptr;
    QLabel* HTMLabel5 = nullptr;
    QProgressBar* ProgressBar = nullptr;
    QPushButton* StartButton = nullptr;
    QTableView* AdvListView1 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* FileProperties1 = nullptr;
    QAction* Openfilewithassociatedprogram1 = nullptr;
    QAction* Opencontainedfolder1 = nullptr;
    QAction* PicturePreview1 = nullptr;
    QAction* Deletethisfile1 = nullptr;
    QAction* SelectAllinFolder1 = nullptr;
    QAction* SelectAllinSubdirectories = nullptr;
    QAction* LeaveonlyoldestversionineachDupGroup1 = nullptr;
    QAction* LeaveonlynewestversionineachDupGroup1 = nullptr;
    QAction* Removedeletedfiles1 = nullptr;
    QLabel* TotalFilesTextout = nullptr;
    QLabel* DuplicateTextout = nullptr;
    QLabel* SelectedTextout = nullptr;
    QLabel* DiskUsingTextout = nullptr;
    QPushButton* ExportListButton = nullptr;
    QPushButton* DeselectAllButton = nullptr;
    QPushButton* RenameSelectedButton = nullptr;
    QPushButton* MoveSelectedButton = nullptr;
    QPushButton* DeleteSelectedButton = nullptr;
    QLabel* StatusPanels[3] = {nullptr, nullptr, nullptr};
    QTimer* AsyncTimer = nullptr;
};

} // namespace pellmora
