#pragma once

#include <functional>

#include <QDialog>

class QCheckBox;
class QLineEdit;

namespace kestrel {

// The interval dialogs of a phone book window: "&From item" and "&To item" (1-based item
// numbers), optionally an "&Include empty entries" box. Sort (sid::Sort_117), Select Items (sid::SelectItems_160),
// Internationalize (sid::Internationalize_161) and Write to File (140) show both fields; Add Entries from File (139)
// shows "From" only. OK hands the values to the check given; the dialog stays open while the
// check refuses them (it shows its own message).
class RangeDialog final : public QDialog
{
    Q_OBJECT

public:
    struct Values
    {
        int from = 0; // 0 when the field holds no number
        int to = 0;
        bool includeEmpty = false;
    };
    using Check = std::function<bool(const Values&)>;

    struct Layout
    {
        int captionId = 0;
        bool withTo = true;
        int checkBoxId = 0;  // string of the "&Include empty entries" box; 0: none
        int fromLabelId = 0; // label strings of the two fields; 0: "&From item", "&To item"
        int toLabelId = 0;
    };

    RangeDialog(const Layout& layout, const Values& initial, Check check, QWidget* parent);

    Values values() const;

    void accept() override;

private:
    Check m_check;
    QLineEdit* m_from;
    QLineEdit* m_to = nullptr;
    QCheckBox* m_includeEmpty = nullptr;
};

} // namespace kestrel
