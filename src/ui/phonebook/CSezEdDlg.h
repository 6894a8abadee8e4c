#pragma once

#include "ui/phonebook/PhoneBookWindow.h"

namespace kestrel {

// The phone book window: EF_ADN with its extension records in EF_EXT1.
class CSezEdDlg final : public PhoneBookWindow
{
    Q_OBJECT

public:
    CSezEdDlg(EditorHost& host, QWidget* parent = nullptr);
};

} // namespace kestrel
