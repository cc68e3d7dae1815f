#pragma once
// A look at a listed picture: one window, made once and reused, that shows the picture as
// large as its area allows with its proportions kept, and its size in pixels.

#include "model/MessagePrompter.h"

#include <QDialog>
#include <QImage>
#include <QString>

#include <string>

class QFile;
class QFrame;
class QLabel;

namespace pellmora {

class TPicturePreviewForm : public QDialog {
    Q_OBJECT
  public:
    // Without a prompter, a file that cannot be opened is reported in a message box.
    explicit TPicturePreviewForm(MessagePrompter& prompter, QWidget* parent = nullptr);

    // Loads the picture and shows the window modally. A file that is not a valid picture of
    // its extension's kind opens the window empty; a file that cannot be opened goes to the
    // general error report instead, and the window does not open.
    void ShowPicture(const std::string& path);
    // The loading part of ShowPicture: false (after the error report) when the file cannot
    // be opened or read.
    bool LoadPicture(const std::string& path);

    const QImage& Picture() const { return picture_; }

    QFrame* Panel3;
    QFrame* Panel1;
    QLabel* Image1;
    QFrame* Panel2;
    QLabel* InfoLabel;

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildLayout();
    bool OpenPicture(const std::string& path, QFile& file);
    void FormShow();
    void Image1Click();
    void FitPicture();
    void ClearPicture();

    MessagePrompter& prompter_;
    QImage picture_;
};

// "Width: " + width + " px;   Height: " + height + " px".
QString PictureSizeText(const QImage& picture);

} // namespace pellmora
