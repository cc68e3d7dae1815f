#include "settings/ui/MaskUnit.h"

#include "model/MessagePrompter.h"
#include "model/ui/DialogFrame.h"
#include "settings/ui/EditMaskUnit.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>

namespace pellmora {

TMaskForm::TMaskForm(MessagePrompter& prompter, ProgramLocation location, QWidget* parent)
    : QDialog(parent), prompter_(prompter), location_(std::move(location)) {
    SetUpDialog(*this, "MaskForm", QStringLiteral("File Masks"), QSize(434, 297));
    MaskListBox = Named(new QListWidget(this), "MaskListBox", QStringLiteral("File masks"));
    MaskListBox->setSelectionMode(QAbstractItemView::SingleSelection);
    AddMaskButton = MakeButton(this, "AddMaskButton", QStringLiteral("&Add Mask"));
    EditMaskButton = MakeButton(this, "EditMaskButton", QStringLiteral("&Edit"));
    DeleteMaskButton = MakeButton(this, "DeleteMaskButton", QStringLiteral("&Delete"));
    OKButton = MakeButton(this, "OKButton", QStringLiteral("&OK"));
    auto* layout = new QGridLayout(this);
    layout->addWidget(MaskListBox, 0, 0, 4, 1);
    layout->addWidget(AddMaskButton, 0, 1);
    layout->addWidget(EditMaskButton, 1, 1);
    layout->addWidget(DeleteMaskButton, 2, 1);
    layout->setRowStretch(3, 1);
    layout->addWidget(OKButton, 4, 0, 1, 2, Qt::AlignHCenter);
    connect(AddMaskButton, &QPushButton::clicked, this, &TMaskForm::AddMaskButtonClick);
    connect(EditMaskButton, &QPushButton::clicked, this, &TMaskForm::EditMaskButtonClick);
    connect(DeleteMaskButton, &QPushButton::clicked, this, &TMaskForm::DeleteMaskButtonClick);
    connect(OKButton, &QPushButton::clicked, this, &TMaskForm::OKButtonClick);
    connect(MaskListBox, &QListWidget::itemChanged, this, &TMaskForm::MaskListItemChanged);
    connect(MaskListBox, &QListWidget::itemSelectionChanged, this, &TMaskForm::ApplyButtonRule);
    ShowCatalogue();
}

void TMaskForm::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
    CentreOnScreen(*this);
}

// A "masks.ini" that stands there but cannot be read is never replaced by the list shown.
void TMaskForm::FormShow() {
    path_ = ProgramFilePath(location_, MasksFileName);
    const std::optional<QStringList> lines = path_.isEmpty() ? std::nullopt : ReadMaskFile(path_);
    if (lines) catalogue_.Load(*lines);
    fileUnreadable_ = !lines && !path_.isEmpty() && QFileInfo::exists(path_);
    catalogue_.CheckFrom(FileTypes);
    ShowCatalogue();
    MaskListBox->clearSelection();
    ApplyButtonRule();
}

void TMaskForm::OKButtonClick() {
    const QString masks = catalogue_.CheckedMasks();
    if (masks.isEmpty()) {
        prompter_.Error(NoMaskSelectedMessage);
        return;
    }
    FileTypes = masks;
    accept();
}

void TMaskForm::done(int result) {
    FormClose();
    QDialog::done(result);
}

// A catalogue that cannot be stored is reported once, and the dialog closes all the same.
void TMaskForm::FormClose() {
    if (path_.isEmpty()) return;
    const QString failure = fileUnreadable_ ? QStringLiteral("Cannot create file %1").arg(path_)
                                            : WriteMaskFile(path_, catalogue_.Lines());
    if (!failure.isEmpty()) prompter_.Error(failure);
}

void TMaskForm::AddMaskButtonClick() {
    if (!editForm_) return;
    editForm_->MaskEditMode = 0;
    if (editForm_->exec() == QDialog::Accepted) {
        catalogue_.Add(editForm_->Entry);
        ShowCatalogue();
        MaskListBox->clearSelection();
    }
    ApplyButtonRule();
}

void TMaskForm::EditMaskButtonClick() {
    const int index = SelectedIndex();
    if (!editForm_ || index < 0) return;
    editForm_->MaskEditMode = 1;
    editForm_->SelectedEntry = catalogue_.Entries()[index].Text;
    if (editForm_->exec() == QDialog::Accepted) {
        catalogue_.Replace(index, editForm_->Entry);
        ShowCatalogue();
    }
    ApplyButtonRule();
}

void TMaskForm::DeleteMaskButtonClick() {
    const int index = SelectedIndex();
    if (index < 0) return;
    if (prompter_.Prompt(PromptKind::Confirm, DeleteMaskQuestion,
                         {PromptButton::Yes, PromptButton::No}) == PromptButton::Yes) {
        catalogue_.Remove(index);
        ShowCatalogue();
        MaskListBox->clearSelection();
    }
    ApplyButtonRule();
}

// The list widget mirrors the catalogue; the selected row stays where it was.
void TMaskForm::ShowCatalogue() {
    const QSignalBlocker quiet(MaskListBox);
    const int selected = SelectedIndex();
    MaskListBox->clear();
    for (const MaskEntry& entry : catalogue_.Entries()) {
        auto* item = new QListWidgetItem(entry.Text, MaskListBox);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(entry.Checked ? Qt::Checked : Qt::Unchecked);
    }
    if (selected >= 0 && selected < MaskListBox->count()) MaskListBox->setCurrentRow(selected);
}

void TMaskForm::ApplyButtonRule() {
    const bool selected = SelectedIndex() >= 0;
    EditMaskButton->setEnabled(selected);
    DeleteMaskButton->setEnabled(selected);
}

void TMaskForm::MaskListItemChanged(QListWidgetItem* item) {
    const int index = MaskListBox->row(item);
    if (index < 0 || index >= catalogue_.Count()) return;
    const bool checked = item->checkState() == Qt::Checked;
    if (checked == catalogue_.Entries()[index].Checked) return;
    catalogue_.SetChecked(index, checked);
    ShowChecks();
}

// In place: the item whose change is being reported must stay alive.
void TMaskForm::ShowChecks() {
    const QSignalBlocker quiet(MaskListBox);
    for (int i = 0; i < MaskListBox->count() && i < catalogue_.Count(); ++i)
        MaskListBox->item(i)->setCheckState(catalogue_.Entries()[i].Checked ? Qt::Checked
                                                                            : Qt::Unchecked);
}

int TMaskForm::SelectedIndex() const {
    const QList<QListWidgetItem*> selected = MaskListBox->selectedItems();
    return selected.isEmpty() ? -1 : MaskListBox->row(selected.front());
}

} // namespace pellmora
