#pragma once
// The common frame of the program's dialogs: name, caption, fixed client size. Every
// subsystem's dialogs share it, so it sits below all of them.

#include "model/DialogExchange.h"

#include <QAbstractButton>
#include <QDialog>
#include <QPushButton>
#include <QSize>
#include <QString>

namespace pellmora {

// A fixed client size when size is valid, grown at every showing as far as the texts need (a
// larger font, a longer count); the dialog is centred on the screen when shown.
void SetUpDialog(QDialog& dialog, const char* objectName, const QString& caption,
                 QSize size = QSize());
// The size a fixed dialog of the given design size takes to show all of its contents.
QSize FittedSize(const QWidget& dialog, QSize design);

void CentreOnScreen(QWidget& window);

// A control named after its component, its caption read out by assistive tools.
template <typename W> W* Named(W* widget, const char* name, const QString& caption) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setAccessibleName(caption);
    return widget;
}

// A caption's "&" marks its mnemonic, the letter that Alt presses the button with; "&&" is one
// "&". The caption as assistive tools read it has neither.
QString WithoutMnemonic(const QString& caption);
QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption);
void SetCaption(QAbstractButton* button, const QString& caption);

// Centres and runs dialog; answer points at exchange while it is open, so that the dialog's
// buttons write their answer there and nowhere else.
void RunModal(QDialog& dialog, DialogExchange*& answer, DialogExchange& exchange);
// "OK" with a typed or picked path: DialogChoice 1 and the path, then close.
void AcceptWithPath(QDialog& dialog, DialogExchange* answer, const QString& path);
// "Cancel": DialogChoice 0, then close.
void CancelDialog(QDialog& dialog, DialogExchange* answer);

// The blue gradient behind the program's headings and banner, as a style-sheet brush.
QString HeadingGradient();

} // namespace pellmora
