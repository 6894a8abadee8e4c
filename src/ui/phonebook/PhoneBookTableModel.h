#pragma once

#include <QAbstractTableModel>

namespace kestrel {

class PhoneBookModel;

// The three columns of a phone book list over a PhoneBookModel: one row per position of the
// capacity, with the model's row texts. It holds no entries of its own; the window tells it which
// rows changed.
class PhoneBookTableModel final : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column
    {
        ItemColumn,
        NameColumn,
        NumberColumn,
        ColumnCount
    };

    explicit PhoneBookTableModel(PhoneBookModel& book, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Brings the row count to the capacity (rows inserted or removed at the end) and reports rows
    // first..last as changed; first -1 means 0, last -1 means the last row.
    void refresh(int first, int last);

private:
    PhoneBookModel& m_book;
    int m_rows = 0;
};

} // namespace kestrel
