#pragma once

#include <cstdint>
#include <vector>

#include <QStringList>
#include <QTextStream>

#include "codec/DialEntry.h"
#include "codec/SmsEntry.h"

namespace kestrel::cli {

struct CardSession;

// The reads of "phonebook read" and "sms read", each a card operation opening the card with PIN1
// (an unblock offered): the records of EF_ADN, EF_FDN, EF_LND or EF_MSISDN (file), up to the
// file's record count, and the 99 message positions of EF_SMS up to the file's record count.
// False when the card failed (the error was shown).
bool readDialEntries(CardSession& s, uint16_t file, std::vector<DialEntry>& entries);
bool readSmsEntries(CardSession& s, std::vector<SmsEntry>& entries);

// The card-reading commands on the card in `device`, JSON on `out`:
//   phonebook read [--fdn|--lnd|--msisdn] [--all]
//   sms read [--all]
//   smsp read | smsp write --sc NUMBER --validity TEXT
//   backup <file.sim>           (backup --image FILE.json: cli/ImageCliCommands.h)
//   restore <file.sim> [--only phonebook,fdn,sms,smsp,networks]
// Lists hold the valid entries, or every record with --all. Codes come from --pin/--pin2/... or
// are asked on the terminal; interactive: standard input may be asked.
int runPhonebook(const QString& device, const QStringList& args, QTextStream& out, QTextStream& err, bool interactive);
int runSms(const QString& device, const QStringList& args, QTextStream& out, QTextStream& err, bool interactive);
int runSmsp(const QString& device, const QStringList& args, QTextStream& out, QTextStream& err, bool interactive);
int runBackup(const QString& device, const QStringList& args, QTextStream& out, QTextStream& err, bool interactive);
int runRestore(const QString& device, const QStringList& args, QTextStream& out, QTextStream& err, bool interactive);

// "check [--repair] [--detailed]": the SIM check report as text (the detailed one with --detailed);
// with --repair the errors found are then repaired on the card and the report of the repair
// follows. Exit 0 when the card was checked (and repaired), whether or not it had errors.
int runCheck(const QString& device, const QStringList& args, QTextStream& out, QTextStream& err, bool interactive);

// "dump <file.sim> [--all]": a backup file's contents, without a card.
int runDump(const QStringList& args, QTextStream& out, QTextStream& err);

} // namespace kestrel::cli
