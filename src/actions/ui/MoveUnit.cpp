#include "actions/ui/MoveUnit.h"

#include "actions/ActionCommon.h"
#include "actions/ui/ActionForms.h"
#include "model/ui/DialogFrame.h"

#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace pellmora {

TMoveForm::TMoveForm(QWidget* parent) : QDialog(parent) {
    SetUpDialog(*this, "MoveForm", QStringLiteral("Move duplicate files to specified directory"),
                QSize(470, 170));
    Label1 = PlainLabel(this, "Label1", QStringLiteral("Select Directory:"));
    DirectoryEdit = Named(new QLineEdit(this), "DirectoryEdit", QStringLiteral("Target folder"));
    SelectDirectoryButton = MakeButton(this, "SelectDirectoryButton", QStringLiteral("&Browse"));
    Label2 = WarningText(PlainLabel(
        this, "Label2",
        QStringLiteral("Attention! There is no option to move your files back automatically.")));
    DelCountLabel =
        PlainLabel(this, "DelCountLabel", QStringLiteral("Do you really want to move 0 files?"));
    OKButton = MakeButton(this, "OKButton", QStringLiteral("&OK"));
    CancelButton = MakeButton(this, "CancelButton", QStringLiteral("&Cancel"));
    OKButton->setDefault(true);
    Label1->setBuddy(DirectoryEdit);

    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(DirectoryEdit, 1);
    folderRow->addWidget(SelectDirectoryButton);
    auto* column = new QVBoxLayout(this);
    column->addWidget(Label1);
    column->addLayout(folderRow);
    column->addWidget(Label2);
    column->addStretch(1);
    column->addWidget(DelCountLabel);
    column->addLayout(ButtonRow(OKButton, CancelButton));

    DirectoryDialog = new QFileDialog(this, QStringLiteral("Select directory to move files"));
    DirectoryDialog->setObjectName(QStringLiteral("DirectoryDialog"));
    DirectoryDialog->setFileMode(QFileDialog::Directory);
    DirectoryDialog->setOption(QFileDialog::ShowDirsOnly, true);

    connect(SelectDirectoryButton, &QPushButton::clicked, this,
            &TMoveForm::SelectDirectoryButtonClick);
    connect(OKButton, &QPushButton::clicked, this, &TMoveForm::OKButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &TMoveForm::CancelButtonClick);
    FormCreate();
}

void TMoveForm::FormCreate() {
    DirectoryEdit->setText(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
}

void TMoveForm::ShowModal(DialogExchange& exchange) {
    FormShow(exchange.SelectedCount);
    RunModal(*this, exchange_, exchange);
}

void TMoveForm::FormShow(int32_t selectedCount) {
    SetPlainText(DelCountLabel, CountQuestion("Do you really want to move ", selectedCount));
    DirectoryEdit->setFocus();
}

// Opens at the folder in the edit, or at the current folder when the edit is empty.
void TMoveForm::SelectDirectoryButtonClick() {
    const QString shown = DirectoryEdit->text();
    DirectoryDialog->setDirectory(shown.isEmpty() ? QDir::currentPath() : shown);
    if (DirectoryDialog->exec() != QDialog::Accepted) return;
    const QStringList picked = DirectoryDialog->selectedFiles();
    if (!picked.isEmpty() && !picked.front().isEmpty() && picked.front() != shown)
        DirectoryEdit->setText(picked.front());
}

void TMoveForm::OKButtonClick() {
    AcceptWithPath(*this, exchange_, DirectoryEdit->text());
}

void TMoveForm::CancelButtonClick() {
    CancelDialog(*this, exchange_);
}

} // namespace pellmora
