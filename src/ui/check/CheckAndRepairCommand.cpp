#include "ui/check/CheckAndRepairCommand.h"

#include "app/AppState.h"
#include "app/SimCheckCommand.h"
#include "ui/MainWindow.h"
#include "ui/check/CheckReportDialog.h"

namespace kestrel {

void checkAndRepair(AppState& state, Prompter& prompter, ProgressSink* progress, QWidget* parent)
{
    SimCard* card = state.simCard();
    if (!card)
        return;
    SimCheckCommand command(*card, prompter, progress);
    if (!command.check())
        return;
    CheckReportDialog dialog(state, CheckReportForm(command.brief(), command.detailed(), command.errorsFound()),
                             parent);
    if (dialog.exec() != QDialog::Accepted || !command.errorsFound())
        return;
    // A failure or a cancelled PIN2 prompt has been shown by the command; repairs made before it
    // stay on the card.
    command.repair();
}

void checkAndRepair(MainWindow& window)
{
    checkAndRepair(window.state(), window.prompter(), window.progress(), &window);
}

} // namespace kestrel
