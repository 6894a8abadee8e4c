#pragma once

#include <QAbstractTableModel>

namespace kestrel {

class SmsListModel;

// The five columns of an SMS list over an SmsListModel: one row per row in use, with the model's
// row texts. It holds no messages of its own; the window tells it which rows changed.
class SmsTableModel final : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column
    {
        ItemColumn,
        WhenColumn,
        StatusColumn,
        NumberColumn,
        TextColumn,
        ColumnCount
    };

    explicit SmsTableModel(SmsListModel& list, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Brings the row count to the model's (rows inserted or removed at the end) and reports rows
    // first..last as changed; first -1 means 0, last -1 means the last row.
    void refresh(int first, int last);

private:
    SmsListModel& m_list;
    int m_rows = 0;
};

} // namespace kestrel
