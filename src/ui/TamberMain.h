#pragma once
// The main window: the three steps of the work stacked from top to bottom, the search run
// from its Start button, and the directory picker. It owns the search's shared state and shows
// the search through the view interface.

#include "search/DuplicateTypes.h"
#include "search/SearchInputs.h"
#include "search/SearchView.h"
#include "ui/MessagePrompter.h"
#include "ui/WebPages.h"

#include <QList>
#include <QMainWindow>
#include <QUrl>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTableView;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;

namespace pellmora {

class ResultsModel;
class TAboutForm;
class TSettingsForm;

class TMainForm : public QMainWindow, public SearchView {
    Q_OBJECT
  public:
    explicit TMainForm(MessagePrompter& prompter, UrlOpener opener = DesktopUrlOpener(),
                       QWidget* parent = nullptr);
    ~TMainForm() override;

    SearchState State;
    bool SaveState = true; // whether the options persist between runs

    void AttachDialogs(TAboutForm* about, TSettingsForm* settings);

    // Step 2.
    void StartButtonClick();
    void AsyncTimerTimer();
    SearchInputs ReadInputs() const;
    bool SearchRunning() const { return searchDepth_ > 0; }
    // The controls a search disables, in the order it disables them.
    const QList<QWidget*>& SearchLockedControls() const { return lockedControls_; }

    // Step 1.
    void AddDirButtonClick();
    void RemoveDirButtonClick();
    void RemoveAllButtonClick();
    void TreeViewExpanding(QTreeWidgetItem* node);
    void DroppedFilesHandler(const QList<QUrl>& urls);
    void AddDirectory(const std::string& path);
    void MinSizeCheckClick();
    void MaxSizeCheckClick();

    // Frame buttons and links.
    void HelpButtonClick();
    void UpdateButtonClick();
    void HTMLabel5Click();
    void SettingsButtonClick();
    void AboutButtonClick();

    // Settings file; filled in with the settings.
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
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void FormCreate();
    void RunSearch();
    void ShowSortMark();
    bool DirectoryListEvent(QEvent* event);

    // Construction of the bands (TamberMainLayout.cpp).
    void BuildWindow();
    QWidget* BuildStep1Band();
    QWidget* BuildOptionsBand();
    QWidget* BuildSearchBand();
    QWidget* BuildStatisticsBand();
    QWidget* BuildStep3Band();
    void BuildStatusBar();
    void ConnectControls();
    void ListLockedControls();

    MessagePrompter& prompter_;
    UrlOpener opener_;
    TAboutForm* aboutForm_ = nullptr;
    TSettingsForm* settingsForm_ = nullptr;
    ResultsModel* model_ = nullptr;
    QList<QWidget*> lockedControls_;
    int searchDepth_ = 0;
    bool closePending_ = false;
    bool centred_ = false;

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
