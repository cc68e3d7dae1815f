#pragma once
// The common frame of the program's dialogs: name, caption, fixed client size. Every
// subsystem's dialogs share it, so it sits below all of them.

#include <QDialog>
#include <QPushButton>
#include <QSize>
#include <QString>

namespace pellmora {

// A fixed client size when size is valid; the dialog is centred on the screen when shown.
void SetUpDialog(QDialog& dialog, const char* objectName, const QString& caption,
                 QSize size = QSize());

void CentreOnScreen(QWidget& window);

// A control named after its component, its caption read out by assistive tools.
template <typename W> W* Named(W* widget, const char* name, const QString& caption) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setAccessibleName(caption);
    return widget;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption);

// The blue gradient behind the program's headings and banner, as a style-sheet brush.
QString HeadingGradient();

} // namespace pellmora
