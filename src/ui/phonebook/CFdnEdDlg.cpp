#include "ui/phonebook/CFdnEdDlg.h"

#include <QCheckBox>

#include "base/StringTable.h"

namespace kestrel {

CFdnEdDlg::CFdnEdDlg(EditorHost& host, QWidget* parent)
    : PhoneBookWindow({EditorKind::Fdn, DialBook::Fdn, strId(sid::FixedDialingNumbersPhoneBook_171),
                       strId(sid::DeleteAll_9608), true},
                      host, parent)
{}

void CFdnEdDlg::cardWorkDone()
{
    fdnBox()->setChecked(model().fdnActive());
}

} // namespace kestrel
