#pragma once

#include <QDialog>

#include "base/StringIds.h"

namespace kestrel {

// Dialog 128 "Kestrel! - Replacing Entries": "Overwrite this entry?" with "&Yes", "&No", "&All"
// and "&Cancel". The Escape key and the close box count as Cancel.
class ReplaceEntryDialog final : public QDialog
{
    Q_OBJECT

public:
    enum Answer
    {
        Yes = 1,
        No = sid::No_1104,
        All = sid::All_1035,
        Cancel = 2,
    };

    explicit ReplaceEntryDialog(QWidget* parent);

    // Shows the dialog and waits for the answer.
    static Answer ask(QWidget* parent);
};

} // namespace kestrel
