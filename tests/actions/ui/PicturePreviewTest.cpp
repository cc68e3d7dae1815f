// The picture preview: every offered format loads, anything its decoder rejects opens an empty
// window, a file that cannot be opened is reported instead, and the picture fills its area
// with its proportions kept.

#include "actions/ui/PicturePreviewUnit.h"
#include "model/NativeText.h"
#include "support/TempTree.h"
#include "ui/RecordingPrompter.h"

#include <QApplication>
#include <QBuffer>
#include <QFrame>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace pellmora;
using pellmora::test::RecordingPrompter;
using pellmora::test::TempTree;

namespace {

// Qt writes no GIF: a 5 x 3 red one, as an image editor writes it.
const char GifBytes[] = "GIF89a\x05\x00\x03\x00\xf0\x00\x00\xff\x00\x00\x00\x00\x00!\xf9\x04"
                        "\x00\x00\x00\x00\x00,\x00\x00\x00\x00\x05\x00\x03\x00\x00\x02\x03\x84"
                        "\x8f\x59\x00;";

// A file whose content is a 60 x 30 picture in format (nullptr: the GIF above; "": garbage).
std::string Write(TempTree& tree, const std::string& name, const char* format) {
    if (format == nullptr) return tree.File(name, std::string(GifBytes, sizeof GifBytes - 1));
    if (*format == '\0') return tree.File(name, "these bytes are no picture of any kind\x01\x02");
    QImage picture(60, 30, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QBuffer bytes;
    bytes.open(QIODevice::WriteOnly);
    EXPECT_TRUE(picture.save(&bytes, format)) << format;
    return tree.File(name, bytes.data().toStdString());
}

// Where the red picture was drawn inside the label.
QRect RedArea(QLabel& label) {
    const QImage shot = label.grab().toImage();
    QRect area;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            const QColor c = shot.pixelColor(x, y);
            if (c.red() > 200 && c.green() < 80 && c.blue() < 80) area |= QRect(x, y, 1, 1);
        }
    return area;
}

// The picture's proportions kept, as large as the area allows, and centred in it.
void ExpectFittedAndCentred(QLabel& label, double ratio) {
    const QRect red = RedArea(label);
    const QRect room = label.contentsRect();
    ASSERT_FALSE(red.isEmpty());
    EXPECT_NEAR(double(red.width()) / red.height(), ratio, 0.05);
    EXPECT_TRUE(std::abs(red.width() - room.width()) <= 1 ||
                std::abs(red.height() - room.height()) <= 1)
        << red.width() << "x" << red.height() << " in " << room.width() << "x" << room.height();
    EXPECT_LE(std::abs((red.left() - room.left()) - (room.right() - red.right())), 1);
    EXPECT_LE(std::abs((red.top() - room.top()) - (room.bottom() - red.bottom())), 1);
}

TEST(PicturePreview, LayoutOfTheWindow) {
    RecordingPrompter prompter;
    TPicturePreviewForm form(prompter);
    EXPECT_EQ(form.objectName(), "PicturePreviewForm");
    EXPECT_EQ(form.windowTitle(), "Picture Preview");
    EXPECT_EQ(form.size(), QSize(490, 410));
    for (const char* name : {"Panel3", "Panel1", "Image1", "Panel2", "InfoLabel"})
        EXPECT_NE(form.findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
    EXPECT_EQ(form.Panel2->height(), 37);
    EXPECT_EQ(form.InfoLabel->pos(), QPoint(16, 11));
    EXPECT_EQ(PictureSizeText(QImage()), "Width: 0 px;   Height: 0 px");
    EXPECT_TRUE(QImageReader::supportedImageFormats().contains("tiff"))
        << "the TIFF decoder plugin (qt6-image-formats-plugins) did not load";
}

TEST(PicturePreview, EachOfferedFormatLoadsFittedARejectedFileOpensEmptyAndAResizeRescales) {
    TempTree tree;
    RecordingPrompter prompter;
    TPicturePreviewForm form(prompter); // one window for every preview, as in the program
    struct Case {
        std::string Name;
        const char* Format;
        int Width;
        int Height;
    };
    const Case cases[] = {
        {"a.bmp", "BMP", 60, 30},
        {"a.JPG", "JPEG", 60, 30},
        {"a.jpeg", "JPEG", 60, 30},
        {"a.gif", nullptr, 5, 3},
        {"a.tif", "TIFF", 60, 30},
        {"a.tiff", "TIFF", 60, 30},
        {"a.png", "PNG", 60, 30},
        {"caf\xe9 latin-1.png", "PNG", 60, 30}, // a name that is no UTF-8 opens by its bytes
        {"bad.bmp", "", 0, 0},
        {"bad.jpg", "", 0, 0},
        {"bad.jpeg", "", 0, 0},
        {"bad.gif", "", 0, 0},
        {"bad.tif", "", 0, 0},
        {"bad.tiff", "", 0, 0},
        {"bad.png", "", 0, 0},
        // The extension chooses the decoder: a PNG under another name is not read as a PNG.
        {"png-named.gif", "PNG", 0, 0},
        {"no-extension", "PNG", 0, 0},
        {"a.txt", "PNG", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const std::string path = Write(tree, c.Name, c.Format);
        ASSERT_TRUE(form.LoadPicture(path));
        form.show();
        EXPECT_EQ(form.InfoLabel->text(),
                  QStringLiteral("Width: %1 px;   Height: %2 px").arg(c.Width).arg(c.Height));
        EXPECT_EQ(form.Image1->pixmap().isNull(), c.Width == 0);
        if (c.Width != 0) ExpectFittedAndCentred(*form.Image1, double(c.Width) / c.Height);
        form.hide();
    }
    EXPECT_TRUE(prompter.Prompts.empty());
    ASSERT_TRUE(form.LoadPicture(Write(tree, "a.png", "PNG")));
    form.show();
    for (const QSize size : {QSize(300, 600), QSize(900, 250)}) {
        form.resize(size); // the picture follows the area
        QApplication::processEvents();
        ExpectFittedAndCentred(*form.Image1, 2.0);
    }
}

TEST(PicturePreview, ShownModallyAndAClickOnThePictureClosesIt) {
    TempTree tree;
    RecordingPrompter prompter;
    TPicturePreviewForm form(prompter);
    const std::string path = Write(tree, "a.png", "PNG");
    bool seen = false;
    QTimer::singleShot(0, &form, [&] {
        seen = form.isVisible() && form.isModal();
        EXPECT_EQ(form.InfoLabel->text(), "Width: 60 px;   Height: 30 px");
        QTest::mouseClick(form.Image1, Qt::LeftButton);
    });
    QTimer::singleShot(5000, &form, [&form] { form.done(0); }); // no hang if the click failed
    form.ShowPicture(path);
    EXPECT_TRUE(seen);
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(prompter.Prompts.empty());
}

TEST(PicturePreview, AFileThatCannotBeOpenedIsReportedAndNoWindowOpens) {
    TempTree tree;
    RecordingPrompter prompter;
    TPicturePreviewForm form(prompter);
    ASSERT_TRUE(form.LoadPicture(Write(tree, "earlier.png", "PNG")));
    const std::string fifo = tree.Path("pipe.png");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    tree.Dir("folder.png");
    struct Case {
        std::string Name;
        QString Reason;
    };
    const Case cases[] = {{"missing.png", "No such file or directory"},
                          {"missing \xff.png", "No such file or directory"},
                          {"pipe.png", "Not a regular file"}, // opening it would block
                          {"folder.png", "Not a regular file"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        prompter.Prompts.clear();
        const std::string path = tree.Path(c.Name);
        QTimer::singleShot(2000, &form, [&form] { form.done(0); }); // no hang if it opened
        form.ShowPicture(path);
        EXPECT_FALSE(form.isVisible());
        ASSERT_EQ(prompter.Prompts.size(), 1u);
        EXPECT_EQ(prompter.Prompts[0].Kind, PromptKind::ErrorReport);
        EXPECT_EQ(prompter.Prompts[0].Text,
                  "Cannot open file \"" + Decoded(path) + "\". " + c.Reason);
        EXPECT_TRUE(form.Picture().isNull()) << "the earlier picture is not kept";
    }
}

} // namespace
