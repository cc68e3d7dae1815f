#pragma once
// The About dialog: name, version, and links to the product's page and its support address.

#include "model/MessagePrompter.h"
#include "ui/WebPages.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace pellmora {

class TAboutForm : public QDialog {
    Q_OBJECT
  public:
    explicit TAboutForm(MessagePrompter& prompter, UrlOpener opener = DesktopUrlOpener(),
                        QWidget* parent = nullptr);

    void OKButtonClick();
    void SiteLabelClick();
    void Label3Click();

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QLabel* MakeLink(const char* name, const QString& text);

    MessagePrompter& prompter_;
    UrlOpener opener_;
    QLabel* SiteLabel = nullptr;
    QLabel* Label3 = nullptr;
    QPushButton* OKButton = nullptr;
};

} // namespace pellmora
