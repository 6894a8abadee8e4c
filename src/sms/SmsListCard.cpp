// Reading the rows of an SMS window from EF_SMS and writing them back.

#include "sms/SmsListModel.h"

#include <span>

#include "app/AppState.h"
#include "app/CardOperation.h"
#include "app/Prompter.h"
#include "base/StringTable.h"
#include "sim/SimCard.h"
#include "sim/SmsFiles.h"

namespace kestrel {

namespace {

OpenFlags smsOpenFlags()
{
    OpenFlags open;
    open.chv1 = true; // EF_SMS is read and updated under CHV1
    open.offerUnblock = true;
    return open;
}

} // namespace

bool SmsListModel::readFromCard()
{
    if (m_app.settings().confirm != 0 && anyModified() &&
        !askedYes(strId(sid::SomeEntriesAreNotUpdated_57500), PromptButtons::YesNoCancel))
        return false;
    SimCard* sim = m_app.simCard();
    if (!sim)
        return false;

    CardOperation op(*sim, m_prompter, m_progress);
    // Read into a copy: a read that fails half-way (Abort, a pulled card) leaves the window's rows,
    // unsaved changes included, as they were.
    std::array<SmsEntry, kRows> read{};
    int count = 0;
    const bool ok = op.run(strId(sid::ReadingSmsMessage_5111), smsOpenFlags(),
                           [&] { return SmsFiles(*sim).readSmsList(read, count); });
    if (ok) {
        m_entries = read;
        setRowCount(count);
    }
    cardOperationDone(ok);
    redraw();
    return ok;
}

bool SmsListModel::writeToCard()
{
    if (m_limit == 0) {
        m_prompter.message(strId(sid::CurrentWindowIsEmpty_57820), PromptIcon::Stop);
        return false;
    }
    if (m_app.settings().confirm != 0 &&
        !askedYes(strId(sid::CurrentSmsMessagesWillBe_57821), PromptButtons::YesNoCancel))
        return false;
    SimCard* sim = m_app.simCard();
    if (!sim)
        return false;

    CardOperation op(*sim, m_prompter, m_progress);
    const bool ok = op.run(strId(sid::WritingSmsMessage_5112), smsOpenFlags(), [&] {
        int count = 0;
        return SmsFiles(*sim).writeSmsList(std::span<SmsEntry>(m_entries.data(), static_cast<std::size_t>(m_limit)),
                                           count);
    });
    cardOperationDone(ok);
    redraw();
    return ok;
}

} // namespace kestrel
