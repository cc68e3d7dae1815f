#include "actions/ui/PicturePreviewUnit.h"

#include "model/NativeText.h"
#include "model/ui/DialogFrame.h"
#include "platform/ContentFile.h"

#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QImageReader>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPixmap>
#include <QVBoxLayout>

namespace pellmora {

namespace {

constexpr int BottomBarHeight = 37;

QFrame* BevelledPanel(QWidget* parent, const char* name, QFrame::Shadow shadow) {
    auto* panel = new QFrame(parent);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setFrameStyle(QFrame::Panel | shadow);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(0);
    return panel;
}

void PaintGradient(QWidget& bar) {
    QLinearGradient gradient(0, 0, 1, 0);
    gradient.setCoordinateMode(QGradient::ObjectMode);
    gradient.setColorAt(0, QColor(0xf4, 0xf6, 0xfa));
    gradient.setColorAt(1, QColor(0xc8, 0xd0, 0xdc));
    QPalette palette = bar.palette();
    palette.setBrush(QPalette::Window, gradient);
    palette.setColor(QPalette::WindowText, Qt::black); // the size text on the light gradient
    bar.setPalette(palette);
    bar.setAutoFillBackground(true);
}

QString CannotOpenText(const std::string& path, const QString& reason) {
    return QStringLiteral("Cannot open file \"%1\". %2")
        .arg(QDir::toNativeSeparators(Decoded(path)), reason);
}

// The decoder of a file is the one of its extension; a name without one has none.
QByteArray DecoderOf(const std::string& path) {
    return QFileInfo(Decoded(path)).suffix().toLower().toLatin1();
}

} // namespace

QString PictureSizeText(const QImage& picture) {
    return QStringLiteral("Width: %1 px;   Height: %2 px")
        .arg(picture.width())
        .arg(picture.height());
}

TPicturePreviewForm::TPicturePreviewForm(MessagePrompter& prompter, QWidget* parent)
    : QDialog(parent), prompter_(prompter) {
    SetUpDialog(*this, "PicturePreviewForm", QStringLiteral("Picture Preview"));
    setSizeGripEnabled(true);
    BuildLayout();
    resize(490, 410);
}

void TPicturePreviewForm::BuildLayout() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    Panel3 = BevelledPanel(this, "Panel3", QFrame::Raised);
    Panel1 = BevelledPanel(Panel3, "Panel1", QFrame::Sunken);
    Panel3->layout()->addWidget(Panel1);
    Image1 = new QLabel(Panel1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setAlignment(Qt::AlignCenter);
    // The picture follows the area, never the other way round.
    Image1->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    Image1->setMinimumSize(1, 1);
    Image1->installEventFilter(this);
    Panel1->layout()->addWidget(Image1);
    layout->addWidget(Panel3, 1);

    Panel2 = new QFrame(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setFixedHeight(BottomBarHeight);
    PaintGradient(*Panel2);
    InfoLabel = new QLabel(Panel2);
    InfoLabel->setObjectName(QStringLiteral("InfoLabel"));
    InfoLabel->move(16, 11);
    layout->addWidget(Panel2);
}

void TPicturePreviewForm::ShowPicture(const std::string& path) {
    if (!LoadPicture(path)) return;
    exec();
}

bool TPicturePreviewForm::LoadPicture(const std::string& path) {
    ClearPicture();
    QFile file;
    if (!OpenPicture(path, file)) return false;
    QImageReader reader(&file, DecoderOf(path));
    reader.setAutoDetectImageFormat(false);
    QImage picture;
    if (!reader.format().isEmpty() && reader.read(&picture)) {
        picture_ = picture;
    } else if (reader.error() == QImageReader::DeviceError) {
        prompter_.ErrorReport(CannotOpenText(path, reader.errorString()));
        return false;
    }
    FitPicture();
    return true;
}

// Opened here rather than by the reader, so that a file that cannot be opened is told from one
// that is no picture. The path's own bytes are opened, so a name that is not valid in the
// locale's encoding opens too. Anything but a regular file is refused: a FIFO would block.
bool TPicturePreviewForm::OpenPicture(const std::string& path, QFile& file) {
    const OpenedFile opened = OpenRegularFile(path);
    if (opened.Descriptor < 0) {
        const QString reason = opened.NotRegular
                                   ? QStringLiteral("Not a regular file")
                                   : QString::fromLocal8Bit(SystemErrorText(opened.Error));
        prompter_.ErrorReport(CannotOpenText(path, reason));
        return false;
    }
    if (file.open(opened.Descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        return true;
    prompter_.ErrorReport(CannotOpenText(path, file.errorString()));
    return false;
}

void TPicturePreviewForm::ClearPicture() {
    picture_ = QImage();
    Image1->clear();
}

void TPicturePreviewForm::FitPicture() {
    if (picture_.isNull()) {
        Image1->clear();
        return;
    }
    const QImage scaled = picture_.scaled(Image1->contentsRect().size(), Qt::KeepAspectRatio,
                                          Qt::SmoothTransformation);
    Image1->setPixmap(QPixmap::fromImage(scaled));
}

void TPicturePreviewForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void TPicturePreviewForm::FormShow() {
    InfoLabel->setText(PictureSizeText(picture_));
    InfoLabel->adjustSize();
    FitPicture();
}

void TPicturePreviewForm::Image1Click() {
    close();
}

bool TPicturePreviewForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Image1) {
        if (event->type() == QEvent::Resize) FitPicture();
        if (event->type() == QEvent::MouseButtonRelease &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            Image1Click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace pellmora
