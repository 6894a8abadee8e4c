#pragma once

#include <QStringList>
#include <QTextStream>

namespace kestrel::cli {

// The card-reading commands on the card in `device`, JSON on `out`:
//   phonebook read [--fdn|--lnd|--msisdn] [--all]
//   sms read [--all]
//   smsp read | smsp write --sc NUMBER --validity TEXT
//   backup <file.sim>
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
