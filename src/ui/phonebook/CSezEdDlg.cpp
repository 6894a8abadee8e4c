#include "ui/phonebook/CSezEdDlg.h"

#include "base/StringTable.h"

namespace kestrel {

CSezEdDlg::CSezEdDlg(EditorHost& host, QWidget* parent)
    : PhoneBookWindow(
          {EditorKind::PhoneBook, DialBook::Adn, strId(sid::PhoneBook_9600), strId(sid::ClearAll_9607), false}, host,
          parent)
{}

} // namespace kestrel
