#include "results/ui/ResultsModel.h"

#include "model/NativeText.h"

#include <QBrush>
#include <QColor>
#include <QFile>
#include <QFont>
#include <QIcon>
#include <QPainter>
#include <QPixmap>

namespace pellmora {

ResultsModel::ResultsModel(SearchState& state, QObject* parent)
    : QAbstractTableModel(parent), state_(state) {}

void ResultsModel::SetRowCount(int rows) {
    BeginRebuild();
    EndRebuild(rows);
}

void ResultsModel::BeginRebuild() {
    beginResetModel();
    rows_ = 0;
}

void ResultsModel::EndRebuild(int rows) {
    rows_ = std::max(rows, 0);
    endResetModel();
}

void ResultsModel::RefreshAll() {
    if (rows_ > 0) Q_EMIT dataChanged(index(0, 0), index(rows_ - 1, ColumnCount - 1));
}

void ResultsModel::RefreshRow(int row) {
    if (row >= 0 && row < rows_) Q_EMIT dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

int ResultsModel::RowOfRecord(int32_t record) const {
    const int rows = std::min<int>(rows_, static_cast<int>(state_.ViewOrder.size()));
    for (int row = 0; row < rows; ++row)
        if (state_.ViewOrder[static_cast<size_t>(row)].Index == record) return row;
    return -1;
}

const TSortEntry* ResultsModel::OrderAt(int row) const {
    if (row < 0 || row >= rows_ || static_cast<size_t>(row) >= state_.ViewOrder.size())
        return nullptr;
    return &state_.ViewOrder[static_cast<size_t>(row)];
}

const TFileInfoType* ResultsModel::RecordAt(int row) const {
    const TSortEntry* entry = OrderAt(row);
    if (!entry || entry->Index < 0 || static_cast<size_t>(entry->Index) >= state_.ResultList.size())
        return nullptr;
    return &state_.ResultList[static_cast<size_t>(entry->Index)];
}

int ResultsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int ResultsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ResultsModel::data(const QModelIndex& index, int role) const {
    const TFileInfoType* file = index.isValid() ? RecordAt(index.row()) : nullptr;
    if (!file) return {};
    switch (role) {
    case Qt::DisplayRole:
        return CellText(*file, index.column());
    case Qt::CheckStateRole:
        return index.column() == 0 ? CheckState(*file) : QVariant();
    case Qt::BackgroundRole:
        return Background(index.row());
    case Qt::ForegroundRole:
        return Foreground(*file);
    case Qt::FontRole:
        return Font(*file);
    case Qt::DecorationRole:
        return index.column() == 0 && file->Kept ? KeptIcon() : QVariant();
    case Qt::ToolTipRole:
    case Qt::AccessibleDescriptionRole:
        return file->Kept ? KeptText() : QVariant();
    default:
        return {};
    }
}

QString ResultsModel::CellText(const TFileInfoType& file, int column) const {
    switch (column) {
    case 0:
        return Decoded(file.FileName);
    case 1: {
        const auto dir = static_cast<size_t>(file.DirIndex);
        return dir < state_.DirTable.size() ? Decoded(state_.DirTable[dir]) : QString();
    }
    case 2:
        return QString::number(file.Group);
    case 3:
        return QString::number(file.Size);
    case 4:
        return ModifiedText(file.FileDate, state_.Locale.Format());
    default:
        return {};
    }
}

// A kept row has no check box at all: its lock stands in that place.
QVariant ResultsModel::CheckState(const TFileInfoType& file) const {
    if (file.Kept) return {};
    return file.Checked ? Qt::Checked : Qt::Unchecked;
}

QVariant ResultsModel::Background(int row) const {
    const TSortEntry* entry = OrderAt(row);
    const bool odd = entry && (entry->Key & 1);
    return QBrush(odd ? QColor(0xC0, 0xDC, 0xC0) : QColor(Qt::white));
}

// The bands are fixed light colours, so the text on them is fixed too: a theme's own text colour
// may be light. The red of a resolved row is dark enough to read on both bands (WCAG AA).
QVariant ResultsModel::Foreground(const TFileInfoType& file) const {
    if (file.Kept) return QBrush(KeptColour);
    return QBrush(file.Resolved ? QColor(0xB0, 0, 0) : QColor(Qt::black));
}

QVariant ResultsModel::Font(const TFileInfoType& file) const {
    if (!file.Resolved) return {};
    QFont font;
    font.setStrikeOut(true);
    return font;
}

QVariant ResultsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    static const char* const captions[ColumnCount] = {"File Name", "Path", "Dup. Group", "Size",
                                                      "Modified"};
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= ColumnCount)
        return {};
    return QString::fromLatin1(captions[section]);
}

Qt::ItemFlags ResultsModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    const TFileInfoType* file = RecordAt(index.row());
    if (index.column() == 0 && !(file && file->Kept)) f |= Qt::ItemIsUserCheckable;
    return f;
}

QString ResultsModel::KeptText() {
    return QStringLiteral("kept");
}

// A padlock drawn once: no icon theme can be counted on, and the shape reads at 16 pixels.
QIcon ResultsModel::KeptIcon() {
    static const QIcon icon = [] {
        QPixmap lock(16, 16);
        lock.fill(Qt::transparent);
        QPainter painter(&lock);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(KeptColour, 1.6));
        painter.setBrush(Qt::NoBrush);
        painter.drawArc(QRectF(4.5, 1.5, 7, 8), 0, 180 * 16);
        painter.drawLine(QPointF(4.5, 5.5), QPointF(4.5, 7.5));
        painter.drawLine(QPointF(11.5, 5.5), QPointF(11.5, 7.5));
        painter.setPen(Qt::NoPen);
        painter.setBrush(KeptColour);
        painter.drawRoundedRect(QRectF(2.5, 7, 11, 8), 1.5, 1.5);
        return QIcon(lock);
    }();
    return icon;
}

} // namespace pellmora
