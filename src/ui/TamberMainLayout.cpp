// The bands of the main window and their controls. Every control is a standard widget named
// after its component, with its caption as its accessible name; looks come from style sheets.

#include "model/TextFormats.h"
#include "model/ui/DialogFrame.h"
#include "results/ViewOrderSort.h"
#include "results/ui/ResultsModel.h"
#include "ui/TamberMain.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QSplitter>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace pellmora {

namespace {

const char* const HeadingStyle = "QFrame#%1 { background: %2; }"
                                 " QLabel#%1Text { color: white; background: transparent; }";
// A selected resolved row keeps its strike-out: the font comes from the model, only the
// colours from here. Every fixed background has a fixed text colour too, so that a dark theme's
// light text never lands on it. A font of its own makes the header's caption plain text in that
// colour: some styles would blend it into the background.
const char* const ResultsListStyle =
    "QTableView { gridline-color: #C0C0C0; }"
    " QTableView::item:selected { background: #3A6EA5; color: white; }"
    " QHeaderView::section { background: #DADADA; color: black; border: 1px solid #A0A0A0;"
    " border-width: 0 1px 1px 0; padding: 0 4px; font-weight: normal; }";
// The bar sits on a heading's fixed gradient, where some styles draw its text: the groove, the
// chunk and the text get fixed colours that read on each other.
const char* const ProgressBarStyle =
    "QProgressBar { background: white; color: black; border: 1px solid #A0A0A0;"
    " text-align: center; } QProgressBar::chunk { background: #96BCE2; }";
const char* const StatisticsBoxStyle =
    "QLabel { background: #0A236A; color: white; font-weight: bold; padding-left: 4px; }";

// The size a band or panel is designed at; 0 leaves that side free. The window keeps it unless
// the contents need more (a larger font, a roomier style).
const char* const DesignSize = "designSize";

void SetDesignSize(QWidget* widget, QSize size) {
    widget->setProperty(DesignSize, size);
    if (size.width() > 0) widget->setFixedWidth(size.width());
    if (size.height() > 0) widget->setFixedHeight(size.height());
}

QCheckBox* MakeCheck(QWidget* parent, const char* name, const QString& caption, bool checked) {
    QCheckBox* box = Named(new QCheckBox(caption, parent), name, caption);
    box->setChecked(checked);
    return box;
}

QLabel* MakeBoldLabel(QWidget* parent, const QString& caption) {
    auto* label = new QLabel(caption, parent);
    label->setAccessibleName(caption);
    label->setStyleSheet(QStringLiteral("font-weight: bold;"));
    return label;
}

// A value box is read as the value it shows (Qt follows the text and announces its changes);
// its caption, shown beside it, becomes its description.
QLabel* MakeStatisticsBox(QWidget* parent, const char* name, const QString& text,
                          const QString& caption) {
    auto* box = new QLabel(text, parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setAccessibleDescription(caption);
    box->setStyleSheet(QString::fromLatin1(StatisticsBoxStyle));
    box->setMinimumWidth(110);
    return box;
}

// A strip with the bold step text on the blue gradient; the caller adds its controls.
QFrame* MakeHeading(QWidget* parent, const char* name, const QString& step, const QString& text,
                    int height) {
    auto* strip = new QFrame(parent);
    strip->setObjectName(QString::fromLatin1(name));
    SetDesignSize(strip, QSize(0, height));
    strip->setStyleSheet(
        QString::fromLatin1(HeadingStyle).arg(QString::fromLatin1(name), HeadingGradient()));
    auto* label = new QLabel(QStringLiteral("<b>%1</b> %2").arg(step, text.toHtmlEscaped()), strip);
    label->setObjectName(QString::fromLatin1(name) + QStringLiteral("Text"));
    label->setAccessibleName(step + QLatin1Char(' ') + text);
    auto* layout = new QHBoxLayout(strip);
    layout->setContentsMargins(8, 2, 4, 2);
    layout->addWidget(label);
    return strip;
}

QComboBox* MakeUnitBox(QWidget* parent, const char* name, const QString& caption) {
    QComboBox* box = Named(new QComboBox(parent), name, caption);
    box->addItems({QStringLiteral("B"), QStringLiteral("KB"), QStringLiteral("MB")});
    box->setCurrentIndex(1);
    return box;
}

QLineEdit* MakeSizeEdit(QWidget* parent, const char* name, const QString& caption) {
    QLineEdit* edit = Named(new QLineEdit(QStringLiteral("0"), parent), name, caption);
    edit->setMaxLength(10);
    edit->setFixedWidth(70);
    return edit;
}

QWidget* Band(QWidget* parent, int height) {
    auto* band = new QWidget(parent);
    if (height > 0) SetDesignSize(band, QSize(0, height));
    return band;
}

} // namespace

void TMainForm::BuildWindow() {
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Pellmora"));
    setAccessibleName(QStringLiteral("Pellmora"));
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(BuildStep1Band());
    layout->addWidget(BuildOptionsBand());
    layout->addWidget(BuildSearchBand(), 1);
    layout->addWidget(BuildStatisticsBand());
    layout->addWidget(BuildStep3Band());
    setCentralWidget(central);
    BuildStatusBar();
    AsyncTimer = new QTimer(this);
    AsyncTimer->setObjectName(QStringLiteral("AsyncTimer"));
    AsyncTimer->setInterval(500);
    FitDesignSizes();
    ApplyOuterSizes();
    ListLockedControls();
    ConnectControls();
}

// The window's sizes are those of the outer window, frame included. The frame that a window
// manager adds is known only once the window is mapped (and changes if the manager is
// replaced), so the client sizes are worked out again whenever it may have changed. The
// starting size follows only as long as the user has not resized the window.
void TMainForm::ApplyOuterSizes() {
    const QSize frame = frameGeometry().size() - geometry().size();
    const QSize content = minimumSizeHint();
    if (frame == appliedFrame_ && content == appliedContent_) return;
    const bool untouched = size() == startClientSize_;
    appliedFrame_ = frame;
    appliedContent_ = content;
    // Never so small that a control's text is cut off (a larger font, a roomier style).
    setMinimumSize((QSize(760, 482) - frame).expandedTo(content));
    QSize start = QSize(765, 616) - frame;
    if (const QScreen* shown = screen()) start = start.boundedTo(shown->availableSize() - frame);
    startClientSize_ = start.expandedTo(minimumSize());
    if (untouched || !isVisible()) resize(startClientSize_);
}

// Inner strips first: a band's own need includes theirs.
void TMainForm::FitDesignSizes() {
    const QList<QWidget*> widgets = findChildren<QWidget*>();
    for (auto it = widgets.rbegin(); it != widgets.rend(); ++it) {
        const QSize design = (*it)->property(DesignSize).toSize();
        const QSize needed = (*it)->minimumSizeHint();
        if (design.width() > 0) (*it)->setFixedWidth(std::max(design.width(), needed.width()));
        if (design.height() > 0) (*it)->setFixedHeight(std::max(design.height(), needed.height()));
    }
}

QWidget* TMainForm::BuildStep1Band() {
    QWidget* band = Band(this, 165);
    QFrame* heading =
        MakeHeading(band, "Step1Heading", QStringLiteral("Step 1:"),
                    QStringLiteral("Selection of the directories. Setting the options."), 33);
    auto* strip = static_cast<QHBoxLayout*>(heading->layout());
    strip->addStretch();
    HelpButton = MakeButton(heading, "HelpButton", QStringLiteral("&Help"));
    UpdateButton = MakeButton(heading, "UpdateButton", QStringLiteral("&Update"));
    SettingsButton = MakeButton(heading, "SettingsButton", QStringLiteral("&Settings"));
    AboutButton = MakeButton(heading, "AboutButton", QStringLiteral("A&bout"));
    for (QPushButton* b : {HelpButton, UpdateButton, SettingsButton, AboutButton})
        strip->addWidget(b);

    TreeView1 = Named(new QTreeWidget(band), "TreeView1", QStringLiteral("Drives and folders"));
    TreeView1->setHeaderHidden(true);
    TreeView1->setMinimumWidth(120);
    TreeView1->setDragEnabled(true);
    TreeView1->setDragDropMode(QAbstractItemView::DragOnly);
    TreeView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    AddDirButton = MakeButton(band, "AddDirButton", QStringLiteral("&Add"));
    RemoveDirButton = MakeButton(band, "RemoveDirButton", QStringLiteral("&Remove"));
    RemoveAllButton = MakeButton(band, "RemoveAllButton", QStringLiteral("&Clear"));
    DirectoriesListBox =
        Named(new QListWidget(band), "DirectoriesListBox", QStringLiteral("Directories to search"));
    DirectoriesListBox->setSelectionMode(QAbstractItemView::SingleSelection);
    DirectoriesListBox->setToolTip(
        QStringLiteral("Tick a folder to keep its files: they are compared and listed, but never "
                       "ticked, moved, renamed or deleted."));
    DirectoriesListBox->viewport()->setAcceptDrops(true);

    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {AddDirButton, RemoveDirButton, RemoveAllButton})
        buttons->addWidget(b);
    buttons->addStretch();
    auto* listSide = new QWidget(band);
    auto* row = new QHBoxLayout(listSide);
    row->setContentsMargins(0, 0, 0, 0);
    row->addLayout(buttons);
    row->addWidget(DirectoriesListBox, 1);
    // Long folder paths on either side: the user moves the border between tree and list.
    auto* split = Named(new QSplitter(Qt::Horizontal, band), "FolderSplitter",
                        QStringLiteral("Drives and folders | Directories to search"));
    split->setChildrenCollapsible(false);
    split->addWidget(TreeView1);
    split->addWidget(listSide);
    split->setStretchFactor(1, 1);
    split->setSizes({209, 765 - 209});
    auto* layout = new QVBoxLayout(band);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(heading);
    auto* margins = new QHBoxLayout;
    margins->setContentsMargins(4, 4, 4, 4);
    margins->addWidget(split);
    layout->addLayout(margins);
    return band;
}

// Taller than the four rows of the original options by the row of "Skip Folders:".
QWidget* TMainForm::BuildOptionsBand() {
    QWidget* band = Band(this, OptionsBandHeight);
    IncludeTypeLabel = Named(new QLabel(QStringLiteral("Search Files:"), band), "IncludeTypeLabel",
                             QStringLiteral("Search Files:"));
    FileTypesEdit = Named(new QLineEdit(QStringLiteral("*.*"), band), "FileTypesEdit",
                          QStringLiteral("Search Files:"));
    FileTypesEdit->setReadOnly(true);
    DefineMasksButton = MakeButton(band, "DefineMasksButton", QStringLiteral("Define &Masks"));
    SkipFoldersLabel = Named(new QLabel(QStringLiteral("Skip Folders:"), band), "SkipFoldersLabel",
                             QStringLiteral("Skip Folders:"));
    SkipFoldersEdit =
        Named(new QLineEdit(band), "SkipFoldersEdit", QStringLiteral("Skip Folders:"));
    SkipFoldersEdit->setToolTip(
        QStringLiteral("Folder names to skip, joined by |, e.g. .git|node_modules|@eaDir"));
    SkipFoldersLabel->setBuddy(SkipFoldersEdit);
    MinSizeCheck = MakeCheck(band, "MinSizeCheck", QStringLiteral("Min File Size"), false);
    MinSizeEdit = MakeSizeEdit(band, "MinSizeEdit", QStringLiteral("Min File Size"));
    MinSizeBox = MakeUnitBox(band, "MinSizeBox", QStringLiteral("Min File Size unit"));
    MaxSizeCheck = MakeCheck(band, "MaxSizeCheck", QStringLiteral("Max File Size"), false);
    MaxSizeEdit = MakeSizeEdit(band, "MaxSizeEdit", QStringLiteral("Max File Size"));
    MaxSizeBox = MakeUnitBox(band, "MaxSizeBox", QStringLiteral("Max File Size unit"));
    // Made in reading order, left column first, so that Tab follows it.
    OnlyWithKeptCheck =
        MakeCheck(band, "OnlyWithKeptCheck", QStringLiteral("Only groups with a kept file"), false);
    ExcludeZeroCheck =
        MakeCheck(band, "ExcludeZeroCheck", QStringLiteral("Skip Zero-Size Files"), true);
    ProtectSysFoldersCheck =
        MakeCheck(band, "ProtectSysFoldersCheck", QStringLiteral("Protect System Folders"), true);
    ProtectSysFilesCheck =
        MakeCheck(band, "ProtectSysFilesCheck",
                  QStringLiteral("Protect Other System Files (*.sys;*.ocx;*.drv;*.dll)"), true);
    const QString donation =
        QStringLiteral("If you like the program, you can support this work with a ");
    HTMLabel5 =
        Named(new QLabel(donation.toHtmlEscaped() + QStringLiteral("<u>donation</u>"), band),
              "HTMLabel5", donation + QStringLiteral("donation"));
    // Tab stops here and Enter or Space follows the link, as a click does; the frame shows the
    // focus in the theme's highlight.
    HTMLabel5->setFocusPolicy(Qt::TabFocus);
    HTMLabel5->setStyleSheet(
        QStringLiteral("QLabel#HTMLabel5:focus { border: 2px solid palette(highlight); }"));
    HTMLabel5->setFrameStyle(QFrame::Box | QFrame::Plain);
    HTMLabel5->setAlignment(Qt::AlignCenter);
    HTMLabel5->setWordWrap(true);
    HTMLabel5->setCursor(Qt::WhatsThisCursor);
    HTMLabel5->setFixedWidth(170);

    auto* grid = new QGridLayout;
    grid->setVerticalSpacing(2);
    grid->addWidget(IncludeTypeLabel, 0, 0);
    grid->addWidget(FileTypesEdit, 0, 1, 1, 3);
    grid->addWidget(DefineMasksButton, 0, 4);
    grid->addWidget(SkipFoldersLabel, 1, 0);
    grid->addWidget(SkipFoldersEdit, 1, 1, 1, 3);
    grid->addWidget(MinSizeCheck, 2, 0);
    grid->addWidget(MinSizeEdit, 2, 1);
    grid->addWidget(MinSizeBox, 2, 2);
    grid->addWidget(ExcludeZeroCheck, 2, 3, 1, 2);
    grid->addWidget(MaxSizeCheck, 3, 0);
    grid->addWidget(MaxSizeEdit, 3, 1);
    grid->addWidget(MaxSizeBox, 3, 2);
    grid->addWidget(ProtectSysFoldersCheck, 3, 3, 1, 2);
    grid->addWidget(OnlyWithKeptCheck, 4, 0, 1, 3);
    grid->addWidget(ProtectSysFilesCheck, 4, 3, 1, 2);
    auto* layout = new QHBoxLayout(band);
    layout->setContentsMargins(6, 2, 6, 2);
    layout->addLayout(grid, 1);
    layout->addWidget(HTMLabel5);
    return band;
}

QWidget* TMainForm::BuildSearchBand() {
    QWidget* band = Band(this, 0);
    QFrame* heading = MakeHeading(band, "Step2Heading", QStringLiteral("Step 2:"),
                                  QStringLiteral("Duplicate search:"), 33);
    ProgressBar = Named(new QProgressBar(heading), "ProgressBar", QStringLiteral("Progress"));
    ProgressBar->setRange(0, 100);
    ProgressBar->setValue(0);
    ProgressBar->setStyleSheet(QString::fromLatin1(ProgressBarStyle));
    StartButton = MakeButton(heading, "StartButton", QStringLiteral("S&tart"));
    auto* strip = static_cast<QHBoxLayout*>(heading->layout());
    strip->addWidget(ProgressBar, 1);
    strip->addWidget(StartButton);

    AdvListView1 = Named(new QTableView(band), "AdvListView1", QStringLiteral("Duplicate files"));
    AdvListView1->setModel(model_);
    AdvListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    AdvListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    AdvListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    AdvListView1->setShowGrid(true);
    AdvListView1->setWordWrap(false);
    // Tab leaves the list for the next control; the arrows move inside it.
    AdvListView1->setTabKeyNavigation(false);
    // Uniform fixed rows: the list never measures a row, so it never formats one it hides.
    QHeaderView* rows = AdvListView1->verticalHeader();
    rows->hide();
    const int rowHeight = std::max(16, AdvListView1->fontMetrics().height() + 2); // a large font
    rows->setMinimumSectionSize(rowHeight);
    rows->setDefaultSectionSize(rowHeight);
    rows->setSectionResizeMode(QHeaderView::Fixed);
    QHeaderView* columns = AdvListView1->horizontalHeader();
    columns->setSectionsClickable(true);
    columns->setHighlightSections(false);
    // No sort column before the first search, but room for the mark from the start.
    columns->setSortIndicator(-1, Qt::AscendingOrder);
    columns->setSortIndicatorShown(true);
    // The sort mark is drawn by the style in the header's text colours, on the fixed grey.
    QPalette marks = columns->palette();
    for (const QPalette::ColorRole role :
         {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
        marks.setColor(role, Qt::black);
    columns->setPalette(marks);
    FitColumnWidths();
    // The folder path takes the width the other columns leave.
    columns->setSectionResizeMode(static_cast<int>(ResultColumn::Path), QHeaderView::Stretch);
    AdvListView1->setStyleSheet(QString::fromLatin1(ResultsListStyle));
    AdvListView1->setContextMenuPolicy(Qt::CustomContextMenu);
    // The search band alone gives up height at the window's minimum size; a list's own minimum
    // (room for both scroll bars) would push the bands above over the tree.
    AdvListView1->setMinimumHeight(1);
    BuildPopupMenu();
    auto* layout = new QVBoxLayout(band);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(heading);
    layout->addWidget(AdvListView1, 1);
    return band;
}

// Each column at its design width, or wider where its caption with the sort mark, or a date in
// the user's format, needs more (a larger font, a longer format).
void TMainForm::FitColumnWidths() {
    QHeaderView* header = AdvListView1->horizontalHeader();
    // 28 December 2000, 23:58:58: wide digits, the longest month, an afternoon time.
    const int32_t sampleDate = (20 << 25) | (12 << 21) | (28 << 16) | (23 << 11) | (58 << 5) | 29;
    const int dateWidth = AdvListView1->fontMetrics().horizontalAdvance(
                              ModifiedText(sampleDate, State.Locale.Format())) +
                          12;
    for (int c = 0; c < ResultsModel::ColumnCount; ++c) {
        int width = std::max(ResultsModel::ColumnWidths[c], header->sectionSizeHint(c));
        if (c == static_cast<int>(ResultColumn::Modified)) width = std::max(width, dateWidth);
        AdvListView1->setColumnWidth(c, width);
    }
}

QWidget* TMainForm::BuildStatisticsBand() {
    QWidget* band = Band(this, 81);
    TotalFilesTextout = MakeStatisticsBox(band, "TotalFilesTextout", QStringLiteral("0"),
                                          QStringLiteral("Files scanned:"));
    DuplicateTextout = MakeStatisticsBox(band, "DuplicateTextout", QStringLiteral("0 + 0"),
                                         QStringLiteral("Original files + duplicates:"));
    SelectedTextout = MakeStatisticsBox(band, "SelectedTextout", QStringLiteral("0 / 0 MB"),
                                        QStringLiteral("Selected:"));
    DiskUsingTextout = MakeStatisticsBox(band, "DiskUsingTextout", QStringLiteral("0 MB + 0 MB"),
                                         QStringLiteral("Disk space using:"));
    ExportListButton = MakeButton(band, "ExportListButton", QStringLiteral("&Export List to File"));
    ExportListButton->setMinimumWidth(ExportListButton->sizeHint().width());
    auto* grid = new QGridLayout(band);
    grid->setContentsMargins(8, 6, 8, 6);
    const QList<QLabel*> boxes{TotalFilesTextout, DuplicateTextout, SelectedTextout,
                               DiskUsingTextout};
    for (int i = 0; i < boxes.size(); ++i) {
        grid->addWidget(MakeBoldLabel(band, boxes[i]->accessibleDescription()), i % 2, (i / 2) * 2);
        grid->addWidget(boxes[i], i % 2, (i / 2) * 2 + 1);
    }
    // The sizes ("528.28 MB + 727.63 MB") need more room than the counts.
    grid->setColumnStretch(1, 2);
    grid->setColumnStretch(3, 3);
    grid->addWidget(ExportListButton, 0, 4, 2, 1);
    return band;
}

QWidget* TMainForm::BuildStep3Band() {
    QFrame* heading = MakeHeading(this, "Step3Heading", QStringLiteral("Step 3:"),
                                  QStringLiteral("What to do with duplicate files?"), 35);
    DeselectAllButton = MakeButton(heading, "DeselectAllButton", QStringLiteral("Dese&lect All"));
    RenameSelectedButton =
        MakeButton(heading, "RenameSelectedButton", QStringLiteral("Re&name Selected"));
    MoveSelectedButton =
        MakeButton(heading, "MoveSelectedButton", QStringLiteral("M&ove to Folder"));
    DeleteSelectedButton =
        MakeButton(heading, "DeleteSelectedButton", QStringLiteral("&Delete Selected"));
    auto* strip = static_cast<QHBoxLayout*>(heading->layout());
    strip->addStretch();
    for (QPushButton* b :
         {DeselectAllButton, RenameSelectedButton, MoveSelectedButton, DeleteSelectedButton})
        strip->addWidget(b);
    return heading;
}

void TMainForm::BuildPopupMenu() {
    PopupMenu1 = new QMenu(AdvListView1);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    auto add = [this](const char* name, const char* caption, void (TMainForm::*handler)()) {
        QAction* action = PopupMenu1->addAction(QString::fromLatin1(caption));
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    FileProperties1 = add("FileProperties1", "File properties", &TMainForm::FileProperties1Click);
    Openfilewithassociatedprogram1 =
        add("Openfilewithassociatedprogram1", "Open file with associated program",
            &TMainForm::Openfilewithassociatedprogram1Click);
    Opencontainedfolder1 = add("Opencontainedfolder1", "Open folder containing the file",
                               &TMainForm::Opencontainedfolder1Click);
    PicturePreview1 = add("PicturePreview1", "Picture preview", &TMainForm::PicturePreview1Click);
    Deletethisfile1 = add("Deletethisfile1", "Delete this file", &TMainForm::Deletethisfile1Click);
    PopupMenu1->addSeparator()->setObjectName(QStringLiteral("N1231"));
    SelectAllinFolder1 = add("SelectAllinFolder1", "Select all duplicates in this folder",
                             &TMainForm::SelectAllinFolder1Click);
    SelectAllinSubdirectories =
        add("SelectAllinSubdirectories",
            "Select all duplicates in the selected branch of subdirectories",
            &TMainForm::SelectAllinSubdirectoriesClick);
    LeaveonlyoldestversionineachDupGroup1 =
        add("LeaveonlyoldestversionineachDupGroup1", "Leave only oldest version in each Dup.Group",
            &TMainForm::LeaveonlyoldestversionineachDupGroup1Click);
    LeaveonlynewestversionineachDupGroup1 =
        add("LeaveonlynewestversionineachDupGroup1", "Leave only newest version in each Dup.Group",
            &TMainForm::LeaveonlynewestversionineachDupGroup1Click);
    PopupMenu1->addSeparator()->setObjectName(QStringLiteral("N1"));
    Removedeletedfiles1 = add("Removedeletedfiles1", "Clean the list from resolved duplicates",
                              &TMainForm::Removedeletedfiles1Click);
    ShowListKeys();
}

// The list's keys, beside the entries they reach. They act in the list itself; here they only
// also act while the menu is open.
void TMainForm::ShowListKeys() {
    const std::pair<QAction*, QKeySequence> keys[] = {
        {FileProperties1, QKeySequence(Qt::CTRL | Qt::Key_P)},
        {Openfilewithassociatedprogram1, QKeySequence(Qt::CTRL | Qt::Key_R)},
        {Opencontainedfolder1, QKeySequence(Qt::CTRL | Qt::Key_O)},
        {Deletethisfile1, QKeySequence(Qt::Key_Delete)},
        {SelectAllinFolder1, QKeySequence(Qt::CTRL | Qt::Key_S)},
        {SelectAllinSubdirectories, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)},
    };
    for (const auto& [action, key] : keys) {
        action->setShortcut(key);
        action->setShortcutContext(Qt::WidgetShortcut);
        action->setShortcutVisibleInContextMenu(true);
    }
}

void TMainForm::BuildStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar"));
    const QString texts[3] = {QStringLiteral(" Version: 2.2.4"), QStringLiteral("00:00:00"),
                              QStringLiteral(" Status: Waiting")};
    const int widths[3] = {100, 80, 500};
    for (int i = 0; i < 3; ++i) {
        StatusPanels[i] = new QLabel(texts[i], bar);
        StatusPanels[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        SetDesignSize(StatusPanels[i], QSize(widths[i], 0));
        StatusPanels[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        bar->addWidget(StatusPanels[i]);
    }
    StatusPanels[1]->setAlignment(Qt::AlignCenter);
}

void TMainForm::ListLockedControls() {
    lockedControls_ = {IncludeTypeLabel,
                       DirectoriesListBox,
                       AddDirButton,
                       RemoveDirButton,
                       RemoveAllButton,
                       DeselectAllButton,
                       DeleteSelectedButton,
                       MoveSelectedButton,
                       RenameSelectedButton,
                       ExportListButton,
                       DefineMasksButton,
                       AboutButton,
                       SettingsButton,
                       FileTypesEdit,
                       ExcludeZeroCheck,
                       ProtectSysFilesCheck,
                       ProtectSysFoldersCheck,
                       MinSizeCheck,
                       MinSizeEdit,
                       MinSizeBox,
                       MaxSizeCheck,
                       MaxSizeEdit,
                       MaxSizeBox};
    lockedControls_ << SkipFoldersLabel << SkipFoldersEdit << OnlyWithKeptCheck;
}

void TMainForm::ConnectControls() {
    connect(StartButton, &QPushButton::clicked, this, &TMainForm::StartButtonClick);
    connect(AsyncTimer, &QTimer::timeout, this, &TMainForm::AsyncTimerTimer);
    connect(AddDirButton, &QPushButton::clicked, this, &TMainForm::AddDirButtonClick);
    connect(RemoveDirButton, &QPushButton::clicked, this, &TMainForm::RemoveDirButtonClick);
    connect(RemoveAllButton, &QPushButton::clicked, this, &TMainForm::RemoveAllButtonClick);
    connect(HelpButton, &QPushButton::clicked, this, &TMainForm::HelpButtonClick);
    connect(UpdateButton, &QPushButton::clicked, this, &TMainForm::UpdateButtonClick);
    connect(SettingsButton, &QPushButton::clicked, this, &TMainForm::SettingsButtonClick);
    connect(AboutButton, &QPushButton::clicked, this, &TMainForm::AboutButtonClick);
    connect(MinSizeCheck, &QCheckBox::toggled, this, &TMainForm::MinSizeCheckClick);
    connect(MaxSizeCheck, &QCheckBox::toggled, this, &TMainForm::MaxSizeCheckClick);
    connect(TreeView1, &QTreeWidget::itemExpanded, this, &TMainForm::TreeViewExpanding);
    connect(DeselectAllButton, &QPushButton::clicked, this, &TMainForm::DeselectAllButtonClick);
    connect(DeleteSelectedButton, &QPushButton::clicked, this,
            &TMainForm::DeleteSelectedButtonClick);
    connect(MoveSelectedButton, &QPushButton::clicked, this, &TMainForm::MoveSelectedButtonClick);
    connect(RenameSelectedButton, &QPushButton::clicked, this,
            &TMainForm::RenameSelectedButtonClick);
    connect(ExportListButton, &QPushButton::clicked, this, &TMainForm::ExportListButtonClick);
    connect(AdvListView1->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &TMainForm::AdvListView1ColumnClick);
    connect(PopupMenu1, &QMenu::aboutToShow, this, &TMainForm::PopupMenu1Popup);
    connect(new QShortcut(QKeySequence::HelpContents, this), &QShortcut::activated, this,
            &TMainForm::HelpButtonClick);
    connect(AdvListView1, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        PopupMenu1->popup(AdvListView1->viewport()->mapToGlobal(at));
    });
    AdvListView1->installEventFilter(this);
    AdvListView1->viewport()->installEventFilter(this);
    DirectoriesListBox->installEventFilter(this);
    DirectoriesListBox->viewport()->installEventFilter(this);
    HTMLabel5->installEventFilter(this);
    ConnectSettingsControls();
}

} // namespace pellmora
