#pragma once

#include <QDialog>

class QTreeWidget;

namespace kestrel {

// "Kestrel! - Country Dialing Codes": the built-in table of countries and their dialling codes,
// in table order or ordered by code (a click on the column header), with a marker on the column
// the rows are ordered by.
class CountryCodeDialog final : public QDialog
{
    Q_OBJECT

public:
    enum Column
    {
        CountryColumn = 0,
        CodeColumn = 1,
    };

    explicit CountryCodeDialog(QWidget* parent = nullptr);

    // Shows the chooser modally; the "Dialing number" text of the row chosen with OK or a double
    // click ("+" and digits), empty when it was cancelled or no row was selected.
    static QString choose(QWidget* parent);

    // The code of the selected row, empty when none is selected.
    QString selectedCode() const;
    // Table order for CountryColumn, order by code for CodeColumn; the selected country stays
    // selected.
    void showOrder(int column);
    int orderColumn() const { return m_orderColumn; }

private:
    QTreeWidget* m_list;
    int m_orderColumn = CountryColumn;
};

} // namespace kestrel
