#pragma once

#include <QDialog>

class QLineEdit;

namespace kestrel {

// "Kestrel! - Find Card Peripheral": shows the device the reader search is trying. It has no
// buttons; the search runs to its end.
class ReaderSearchDialog final : public QDialog
{
    Q_OBJECT

public:
    explicit ReaderSearchDialog(QWidget* parent);

    // Shows device at once (repainted before the caller goes on with the next candidate).
    void showCandidate(const QString& device);
    QString candidate() const;

protected:
    // The search cannot be stopped from here: Escape and the window's close button are ignored.
    void reject() override {}

private:
    QLineEdit* m_candidate;
};

} // namespace kestrel
