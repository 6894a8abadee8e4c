#pragma once

namespace kestrel {

class KestrelApp;

// Connects the windows and dialogs of the desktop program to the main window: the phone book,
// fixed-dialling-number and SMS windows, Setup (also at start-up when the reader fails), Telephone
// Card, Country Codes, SMS Parameters, Information About SIM Card, Check and Repair, Report Header,
// Print Font, Preferred and Forbidden Networks, Backup Card, Restore Card and Open Backup File, and
// the country chooser of the phone book dialogs.
void wireDesktop(KestrelApp& app);

} // namespace kestrel
