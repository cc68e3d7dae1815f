#include "ui/DirectoryPicker.h"
#include "RecordingPrompter.h"
#include "support/TempTree.h"
#include "ui/TamberMain.h"

#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <filesystem>

using namespace pellmora;
using pellmora::test::RecordingPrompter;
using pellmora::test::TempTree;

namespace {

struct DirectoryPickerTest : ::testing::Test {
    RecordingPrompter prompter;
    TMainForm form{prompter, [](const QUrl&) { return true; }};
    TempTree tree;
    QTreeWidget* Tree() { return form.findChild<QTreeWidget*>("TreeView1"); }
    QListWidget* List() { return form.findChild<QListWidget*>("DirectoriesListBox"); }
    QPushButton* Button(const char* name) { return form.findChild<QPushButton*>(name); }

    QStringList Entries() {
        QStringList out;
        for (const std::string& e : DirectoryEntries(List()))
            out << QString::fromStdString(e);
        return out;
    }

    static QTreeWidgetItem* Child(QTreeWidgetItem* node, const QString& text) {
        for (int i = 0; i < node->childCount(); ++i)
            if (node->child(i)->text(0) == text) return node->child(i);
        return nullptr;
    }

    // Expands the tree from "/" down to the folder, as the user would.
    QTreeWidgetItem* ExpandTo(const std::string& folder) {
        QTreeWidgetItem* node = Child(Tree()->topLevelItem(0), "/");
        if (!node) return nullptr;
        node->setExpanded(true);
        for (const auto& part : std::filesystem::path(folder).relative_path()) {
            if (part.empty()) continue;
            node = Child(node, QString::fromStdString(part.string()));
            if (!node) return nullptr;
            node->setExpanded(true);
        }
        return node;
    }

    void Drop(const QList<QUrl>& urls) {
        QMimeData mime;
        mime.setUrls(urls);
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&form, &enter);
        ASSERT_TRUE(enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&form, &drop);
    }
};

TEST_F(DirectoryPickerTest, TreeStartsWithTheRootFileSystemUnderMyComputer) {
    QTreeWidgetItem* root = Tree()->topLevelItem(0);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->text(0), "My Computer");
    EXPECT_TRUE(root->isExpanded());
    ASSERT_GE(root->childCount(), 1);
    EXPECT_EQ(root->child(0)->text(0), "/");
    EXPECT_EQ(NodePath(root), "");
    EXPECT_EQ(NodePath(root->child(0)), "/");
    for (int i = 0; i < root->childCount(); ++i)
        EXPECT_NE(root->child(i)->text(0), "/proc");
}

TEST_F(DirectoryPickerTest, ExpansionListsFoldersAfreshAndProbesExpanders) {
    tree.File("top/only-files/a.txt", "a");
    tree.Dir("top/nested/inner");
    QTreeWidgetItem* top = ExpandTo(tree.Path("top"));
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(NodePath(top), tree.Path("top/"));
    QTreeWidgetItem* files = Child(top, "only-files");
    QTreeWidgetItem* nested = Child(top, "nested");
    ASSERT_TRUE(files && nested);
    EXPECT_EQ(files->childIndicatorPolicy(), QTreeWidgetItem::DontShowIndicator);
    EXPECT_EQ(nested->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);
    EXPECT_EQ(NodePath(nested), tree.Path("top/nested/"));

    tree.Dir("top/later");
    EXPECT_EQ(Child(top, "later"), nullptr);
    top->setExpanded(false);
    top->setExpanded(true);
    EXPECT_NE(Child(top, "later"), nullptr);
    EXPECT_EQ(top->childCount(), 3);
}

TEST_F(DirectoryPickerTest, AddRemoveClearAndTheDeleteKey) {
    tree.Dir("x/y");
    QTreeWidgetItem* x = ExpandTo(tree.Path("x"));
    ASSERT_NE(x, nullptr);
    Tree()->setCurrentItem(Tree()->topLevelItem(0));
    QTest::mouseClick(Button("AddDirButton"), Qt::LeftButton);
    EXPECT_EQ(List()->count(), 0);

    Tree()->setCurrentItem(x);
    QTest::mouseClick(Button("AddDirButton"), Qt::LeftButton);
    QTest::mouseClick(Button("AddDirButton"), Qt::LeftButton);
    Tree()->setCurrentItem(Child(x, "y"));
    QTest::mouseClick(Button("AddDirButton"), Qt::LeftButton);
    const QString xs = QString::fromStdString(tree.Path("x/"));
    EXPECT_EQ(Entries(), QStringList({xs, xs, xs + "y/"}));

    List()->clearSelection();
    QTest::mouseClick(Button("RemoveDirButton"), Qt::LeftButton);
    QTest::keyClick(List(), Qt::Key_Delete);
    EXPECT_EQ(List()->count(), 3);

    List()->item(2)->setSelected(true);
    QTest::mouseClick(Button("RemoveDirButton"), Qt::LeftButton);
    EXPECT_EQ(Entries(), QStringList({xs, xs}));
    List()->item(0)->setSelected(true);
    QTest::keyClick(List(), Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_EQ(Entries(), QStringList({xs}));

    QTest::mouseClick(Button("RemoveAllButton"), Qt::LeftButton);
    EXPECT_EQ(List()->count(), 0);
}

TEST_F(DirectoryPickerTest, DroppedFilesAddTheirFolderAndFoldersAddThemselves) {
    const std::string a = tree.File("photos/a.jpg", "a");
    const std::string b = tree.File("photos/b.jpg", "b");
    const std::string folder = tree.Path("photos");
    Drop({QUrl::fromLocalFile(QString::fromStdString(a)),
          QUrl::fromLocalFile(QString::fromStdString(b)),
          QUrl::fromLocalFile(QString::fromStdString(folder)),
          QUrl::fromLocalFile(QString::fromStdString(tree.Path("gone/c.jpg"))),
          QUrl(QStringLiteral("https://example.org/x.jpg"))});
    const QString f = QString::fromStdString(folder);
    EXPECT_EQ(Entries(), QStringList({f, f, f}));

    // The root keeps its separator; a folder a file lies in never gets one.
    EXPECT_EQ(DroppedDirectory("/no-such-file-for-pellmora"), "/");
    EXPECT_EQ(DroppedDirectory("/"), "/");
    EXPECT_EQ(DroppedDirectory("relative-name"), "");
    EXPECT_EQ(DroppedDirectory(tree.Path("none/x")), "");
}

TEST_F(DirectoryPickerTest, DroppedNameThatIsNotUtf8KeepsItsBytes) {
    const std::string dir = tree.Dir("bad\xff");
    const std::string file = tree.File("bad\xff/f.txt", "x");
    QUrl url = QUrl::fromEncoded(QByteArray("file://") +
                                 QByteArray::fromStdString(file).toPercentEncoding("/"));
    Drop({url});
    const TStringArr entries = DirectoryEntries(List());
    ASSERT_EQ(entries.size(), 1u);
    std::string expected = dir;
    if (expected.back() == '/') expected.pop_back();
    EXPECT_EQ(entries[0], expected);
}

} // namespace
