#pragma once
// The common frame of the program's dialogs: name, caption, fixed client size.

#include <QDialog>
#include <QSize>
#include <QString>

namespace pellmora {

// A fixed client size when size is valid; the dialog is centred on the screen when shown.
void SetUpDialog(QDialog& dialog, const char* objectName, const QString& caption,
                 QSize size = QSize());

void CentreOnScreen(QWidget& window);

} // namespace pellmora
