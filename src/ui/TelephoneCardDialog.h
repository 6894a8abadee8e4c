#pragma once

#include <QDialog>

#include "telcard/TelephoneCard.h"

class QLineEdit;
class QPlainTextEdit;

namespace kestrel {

class AppState;
class Prompter;

// "Telephone Card": the units, the issuing country and the 32 bytes of a prepaid memory card in
// the current reader, read again with "Re-Read". Nothing is written to the card.
class TelephoneCardDialog final : public QDialog
{
    Q_OBJECT

public:
    TelephoneCardDialog(AppState& state, Prompter& prompter, QWidget* parent);

    // The menu command: with no reader open the message "No smartcard reader connected!" and no
    // dialog; otherwise the dialog, modal, reading the card as it opens.
    static void open(AppState& state, Prompter& prompter, QWidget* parent);

    // Clears the values, repaints, reads the card and shows what it holds. A reader error is told
    // and closes the dialog (rejected); a card that is no telephone card is told and its values and
    // bytes stay shown. False when the dialog was closed. With no reader open (the dialog itself
    // is only opened with one) the message of the menu command is shown and nothing read.
    bool readCard();

    // Shows the values of a card image (the units as numbers, the bytes as four lines of hex).
    void showValues(const TelephoneCardValues& values);

private:
    AppState& m_state;
    Prompter& m_prompter;
    QLineEdit* m_remaining;
    QLineEdit* m_total;
    QLineEdit* m_country;
    QPlainTextEdit* m_rawData;
};

} // namespace kestrel
