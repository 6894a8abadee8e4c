#pragma once

#include <functional>

#include <QAbstractTableModel>

namespace kestrel {

// The columns of an editor window's list (phone book or SMS) over its row model: one row per row
// in use, the texts and header titles the row model gives. It holds no entries of its own; the
// window tells it which rows changed.
class ListTableModel final : public QAbstractTableModel
{
    Q_OBJECT

public:
    struct Source
    {
        int columns = 0;
        std::function<int()> rows;                        // rows in use
        std::function<QString(int row, int column)> text; // a cell's text
        std::function<int(int column)> titleId;           // string-table number of a header
    };

    explicit ListTableModel(Source source, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Brings the row count to the source's (rows inserted or removed at the end) and reports rows
    // first..last as changed; first -1 means 0, last -1 means the last row.
    void refresh(int first, int last);

private:
    Source m_source;
    int m_rows = 0;
};

} // namespace kestrel
