#include "ui/phonebook/CSezEdDlg.h"

#include "base/StringTable.h"

namespace kestrel {

CSezEdDlg::CSezEdDlg(EditorHost& host, QWidget* parent)
    : PhoneBookWindow({EditorKind::PhoneBook, DialBook::Adn, strId(9600), strId(9607), false}, host, parent)
{}

} // namespace kestrel
