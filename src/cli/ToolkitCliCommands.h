#pragma once

#include <QStringList>
#include <QTextStream>

namespace kestrel::cli {

// The SIM Application Toolkit of the card in `device`, JSON on `out`:
//   stk menu                                 the card's menu (SET UP MENU): title and items
//   stk select ID [--item N] [--input TEXT]  chooses menu item ID; the card's SELECT ITEM and
//                                            GET INPUT are answered from --item and --input, or
//                                            asked on the terminal, else cancelled; prints what
//                                            the card displayed
int runStk(const QString& device, const QStringList& args, QTextStream& out, QTextStream& err, bool interactive);

} // namespace kestrel::cli
