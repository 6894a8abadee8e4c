#pragma once

#include "ui/phonebook/PhoneBookWindow.h"

namespace kestrel {

// The fixed-dialling-number window: EF_FDN with its extension records in EF_EXT2. Writing needs
// PIN2; the disabled "FDN Ac&tive" box shows whether fixed dialling is in force on the card as
// the last read found it (EF_ADN invalidated).
class CFdnEdDlg final : public PhoneBookWindow
{
    Q_OBJECT

public:
    CFdnEdDlg(EditorHost& host, QWidget* parent = nullptr);

protected:
    void cardWorkDone() override;
};

} // namespace kestrel
