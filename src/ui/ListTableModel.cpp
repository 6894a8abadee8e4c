#include "ui/ListTableModel.h"

#include <algorithm>

#include "base/StringTable.h"

namespace kestrel {

ListTableModel::ListTableModel(Source source, QObject* parent)
    : QAbstractTableModel(parent), m_source(std::move(source)), m_rows(m_source.rows())
{}

int ListTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int ListTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_source.columns;
}

QVariant ListTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows || index.row() >= m_source.rows() || role != Qt::DisplayRole ||
        index.column() < 0 || index.column() >= m_source.columns)
        return {};
    return m_source.text(index.row(), index.column());
}

QVariant ListTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= m_source.columns)
        return {};
    return StringTable::text(m_source.titleId(section));
}

Qt::ItemFlags ListTableModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled;
}

void ListTableModel::refresh(int first, int last)
{
    const int rows = m_source.rows();
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
        emit dataChanged(index(first, 0), index(last, m_source.columns - 1), {Qt::DisplayRole});
}

} // namespace kestrel
