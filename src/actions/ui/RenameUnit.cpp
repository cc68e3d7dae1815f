#include "actions/ui/RenameUnit.h"

#include "actions/ActionCommon.h"
#include "actions/RenameCommand.h"
#include "actions/ui/ActionForms.h"
#include "model/MessagePrompter.h"
#include "model/ui/DialogFrame.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace pellmora {

TRenameForm::TRenameForm(MessagePrompter& prompter, QWidget* parent)
    : QDialog(parent), prompter_(prompter) {
    SetUpDialog(*this, "RenameForm", QStringLiteral("Rename duplicate files"), QSize(400, 220));
    MainLabel = PlainLabel(this, "MainLabel", QStringLiteral("Rename Files with a Prefix:"));
    PrefixEdit = Named(new QLineEdit(QStringLiteral("_Duplicate_"), this), "PrefixEdit",
                       QStringLiteral("Prefix or postfix"));
    const QString prefix = QStringLiteral("Add a Prefix to Filename");
    PrefixRadioButton = Named(new QRadioButton(prefix, this), "PrefixRadioButton", prefix);
    const QString postfix = QStringLiteral("Add a Postfix to Filename");
    PostfixRadioButton = Named(new QRadioButton(postfix, this), "PostfixRadioButton", postfix);
    SampleLabel = PlainLabel(this, "SampleLabel", QStringLiteral("Sample:"));
    QFont bold = SampleLabel->font();
    bold.setBold(true);
    SampleLabel->setFont(bold);
    RenameSampleLabel =
        PlainLabel(this, "RenameSampleLabel", QStringLiteral("Duplicate_Filename.ext"));
    DelCountLabel =
        PlainLabel(this, "DelCountLabel", QStringLiteral("Do you really want to rename 0 files?"));
    OKButton = MakeButton(this, "OKButton", QStringLiteral("&OK"));
    CancelButton = MakeButton(this, "CancelButton", QStringLiteral("&Cancel"));
    OKButton->setDefault(true);
    PrefixRadioButton->setChecked(true);
    MainLabel->setBuddy(PrefixEdit);

    auto* sample = new QHBoxLayout;
    sample->addWidget(SampleLabel);
    sample->addWidget(RenameSampleLabel, 1);
    auto* column = new QVBoxLayout(this);
    column->addWidget(MainLabel);
    column->addWidget(PrefixEdit);
    column->addWidget(PrefixRadioButton);
    column->addWidget(PostfixRadioButton);
    column->addLayout(sample);
    column->addStretch(1);
    column->addWidget(DelCountLabel);
    column->addLayout(ButtonRow(OKButton, CancelButton));

    connect(PrefixRadioButton, &QRadioButton::clicked, this, &TRenameForm::RadioButtonClick);
    connect(PostfixRadioButton, &QRadioButton::clicked, this, &TRenameForm::RadioButtonClick);
    connect(PrefixEdit, &QLineEdit::textChanged, this, &TRenameForm::PrefixEditChange);
    connect(OKButton, &QPushButton::clicked, this, &TRenameForm::OKButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &TRenameForm::CancelButtonClick);
}

void TRenameForm::ShowModal(DialogExchange& exchange) {
    FormShow(exchange.SelectedCount);
    RunModal(*this, exchange_, exchange);
}

void TRenameForm::FormShow(int32_t selectedCount) {
    RadioButtonClick();
    SetPlainText(DelCountLabel, CountQuestion("Do you really want to rename ", selectedCount));
    PrefixEdit->setFocus();
}

void TRenameForm::RadioButtonClick() {
    SetPlainText(MainLabel, PrefixRadioButton->isChecked()
                                ? QStringLiteral("Rename Files with a Prefix:")
                                : QStringLiteral("Rename Files with a Postfix:"));
    PrefixEditChange();
}

void TRenameForm::PrefixEditChange() {
    const QString affix = PrefixEdit->text();
    SetPlainText(RenameSampleLabel,
                 PrefixRadioButton->isChecked()
                     ? affix + QStringLiteral("Filename.ext")
                     : QStringLiteral("Filename") + affix + QStringLiteral(".ext"));
}

void TRenameForm::OKButtonClick() {
    const QString affix = PrefixEdit->text();
    if (const std::optional<QString> problem = RenameAffixProblem(affix)) {
        prompter_.Error(*problem);
        return;
    }
    if (exchange_) {
        exchange_->DialogChoice = PrefixRadioButton->isChecked() ? 2 : 1;
        exchange_->RenameAffix = affix;
    }
    accept();
}

void TRenameForm::CancelButtonClick() {
    CancelDialog(*this, exchange_);
}

} // namespace pellmora
