#include "ui/phonebook/PhoneBookTableModel.h"

#include <algorithm>

#include "base/StringTable.h"
#include "phonebook/PhoneBookModel.h"

namespace kestrel {

PhoneBookTableModel::PhoneBookTableModel(PhoneBookModel& book, QObject* parent)
    : QAbstractTableModel(parent), m_book(book), m_rows(book.capacity())
{}

int PhoneBookTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int PhoneBookTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant PhoneBookTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows || index.row() >= m_book.capacity() || role != Qt::DisplayRole ||
        index.column() < 0 || index.column() >= ColumnCount)
        return {};
    return m_book.rowTexts(index.row())[static_cast<std::size_t>(index.column())];
}

QVariant PhoneBookTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount)
        return {};
    return StringTable::text(PhoneBookModel::columnTitleId(section));
}

Qt::ItemFlags PhoneBookTableModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled;
}

void PhoneBookTableModel::refresh(int first, int last)
{
    const int rows = m_book.capacity();
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
