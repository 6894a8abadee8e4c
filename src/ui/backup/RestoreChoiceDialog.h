#pragma once

#include <array>
#include <optional>

#include <QDialog>

#include "backup/BackupOperations.h"

class QCheckBox;

namespace kestrel {

// Dialog 181 "Kestrel! - Restore Card": what to write back from a backup file, in the group "What
// to restore" - phone book, fixed dialling numbers, SMS messages, SMS parameters, networks - all
// ticked as it opens.
class RestoreChoiceDialog final : public QDialog
{
    Q_OBJECT

public:
    explicit RestoreChoiceDialog(QWidget* parent);

    RestoreChoice choice() const;

    // The dialog, modal; nullopt when it was closed without OK.
    static std::optional<RestoreChoice> ask(QWidget* parent);

private:
    std::array<QCheckBox*, 5> m_boxes{};
};

} // namespace kestrel
