// Reading the window from EF_ADN / EF_FDN and writing it back.

#include "phonebook/PhoneBookModel.h"

#include <algorithm>
#include <span>

#include "app/AppState.h"
#include "app/CardOperation.h"
#include "app/Prompter.h"
#include "base/StringTable.h"
#include "codec/DialRecord.h"
#include "sim/DialFiles.h"
#include "sim/SimCard.h"

namespace kestrel {

bool PhoneBookModel::readFromCard()
{
    if (m_app.settings().confirm != 0 && anyModified() &&
        !askedYes(strId(sid::SomeEntriesAreNotUpdated_57500), PromptButtons::YesNoCancel))
        return false;
    SimCard* sim = m_app.simCard();
    if (!sim)
        return false;

    const bool fdn = m_book == DialBook::Fdn;
    OpenFlags open;
    open.chv1 = true;
    open.offerUnblock = true;
    CardOperation op(*sim, m_prompter, m_progress);
    op.setShowFailure(false);

    // Read into a copy: a read that fails half-way (Abort, a pulled card) leaves the window's
    // entries, unsaved changes included, as they were.
    std::array<DialEntry, kMaxEntries> read{};
    DialListSize size;
    bool fdnActive = false;
    const bool ok =
        op.run(fdn ? strId(sid::ReadingFixedDialingNumbers_5102) : strId(sid::ReadingPhoneBook_5100), open, [&] {
            if (!DialFiles(*sim).readDialList(fdn ? gsm::fid::kEfFdn : gsm::fid::kEfAdn, read, size))
                return false;
            if (fdn) {
                // Fixed dialling is in force while EF_ADN is invalidated; a card without EF_ADN has none.
                FileInfo adn;
                fdnActive = sim->selectFile(gsm::fid::kDfTelecom, gsm::fid::kEfAdn, nullptr, &adn) && adn.invalidated;
            }
            return true;
        });

    if (ok) {
        m_entries = read;
        m_alphaLength = size.alphaLength;
        setCapacity(std::min(size.count, kMaxEntries));
        const int alpha = std::min(size.alphaLength, 20);
        m_app.setMaxAlphaLength(fdn ? std::min(m_app.maxAlphaLength(), alpha) : alpha);
        if (fdn)
            m_fdnActive = fdnActive;
        m_sortedColumn = -1;
    } else if (!fdn && op.failureStatus() == CardStatus::InaccessibleRecord) {
        // EF_ADN invalidated: fixed dialling is in force.
        m_prompter.message(strId(sid::EntryCanNotBeOverwritten_5609), PromptIcon::Stop);
    } else if (op.failureToShow()) {
        m_prompter.showCardError(op.errorText());
    }
    cardOperationDone(ok);
    redraw();
    return ok;
}

bool PhoneBookModel::writeToCard()
{
    if (m_limit == 0) {
        m_prompter.message(strId(sid::CurrentWindowIsEmpty_57800), PromptIcon::Stop);
        return false;
    }
    if (m_app.settings().confirm != 0 &&
        !askedYes(strId(sid::CurrentPhoneBookWillBe_57801), PromptButtons::YesNoCancel))
        return false;
    SimCard* sim = m_app.simCard();
    if (!sim)
        return false;

    const bool fdn = m_book == DialBook::Fdn;
    OpenFlags open;
    open.chv1 = true;
    open.chv2 = fdn; // EF_FDN is updated under CHV2
    open.offerUnblock = true;
    CardOperation op(*sim, m_prompter, m_progress);
    DialListSize size;
    const bool ok =
        op.run(fdn ? strId(sid::WritingFixedDialingNumbers_5103) : strId(sid::WritingPhoneBook_5101), open, [&] {
            const std::span<DialEntry> entries(m_entries.data(), static_cast<std::size_t>(m_limit));
            if (!DialFiles(*sim).writeDialList(fdn ? gsm::fid::kEfFdn : gsm::fid::kEfAdn, entries, size))
                return false;
            return !fdn || sim->selectFile(gsm::fid::kDfTelecom, gsm::fid::kEfAdn);
        });
    if (ok) {
        // The rows show what the card holds: names through its alphabet, numbers as its digits; a
        // row whose record stayed as it was shows the record's own name.
        m_alphaLength = size.alphaLength;
        const bool unicode = m_app.settings().unicodeNames != 0;
        for (int row = 0; row < m_limit; ++row) {
            DialEntry& e = entry(row);
            const std::optional<DialEntry> held = e.valid ? DecodeKeptBytes(e.kept, e.position) : std::nullopt;
            DialEntry shown = held ? *held : StoredDialEntry(e, static_cast<std::size_t>(size.alphaLength), unicode);
            std::copy(std::begin(shown.name), std::end(shown.name), std::begin(e.name));
            std::copy(std::begin(shown.number), std::end(shown.number), std::begin(e.number));
        }
    }
    cardOperationDone(ok);
    redraw();
    return ok;
}

} // namespace kestrel
