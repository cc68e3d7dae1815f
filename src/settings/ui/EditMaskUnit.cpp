#include "settings/ui/EditMaskUnit.h"

#include "model/MessagePrompter.h"
#include "model/ui/DialogFrame.h"
#include "settings/MaskCatalogue.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace pellmora {

TEditMaskForm::TEditMaskForm(MessagePrompter& prompter, QWidget* parent)
    : QDialog(parent), prompter_(prompter) {
    SetUpDialog(*this, "EditMaskForm", QStringLiteral("Add File Mask"), QSize(331, 125));
    MaskEdit = Named(new QLineEdit(this), "MaskEdit", QStringLiteral("Mask:"));
    DescriptionEdit = Named(new QLineEdit(this), "DescriptionEdit", QStringLiteral("Description:"));
    OKButton = MakeButton(this, "OKButton", QStringLiteral("&Add"));
    CancelButton = MakeButton(this, "CancelButton", QStringLiteral("&Cancel"));
    OKButton->setDefault(true);
    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Mask:"), MaskEdit);
    fields->addRow(QStringLiteral("Description:"), DescriptionEdit);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addStretch();
    layout->addLayout(buttons);
    connect(OKButton, &QPushButton::clicked, this, &TEditMaskForm::OKButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &TEditMaskForm::CancelButtonClick);
}

void TEditMaskForm::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
    CentreOnScreen(*this);
}

void TEditMaskForm::FormShow() {
    const bool editing = MaskEditMode == 1;
    const QString caption =
        editing ? QStringLiteral("Edit File Mask") : QStringLiteral("Add File Mask");
    setWindowTitle(caption);
    setAccessibleName(caption);
    SetCaption(OKButton, editing ? QStringLiteral("&Edit") : QStringLiteral("&Add"));
    MaskEdit->setText(editing ? MaskOf(SelectedEntry) : QString());
    DescriptionEdit->setText(editing ? DescriptionOf(SelectedEntry) : QString());
    MaskEdit->setFocus();
}

void TEditMaskForm::OKButtonClick() {
    if (const std::optional<QString> refusal = MaskRefusal(MaskEdit->text())) {
        prompter_.Error(*refusal);
        return;
    }
    Entry = BuildMaskEntry(MaskEdit->text(), DescriptionEdit->text());
    accept();
}

void TEditMaskForm::CancelButtonClick() {
    reject();
}

} // namespace pellmora
