#pragma once

class QWidget;

namespace kestrel {

class AppState;
class MainWindow;
class ProgressSink;
class Prompter;

// "&Check and Repair SIM" (menu sid::CheckAndRepairSim_40098, button sid::SimCheckAndRepair_2020): the dialling-number
// files, their extension files and EF_SMS read fresh from the card ("Kestrel! - Checking SIM Card"), the report in
// "Kestrel! - Check SIM Card Report", and on "&Repair Errors" the repair on the card that was
// checked ("Kestrel! - Repairing SIM Card", PIN2 asked for when EF_FDN or EF_EXT2 is to be
// written). Card failures are shown in the card-error dialog; a successful repair ends the command
// quietly. Without a SimCard nothing happens.
void checkAndRepair(AppState& state, Prompter& prompter, ProgressSink* progress, QWidget* parent);

// The main window's command sid::CheckAndRepairSim_40098 (and button sid::SimCheckAndRepair_2020): the above on its
// progress window.
void checkAndRepair(MainWindow& window);

} // namespace kestrel
