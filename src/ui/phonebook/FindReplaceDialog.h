#pragma once

#include <functional>

#include <QDialog>

#include "phonebook/FindReplace.h"

class QButtonGroup;
class QLineEdit;

namespace kestrel {

// Dialog 104 "Kestrel! - Find / Replace": "Find &string:" and "Replace &with:" (200 characters
// each), the four fields to search ("&Name", "&Phone number", "&Dialing code", "&Everywhere"),
// "&Find" (default), "&Replace" and "&Close". "&Find" and "&Replace" close the dialog only when
// the check given passes (it shows its own message otherwise).
class FindReplaceDialog final : public QDialog
{
    Q_OBJECT

public:
    using Check = std::function<bool(const FindRequest&)>;

    FindReplaceDialog(const FindRequest& initial, Check check, QWidget* parent);

    FindRequest request() const;
    // What closed the dialog: Find, Replace, or None for "&Close", Escape and the close box.
    FindAction action() const { return m_action; }

private:
    void finish(FindAction action);

    Check m_check;
    QLineEdit* m_find;
    QLineEdit* m_replace;
    QButtonGroup* m_fields;
    FindAction m_action = FindAction::None;
};

} // namespace kestrel
