#include "model/ui/DialogFrame.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QScreen>

namespace pellmora {

namespace {

// Sizes a fixed dialog to its contents each time it is shown, before it appears, and centres
// it at that size.
class DialogFit final : public QObject {
  public:
    DialogFit(QDialog& dialog, QSize design) : QObject(&dialog), dialog_(dialog), design_(design) {
        dialog.setFixedSize(design);
        dialog.installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &dialog_ && event->type() == QEvent::Show) {
            dialog_.setFixedSize(FittedSize(dialog_, design_));
            CentreOnScreen(dialog_);
        }
        return false;
    }

  private:
    QDialog& dialog_;
    QSize design_;
};

} // namespace

void SetUpDialog(QDialog& dialog, const char* objectName, const QString& caption, QSize size) {
    dialog.setObjectName(QString::fromLatin1(objectName));
    dialog.setWindowTitle(caption);
    dialog.setAccessibleName(caption);
    dialog.setModal(true);
    if (size.isValid()) new DialogFit(dialog, size);
}

QSize FittedSize(const QWidget& dialog, QSize design) {
    const QLayout* layout = dialog.layout();
    if (!layout) return design;
    const int width = std::max(design.width(), layout->totalSizeHint().width());
    const int height = layout->hasHeightForWidth() ? layout->totalHeightForWidth(width)
                                                   : layout->totalSizeHint().height();
    return {width, std::max(design.height(), height)};
}

void CentreOnScreen(QWidget& window) {
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    QRect frame = window.frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window.move(frame.topLeft());
}

QString WithoutMnemonic(const QString& caption) {
    QString plain;
    plain.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&') && i + 1 < caption.size()) ++i;
        plain += caption[i];
    }
    return plain;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption) {
    return Named(new QPushButton(caption, parent), name, WithoutMnemonic(caption));
}

void SetCaption(QAbstractButton* button, const QString& caption) {
    button->setText(caption);
    button->setAccessibleName(WithoutMnemonic(caption));
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
