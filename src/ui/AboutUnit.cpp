#include "ui/AboutUnit.h"

#include "actions/ShellActions.h"
#include "model/ui/DialogFrame.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

namespace pellmora {

namespace {

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setAccessibleName(text);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

QLabel* MakeBanner(QWidget* parent) {
    QLabel* banner = MakeLabel(parent, "Image1", QStringLiteral("Pellmora"));
    banner->setFixedSize(400, 90);
    banner->setStyleSheet(
        QStringLiteral("QLabel#Image1 { color: white; font-size: 28pt; font-weight: bold;"
                       " background: %1; }")
            .arg(HeadingGradient()));
    banner->setAccessibleName(QStringLiteral("Pellmora banner"));
    return banner;
}

} // namespace

TAboutForm::TAboutForm(MessagePrompter& prompter, UrlOpener opener, QWidget* parent)
    : QDialog(parent), prompter_(prompter), opener_(std::move(opener)) {
    SetUpDialog(*this, "AboutForm", QStringLiteral("About Pellmora"), QSize(406, 305));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(3, 3, 3, 8);
    layout->addWidget(MakeBanner(this), 0, Qt::AlignHCenter);
    QLabel* name = MakeLabel(this, "ProductName", QStringLiteral("Pellmora"));
    name->setStyleSheet(QStringLiteral("font-size: 14pt; font-weight: bold;"));
    layout->addWidget(name);
    layout->addWidget(MakeLabel(this, "VersionLabel", QStringLiteral("Version 2.2.4")));
    SiteLabel = MakeLink("SiteLabel", ProductSiteText());
    Label3 = MakeLink("Label3", SupportMailAddress());
    layout->addWidget(SiteLabel);
    layout->addWidget(Label3);
    layout->addStretch();
    OKButton = MakeButton(this, "OKButton", QStringLiteral("&OK"));
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &TAboutForm::OKButtonClick);
    layout->addWidget(OKButton, 0, Qt::AlignHCenter);
}

QLabel* TAboutForm::MakeLink(const char* name, const QString& text) {
    QLabel* link = MakeLabel(this, name, text);
    link->setStyleSheet(QStringLiteral("color: palette(link); text-decoration: underline;"));
    link->setCursor(Qt::PointingHandCursor);
    link->installEventFilter(this);
    return link;
}

void TAboutForm::OKButtonClick() {
    accept();
}

void TAboutForm::SiteLabelClick() {
    OpenOrSay(opener_, ProductPageUrl(QStringLiteral("index.html")), prompter_);
}

void TAboutForm::Label3Click() {
    OpenOrSay(opener_, SupportMailUrl(), prompter_);
}

void TAboutForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    CentreOnScreen(*this);
}

bool TAboutForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == SiteLabel) SiteLabelClick();
        if (watched == Label3) Label3Click();
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace pellmora
