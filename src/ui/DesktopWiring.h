#pragma once

namespace kestrel {

class KestrelApp;

// Connects the windows and dialogs of the desktop program to the main window: the phone book and
// fixed-dialling-number windows, Setup (also at start-up when the reader fails), Telephone Card,
// Country Codes, and the progress window and printer the phone book windows use.
void wireDesktop(KestrelApp& app);

} // namespace kestrel
