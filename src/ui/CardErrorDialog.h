#pragma once

#include <QDialog>

class QLabel;

namespace kestrel {

class AppState;

// "Kestrel! - Card Operation Error" (object name "dialog239"): the failure text ("errorText"),
// "&Close" ("closeButton") and "&Print" ("printButton"), which prints the caption and the text
// as a report.
class CardErrorDialog final : public QDialog
{
    Q_OBJECT

public:
    CardErrorDialog(AppState& state, const QString& text, QWidget* parent);

    QString text() const { return m_text; }
    // Prints the caption and the text; the number of pages, 0 when cancelled.
    int print();

private:
    AppState& m_state;
    QString m_text;
};

} // namespace kestrel
