#include "actions/ui/DeleteUnit.h"

#include "actions/ActionCommon.h"
#include "actions/DeleteCommand.h"
#include "actions/ui/ActionForms.h"
#include "model/ui/DialogFrame.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace pellmora {

TDeleteForm::TDeleteForm(QWidget* parent) : QDialog(parent) {
    SetUpDialog(*this, "DeleteForm", QStringLiteral("Remove Duplicate Files"), QSize(430, 290));
    const QString recycler = QStringLiteral("Move files to the Trash");
    RecyclerRadio = MakeRadio("RecyclerRadio", recycler);
    const QString forGood = QStringLiteral("Delete files without backup");
    DeleteRadio = MakeRadio("DeleteRadio", forGood);
    HardLinkRadio =
        MakeRadio("HardLinkRadio", QStringLiteral("Replace with hard links to a kept copy"));
    ShareRadio =
        MakeRadio("ShareRadio", QStringLiteral("Share the data of a kept copy (copy-on-write)"));
    LinkWarningLabel = WarningText(PlainLabel(
        this, "LinkWarningLabel",
        QStringLiteral("Linked files share one content: a change to one changes all of them.")));
    LinkWarningLabel->setVisible(false);
    Image1 = MakeImage("Image1", QStyle::SP_TrashIcon, recycler);
    Image2 = MakeImage("Image2", QStyle::SP_MessageBoxWarning, forGood);
    DelCountLabel =
        PlainLabel(this, "DelCountLabel", QStringLiteral("Do you really want to delete 0 files?"));
    WarningLabel = WarningText(PlainLabel(this, "WarningLabel", QString()));
    OKButton = MakeButton(this, "OKButton", QStringLiteral("&OK"));
    CancelButton = MakeButton(this, "CancelButton", QStringLiteral("&Cancel"));
    OKButton->setDefault(true);
    RecyclerRadio->setChecked(true);

    auto* options = new QGridLayout;
    options->addWidget(Image1, 0, 0);
    options->addWidget(RecyclerRadio, 0, 1);
    options->addWidget(Image2, 1, 0);
    options->addWidget(DeleteRadio, 1, 1);
    options->addWidget(HardLinkRadio, 2, 1);
    options->addWidget(ShareRadio, 3, 1);
    options->setColumnStretch(1, 1);
    auto* column = new QVBoxLayout(this);
    column->addLayout(options);
    column->addWidget(LinkWarningLabel);
    column->addStretch(1);
    column->addWidget(DelCountLabel);
    column->addWidget(WarningLabel);
    column->addLayout(ButtonRow(OKButton, CancelButton));

    connect(Image1, &QToolButton::clicked, this, &TDeleteForm::Image1Click);
    connect(Image2, &QToolButton::clicked, this, &TDeleteForm::Image2Click);
    connect(HardLinkRadio, &QRadioButton::toggled, LinkWarningLabel, &QLabel::setVisible);
    for (QRadioButton* radio : {RecyclerRadio, DeleteRadio, HardLinkRadio, ShareRadio})
        connect(radio, &QRadioButton::toggled, this, &TDeleteForm::ShowCount);
    connect(OKButton, &QPushButton::clicked, this, &TDeleteForm::OKButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &TDeleteForm::CancelButtonClick);
}

QToolButton* TDeleteForm::MakeImage(const char* name, int icon, const QString& caption) {
    auto* image = Named(new QToolButton(this), name, caption);
    image->setIcon(style()->standardIcon(static_cast<QStyle::StandardPixmap>(icon)));
    image->setIconSize(QSize(32, 32));
    image->setAutoRaise(true);
    image->setFocusPolicy(Qt::NoFocus); // the option beside it takes the keys
    return image;
}

QRadioButton* TDeleteForm::MakeRadio(const char* name, const QString& caption) {
    return Named(new QRadioButton(caption, this), name, caption);
}

void TDeleteForm::ShowModal(DialogExchange& exchange, int32_t groupsLeftWithoutCopy) {
    FormShow(exchange.SelectedCount, groupsLeftWithoutCopy);
    RunModal(*this, exchange_, exchange);
}

void TDeleteForm::FormShow(int32_t selectedCount, int32_t groupsLeftWithoutCopy) {
    selectedCount_ = selectedCount;
    groupsLeftWithoutCopy_ = groupsLeftWithoutCopy;
    ShowCount();
    for (QRadioButton* radio : {RecyclerRadio, DeleteRadio, HardLinkRadio, ShareRadio})
        if (radio->isChecked()) radio->setFocus();
}

// A link or shared data keeps every path with its bytes: nothing is deleted, and no group loses
// its last copy.
void TDeleteForm::ShowCount() {
    const bool keepsPaths = HardLinkRadio->isChecked() || ShareRadio->isChecked();
    SetPlainText(DelCountLabel, CountQuestion(keepsPaths ? "Do you really want to replace "
                                                         : "Do you really want to delete ",
                                              selectedCount_));
    SetPlainText(WarningLabel, keepsPaths ? QString() : EveryCopyWarning(groupsLeftWithoutCopy_));
    WarningLabel->setVisible(!WarningLabel->text().isEmpty());
}

void TDeleteForm::Image1Click() {
    RecyclerRadio->setChecked(true);
}

void TDeleteForm::Image2Click() {
    DeleteRadio->setChecked(true);
}

void TDeleteForm::OKButtonClick() {
    if (exchange_) exchange_->DialogChoice = Choice();
    accept();
}

// DialogChoice of the selected option.
uint8_t TDeleteForm::Choice() const {
    DeleteChoice choice = DeleteChoice::Trash;
    if (DeleteRadio->isChecked()) choice = DeleteChoice::WithoutBackup;
    if (HardLinkRadio->isChecked()) choice = DeleteChoice::HardLink;
    if (ShareRadio->isChecked()) choice = DeleteChoice::SharedData;
    return static_cast<uint8_t>(choice);
}

void TDeleteForm::CancelButtonClick() {
    CancelDialog(*this, exchange_);
}

} // namespace pellmora
