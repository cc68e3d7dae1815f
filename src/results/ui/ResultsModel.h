#pragma once
// The results list as a virtual table over the search's state: it holds no rows of its own,
// only the row count the search publishes, and formats a cell only when the view asks for it.

#include "model/DuplicateTypes.h"

#include "model/TextFormats.h"
#include <QAbstractTableModel>
#include <QColor>
#include <QIcon>
#include <QLocale>

namespace pellmora {

class ResultsModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    static constexpr int ColumnCount = 5;
    static constexpr int ColumnWidths[ColumnCount] = {180, 260, 80, 100, 132};
    // The text colour of a kept file's row, and what its tool tip and description say.
    static constexpr QColor KeptColour = QColor(0x1F, 0x4E, 0x9A);
    static QString KeptText();
    static QIcon KeptIcon();

    explicit ResultsModel(SearchState& state, QObject* parent = nullptr);

    // The number of rows shown; the lists may be rebuilt while it is 0.
    void SetRowCount(int rows);
    int RowCount() const { return rows_; }
    // Between these two the lists behind the rows are rebuilt (a sort, a cleaning); the view
    // asks for no row meanwhile and then shows the given number of rows.
    void BeginRebuild();
    void EndRebuild(int rows);
    // Repaints every row after a command changed flags in bulk: one notification for all.
    void RefreshAll();
    void RefreshRow(int row);

    // The row that shows ResultList[record], or -1.
    int RowOfRecord(int32_t record) const;

    // The record shown in a row, or nullptr outside the published rows.
    const TFileInfoType* RecordAt(int row) const;
    const TSortEntry* OrderAt(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

  protected:
    virtual QString CellText(const TFileInfoType& file, int column) const;
    virtual QVariant CheckState(const TFileInfoType& file) const;
    virtual QVariant Background(int row) const;
    virtual QVariant Foreground(const TFileInfoType& file) const;
    virtual QVariant Font(const TFileInfoType& file) const;

    SearchState& state_;

  private:
    int rows_ = 0;
};

} // namespace pellmora
