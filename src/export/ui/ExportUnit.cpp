#include "export/ui/ExportUnit.h"

#include "model/ui/DialogFrame.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace pellmora {

TExportForm::TExportForm(QWidget* parent) : QDialog(parent) {
    SetUpDialog(*this, "ExportForm", QStringLiteral("Export List of Duplicates to External File"),
                QSize(470, 150));
    const QString title = QStringLiteral("Export List of Files to HTML Document/TXT File");
    Label1 = Named(new QLabel(title, this), "Label1", title);
    FileEdit = Named(new QLineEdit(this), "FileEdit", QStringLiteral("Report file"));
    SelectFileButton = MakeButton(this, "SelectFileButton", QStringLiteral("&Browse"));
    const QString hint = QStringLiteral("Hint: sort order affects the output list");
    Label2 = Named(new QLabel(hint, this), "Label2", hint);
    OKButton = MakeButton(this, "OKButton", QStringLiteral("&OK"));
    CancelButton = MakeButton(this, "CancelButton", QStringLiteral("&Cancel"));
    OKButton->setDefault(true);
    Label1->setBuddy(FileEdit);

    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(FileEdit, 1);
    fileRow->addWidget(SelectFileButton);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Label2, 1);
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);
    auto* column = new QVBoxLayout(this);
    column->addWidget(Label1);
    column->addLayout(fileRow);
    column->addStretch(1);
    column->addLayout(buttons);

    MakeSaveDialog();
    connect(SelectFileButton, &QPushButton::clicked, this, &TExportForm::SelectFileButtonClick);
    connect(OKButton, &QPushButton::clicked, this, &TExportForm::OKButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &TExportForm::CancelButtonClick);
}

// Created once, so it opens where the user last was.
void TExportForm::MakeSaveDialog() {
    SaveDialog1 = new QFileDialog(this, QStringLiteral("Save List of Duplicates to File:"));
    SaveDialog1->setObjectName(QStringLiteral("SaveDialog1"));
    SaveDialog1->setAcceptMode(QFileDialog::AcceptSave);
    SaveDialog1->setFileMode(QFileDialog::AnyFile);
    SaveDialog1->setNameFilters(
        {QStringLiteral("HTML files (*.htm*)"), QStringLiteral("Text files (*.txt)")});
    SaveDialog1->setDefaultSuffix(QStringLiteral("html"));
    SaveDialog1->setOption(QFileDialog::DontConfirmOverwrite, false);
    SaveDialog1->setSizeGripEnabled(true);
}

void TExportForm::ShowModal(DialogExchange& exchange) {
    FileEdit->setFocus();
    RunModal(*this, exchange_, exchange);
}

void TExportForm::SelectFileButtonClick() {
    if (SaveDialog1->exec() != QDialog::Accepted) return;
    const QStringList names = SaveDialog1->selectedFiles();
    if (!names.isEmpty()) FileEdit->setText(names.front());
}

void TExportForm::OKButtonClick() {
    AcceptWithPath(*this, exchange_, FileEdit->text());
}

void TExportForm::CancelButtonClick() {
    CancelDialog(*this, exchange_);
}

} // namespace pellmora
