#include "model/ui/DialogFrame.h"

#include <QGuiApplication>
#include <QScreen>

namespace pellmora {

void SetUpDialog(QDialog& dialog, const char* objectName, const QString& caption, QSize size) {
    dialog.setObjectName(QString::fromLatin1(objectName));
    dialog.setWindowTitle(caption);
    dialog.setAccessibleName(caption);
    dialog.setModal(true);
    if (size.isValid()) dialog.setFixedSize(size);
}

void CentreOnScreen(QWidget& window) {
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    QRect frame = window.frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window.move(frame.topLeft());
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption) {
    return Named(new QPushButton(caption, parent), name, caption);
}

QString HeadingGradient() {
    return QStringLiteral("qlineargradient(x1:0, y1:0, x2:0, y2:1,"
                          " stop:0 rgb(150,188,226), stop:1 rgb(3,56,147))");
}

void RunModal(QDialog& dialog, DialogExchange*& answer, DialogExchange& exchange) {
    answer = &exchange;
    CentreOnScreen(dialog);
    dialog.exec();
    answer = nullptr;
}

void AcceptWithPath(QDialog& dialog, DialogExchange* answer, const QString& path) {
    if (answer) {
        answer->DialogChoice = 1;
        answer->DialogPath = path;
    }
    dialog.accept();
}

void CancelDialog(QDialog& dialog, DialogExchange* answer) {
    if (answer) answer->DialogChoice = 0;
    dialog.reject();
}

} // namespace pellmora
