#include "ui/sms/SmsTableModel.h"

#include <algorithm>

#include "base/StringTable.h"
#include "sms/SmsListModel.h"

namespace kestrel {

SmsTableModel::SmsTableModel(SmsListModel& list, QObject* parent)
    : QAbstractTableModel(parent), m_list(list), m_rows(list.rowCount())
{}

int SmsTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int SmsTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant SmsTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows || index.row() >= m_list.rowCount() || role != Qt::DisplayRole ||
        index.column() < 0 || index.column() >= ColumnCount)
        return {};
    return m_list.rowTexts(index.row())[static_cast<std::size_t>(index.column())];
}

QVariant SmsTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount)
        return {};
    return StringTable::text(SmsListModel::columnTitleId(section));
}

Qt::ItemFlags SmsTableModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled;
}

void SmsTableModel::refresh(int first, int last)
{
    const int rows = m_list.rowCount();
    if (rows < m_rows) {
        beginRemoveRows({}, rows, m_rows - 1);
        m_rows = rows;
        endRemoveRows();
    } else if (rows > m_rows) {
        beginInsertRows({}, m_rows, rows - 1);
        m_rows = rows;
        endInsertRows();
    }
    if (m_rows == 0)
        return;
    first = first < 0 ? 0 : std::min(first, m_rows - 1);
    last = last < 0 ? m_rows - 1 : std::min(last, m_rows - 1);
    if (first <= last)
        emit dataChanged(index(first, 0), index(last, ColumnCount - 1), {Qt::DisplayRole});
}

} // namespace kestrel
