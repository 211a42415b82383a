#include "document/log_table_model.h"

#include "document/log_model.h"

namespace quarvel {

LogTableModel::LogTableModel(LogModel& log, QObject* parent)
    : QAbstractTableModel(parent), log_(log) {
    connect(&log_, &LogModel::cellEdited, this, [this](int row, int column) {
        const QModelIndex changed = index(row - 1, column);
        emit dataChanged(changed, changed, {Qt::DisplayRole, Qt::EditRole});
    });
    connect(&log_, &LogModel::changed, this, [this](LogModel::Changes changes) {
        if (changes.testFlag(LogModel::GridReplaced)) {
            beginResetModel();
            endResetModel();
        }
    });
}

int LogTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : log_.grid().rowCount() - 1;
}

int LogTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : LogGridColumns;
}

QVariant LogTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) {
        return {};
    }
    const std::string& text = log_.grid().cell(index.row() + 1, index.column());
    if (text.empty()) {
        return {};
    }
    return QString::fromStdString(text);
}

bool LogTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole) {
        return false;
    }
    log_.setCell(index.row() + 1, index.column(), value.toString().toStdString());
    return true;
}

QVariant LogTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) {
        return {};
    }
    if (orientation == Qt::Vertical) {
        return section + 1;
    }
    return QString::fromStdString(log_.grid().cell(0, section));
}

Qt::ItemFlags LogTableModel::flags(const QModelIndex& index) const {
    return QAbstractTableModel::flags(index) | Qt::ItemIsEditable;
}

} // namespace quarvel
