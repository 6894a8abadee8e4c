#pragma once

#include <QDialog>

class QLineEdit;

namespace kestrel {

// "Kestrel! - Adjust Print Information": the salesperson and the comment of one print job,
// prefilled from the settings; the settings themselves stay as they are.
class AdjustPrintDialog final : public QDialog
{
    Q_OBJECT

public:
    AdjustPrintDialog(const QString& salesperson, const QString& comment, QWidget* parent);

    QString salesperson() const;
    QString comment() const;

private:
    QLineEdit* m_salesperson;
    QLineEdit* m_comment;
};

} // namespace kestrel
