#pragma once

#include <QString>

namespace kestrel {

// What `kestrel FILE` does with a file, by the end of its name (any case): the desktop entry
// hands double-clicked files over this way.
enum class StartFileKind
{
    PhoneBook, // .dia, .vcf, .csv: a new phone book window, its Open File
    Messages,  // .sms, .sma: a new SMS window, its Open File
    Backup,    // .sim: Open Backup File
    CardImage, // .json: the card image opened as the virtual card (VIRTUAL:<path>)
    Unknown,
};

StartFileKind startFileKind(const QString& path);

// The device a card image is opened on: "VIRTUAL:" and the file's absolute path.
QString cardImageDevice(const QString& path);

} // namespace kestrel
