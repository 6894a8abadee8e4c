#pragma once

#include <QString>

namespace kestrel {

class MainWindow;

// `kestrel FILE` once the program has started: a phone book file (.dia, .vcf, .csv) in a new phone
// book window, a message file (.sms, .sma) in a new SMS window, a .SIM backup as Open Backup File;
// another kind is refused with a message. (A card image is opened as the card at start-up.)
void openStartFile(MainWindow& window, const QString& path);

} // namespace kestrel
