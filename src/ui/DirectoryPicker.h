#pragma once
// The drive and folder tree of step 1 and the directory list it feeds. Tree nodes keep their
// part of the path as native bytes, so that a folder whose name is not UTF-8 still opens.

#include "model/DuplicateTypes.h"

#include <QList>
#include <QUrl>

#include <string>

class QListWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace pellmora {

// Root "My Computer" with one child per local volume, expanded by one level.
void FillDriveTree(QTreeWidget* tree);

// Rebuilds the node's folder children from disk; the root keeps its volumes.
void RefillNode(QTreeWidgetItem* node);
void FillFolderNode(QTreeWidgetItem* node);

// The node's path, each level followed by "/"; empty for the root.
std::string NodePath(const QTreeWidgetItem* node);

// The folder a dropped path adds: a folder as it is, a file its folder (without a trailing
// "/" except for "/" itself); empty when there is none.
std::string DroppedDirectory(const std::string& path);
TStringArr DroppedDirectories(const QList<QUrl>& urls);

// Each entry has a check box, unticked unless kept: a ticked entry is a keep folder.
void AppendDirectory(QListWidget* list, const std::string& path, bool kept = false);
TStringArr DirectoryEntries(const QListWidget* list);
TStringArr KeepEntries(const QListWidget* list);

} // namespace pellmora
