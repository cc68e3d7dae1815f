#pragma once
// Controls of the settings dialogs: named after their component, with their caption as their
// accessible name, so that tests and assistive tools find them.

#include <QString>
#include <QWidget>

class QPushButton;

namespace pellmora {

template <typename W> W* NamedControl(W* widget, const char* name, const QString& caption) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setAccessibleName(caption);
    return widget;
}

QPushButton* DialogButton(QWidget* parent, const char* name, const QString& caption);

} // namespace pellmora
