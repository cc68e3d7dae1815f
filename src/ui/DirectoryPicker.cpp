#include "ui/DirectoryPicker.h"

#include "platform/DriveList.h"

#include "model/NativeText.h"

#include <QApplication>
#include <QFile>
#include <QListWidget>
#include <QStyle>
#include <QTreeWidget>

namespace pellmora {

namespace {

constexpr int PathPartRole = Qt::UserRole; // the node's part of the path, native bytes
constexpr int EntryPathRole = Qt::UserRole;

QIcon StandardIcon(QStyle::StandardPixmap which) {
    return QApplication::style()->standardIcon(which);
}

// Closed folder normally, open folder while selected.
QIcon FolderIcon() {
    QIcon icon;
    const QSize size(16, 16);
    icon.addPixmap(StandardIcon(QStyle::SP_DirClosedIcon).pixmap(size), QIcon::Normal);
    icon.addPixmap(StandardIcon(QStyle::SP_DirOpenIcon).pixmap(size), QIcon::Selected);
    return icon;
}

void SetExpander(QTreeWidgetItem* node, bool has) {
    node->setChildIndicatorPolicy(has ? QTreeWidgetItem::ShowIndicator
                                      : QTreeWidgetItem::DontShowIndicator);
}

QTreeWidgetItem* AddNode(QTreeWidgetItem* parent, const QString& text, const std::string& part,
                         const QIcon& icon) {
    auto* node = new QTreeWidgetItem(parent, QStringList{text});
    node->setData(0, PathPartRole, QByteArray::fromStdString(part));
    node->setIcon(0, icon);
    node->setFlags(node->flags() & ~Qt::ItemIsEditable);
    return node;
}

void AddDriveNode(QTreeWidgetItem* root, const DriveEntry& drive) {
    const bool removable = drive.Kind == DriveKind::Removable;
    const QIcon icon = StandardIcon(removable ? QStyle::SP_DriveFDIcon : QStyle::SP_DriveHDIcon);
    std::string label = drive.MountPath;
    if (label.size() > 1) label.pop_back();
    SetExpander(AddNode(root, Decoded(label), drive.MountPath, icon), drive.Ready);
}

} // namespace

void FillDriveTree(QTreeWidget* tree) {
    tree->setUpdatesEnabled(false);
    tree->clear();
    auto* root = new QTreeWidgetItem(tree, QStringList{QStringLiteral("My Computer")});
    root->setIcon(0, StandardIcon(QStyle::SP_ComputerIcon));
    SetExpander(root, true);
    for (const DriveEntry& drive : ListDrives())
        AddDriveNode(root, drive);
    tree->setUpdatesEnabled(true);
    root->setExpanded(true);
}

std::string NodePath(const QTreeWidgetItem* node) {
    if (!node || !node->parent()) return {};
    std::string path = NodePath(node->parent());
    path += node->data(0, PathPartRole).toByteArray().toStdString();
    if (path.back() != '/') path += '/';
    return path;
}

void FillFolderNode(QTreeWidgetItem* node) {
    const std::string path = NodePath(node);
    TDirectoryList names;
    ListSubfolders(path, names);
    const QIcon icon = FolderIcon();
    for (const std::string& name : names) {
        QTreeWidgetItem* child = AddNode(node, Decoded(name), name, icon);
        SetExpander(child, HasSubfolder(path + name + "/"));
    }
}

void RefillNode(QTreeWidgetItem* node) {
    if (!node || !node->parent()) return;
    QTreeWidget* tree = node->treeWidget();
    if (tree) tree->setUpdatesEnabled(false);
    qDeleteAll(node->takeChildren());
    FillFolderNode(node);
    if (tree) tree->setUpdatesEnabled(true);
}

std::string DroppedDirectory(const std::string& path) {
    if (DirectoryIsPresent(path)) return path;
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return {};
    const std::string folder = path.substr(0, slash == 0 ? 1 : slash);
    return DirectoryIsPresent(folder) ? folder : std::string();
}

TStringArr DroppedDirectories(const QList<QUrl>& urls) {
    TStringArr folders;
    for (const QUrl& url : urls) {
        if (!url.isLocalFile()) continue;
        // The encoded path keeps bytes that are not UTF-8 as they were on disk.
        const QByteArray raw =
            QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
        std::string folder = DroppedDirectory(raw.toStdString());
        if (!folder.empty()) folders.push_back(std::move(folder));
    }
    return folders;
}

void AppendDirectory(QListWidget* list, const std::string& path, bool kept) {
    auto* item = new QListWidgetItem(Decoded(path), list);
    item->setData(EntryPathRole, QByteArray::fromStdString(path));
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(kept ? Qt::Checked : Qt::Unchecked);
}

TStringArr DirectoryEntries(const QListWidget* list) {
    TStringArr entries;
    for (int i = 0; i < list->count(); ++i)
        entries.push_back(list->item(i)->data(EntryPathRole).toByteArray().toStdString());
    return entries;
}

TStringArr KeepEntries(const QListWidget* list) {
    TStringArr entries;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->checkState() == Qt::Checked)
            entries.push_back(list->item(i)->data(EntryPathRole).toByteArray().toStdString());
    return entries;
}

} // namespace pellmora
