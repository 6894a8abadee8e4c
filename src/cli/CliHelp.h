#pragma once

#include <optional>

#include <QString>
#include <QStringList>

namespace kestrel::cli {

// The help of kestrel-cli: with no words all of it; with a command ("phonebook") the usage of
// that command, with a command and its verb ("phonebook read") the usage of that verb. Nothing
// for a command the program does not have.
std::optional<QString> helpText(const QStringList& commandWords);

// "kestrel-cli 4.0.0": the program's name and version.
QString versionText();

} // namespace kestrel::cli
