#pragma once
// Whether the options persist, and how contents are compared.

#include <QDialog>

namespace pellmora {

class TSettingsForm : public QDialog {
    Q_OBJECT
  public:
    explicit TSettingsForm(QWidget* parent = nullptr);
};

} // namespace pellmora
