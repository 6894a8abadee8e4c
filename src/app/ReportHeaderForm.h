#pragma once

#include <array>

#include <QString>

namespace kestrel {

class AppState;

// The "Kestrel! - Print Header Definition" dialog without its widgets: copies of the PrintHdr
// settings printed on top of every page (shop name, address, phone, fax, e-mail, and the
// salesperson and comment a print job starts with), which reach the settings only on OK.
class ReportHeaderForm
{
public:
    // The fields in the dialog's order: the "Shop" group, then salesperson and comment.
    enum Field
    {
        Name,
        Address,
        Phone,
        Fax,
        Email,
        Salesperson,
        Comment,
        FieldCount
    };

    explicit ReportHeaderForm(const AppState& state);

    const QString& value(Field field) const { return m_values[field]; }
    void setValue(Field field, const QString& text) { m_values[field] = text; }
    // The dialog's label of the field (a string-table id).
    static int labelId(Field field);

    // OK: the values become the settings, and every setting is saved.
    void store(AppState& state) const;

private:
    std::array<QString, FieldCount> m_values;
};

} // namespace kestrel
