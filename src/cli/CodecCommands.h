#pragma once

#include <QStringList>
#include <QTextStream>

namespace kestrel::cli {

// "decode adn|sms|plmn ..." and "encode adn|sms|plmn ...": the data codecs on hex bytes.
int runDecode(const QStringList& args, QTextStream& out, QTextStream& err);
int runEncode(const QStringList& args, QTextStream& out, QTextStream& err);

} // namespace kestrel::cli
