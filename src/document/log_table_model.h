#pragma once

#include <QAbstractTableModel>

namespace quarvel {

class LogModel;

// The log grid for a table view: data rows 1 ... as the table's rows 0 ...,
// the heading row as the column headings. Edits go to the log model as typed
// cells; the view follows the model's changes without copying the grid.
class LogTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit LogTableModel(LogModel& log, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    LogModel& log_;
};

} // namespace quarvel
