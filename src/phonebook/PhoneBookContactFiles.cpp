// The vCard and CSV files of a phone book window: PhoneBookFiles' Save File, Open File and Add
// from File for a path ending in .vcf or .csv.

#include "phonebook/PhoneBookFiles.h"

#include <algorithm>
#include <span>

#include <QFile>
#include <QSaveFile>

#include "app/AppState.h"
#include "app/Prompter.h"
#include "base/StringIds.h"
#include "base/StringTable.h"
#include "codec/DialDigits.h"
#include "phonebook/EntryFields.h"
#include "phonebook/PhoneBookModel.h"

namespace kestrel {

Result PhoneBookFiles::saveContacts(const QString& path, int from, int to, PhoneBookFormat format)
{
    Prompter& prompter = m_model.prompter();
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly)) {
        prompter.message(strId(sid::CannotOpenFileForWriting_57780), PromptIcon::Stop);
        return Result::failure(strId(sid::CannotOpenFileForWriting_57780));
    }
    // In item order, as the .DIA save writes them.
    m_model.sortByKey(0, m_model.capacity() - 1, 0);
    m_model.redraw();
    const std::span<const DialEntry> rows(m_model.entries().data() + (from - 1),
                                          static_cast<std::size_t>(to - from + 1));
    const QByteArray bytes = writeContactFile(format, contactsFromEntries(rows));
    if (out.write(bytes) != bytes.size() || !out.commit()) {
        out.cancelWriting();
        prompter.message(strId(sid::ErrorWhileWritingToFile_57781), PromptIcon::Stop);
        return Result::failure(strId(sid::ErrorWhileWritingToFile_57781));
    }
    prompter.message(strId(sid::DataWrittenToFile_57782), PromptIcon::Information);
    return Result::ok();
}

Result PhoneBookFiles::loadContacts(const QString& path, int offset, bool adding, PhoneBookFormat format)
{
    Prompter& prompter = m_model.prompter();
    m_losses.clear();

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        prompter.message(kDiaCannotOpen, PromptIcon::Stop);
        return Result::failure(kDiaCannotOpen);
    }
    // One byte past the limit is enough to tell the reader the file is too large.
    const QByteArray bytes = file.read(kMaxContactFileBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        prompter.message(kDiaReadError, PromptIcon::Stop);
        return Result::failure(kDiaReadError);
    }
    const ContactsRead read = readContactFile(format, bytes);
    if (!read.ok()) {
        const QString reason = StringTable::text(read.errorId);
        prompter.messageText(read.errorLine > 0
                                 ? StringTable::text(sid::TheContactFileCannotBe_9920).arg(read.errorLine).arg(reason)
                                 : StringTable::text(sid::TheContactFileCannotBe_9921).arg(reason),
                             PromptIcon::Stop);
        return Result::failure(read.errorId, QString::number(read.errorLine));
    }
    if (read.contacts.empty()) {
        prompter.message(strId(sid::TheFileHoldsNoContacts_9940), PromptIcon::Exclamation);
        return Result::failure(strId(sid::TheFileHoldsNoContacts_9940));
    }

    // The rows the contacts go to, in item order: Open File every row of the capacity, Add from
    // File the free ones from the start on.
    const int capacity = m_model.capacity();
    std::vector<int> rows;
    for (int row = 0; row < capacity; ++row) {
        const DialEntry& e = m_model.entry(row);
        if (!adding || (e.valid == 0 && e.position >= offset))
            rows.push_back(row);
    }
    if (adding) {
        std::sort(rows.begin(), rows.end(),
                  [this](int a, int b) { return m_model.entry(a).position < m_model.entry(b).position; });
    }

    ContactImport import = importContacts(read.contacts, m_model.app().maxAlphaLength(), static_cast<int>(rows.size()));
    m_losses = import.losses;
    if (import.entries.empty()) {
        prompter.messageText(lossMessage(m_losses, strId(sid::NoneOfTheContactsCan_9951)), PromptIcon::Stop);
        return Result::failure(strId(sid::NoneOfTheContactsCan_9951));
    }
    if (!m_losses.empty() && prompter.questionText(lossMessage(m_losses, strId(sid::LoadTheOtherEntries_9950)),
                                                   PromptButtons::YesNo, PromptIcon::Exclamation) != PromptAnswer::Yes)
        return Result::failure(strId(sid::LoadTheOtherEntries_9950));

    const PhoneBookModel::Change change(m_model);
    if (!adding) {
        for (int row = 0; row < PhoneBookModel::kMaxEntries; ++row) {
            DialEntry& e = m_model.entry(row);
            e = DialEntry::emptyAt(static_cast<uint16_t>(row));
            e.modified = 1;
        }
    }
    for (std::size_t i = 0; i < import.entries.size(); ++i) {
        DialEntry& e = m_model.entry(rows[i]);
        e = DialEntry::emptyAt(e.position);
        e.valid = 1;
        setEntryField(e.name, import.entries[i].name);
        uint8_t ton = 0;
        setEntryField(e.number, SplitPlus(import.entries[i].number, ton));
        e.ton = ton;
        e.npi = kNewEntryNpi;
        e.modified = 1;
    }
    m_model.clearSelection();
    m_model.setSelected(rows.front(), true);
    m_model.setFocusedRow(rows.front());
    m_model.redraw(rows.front(), -1, -1);
    return Result::ok();
}

} // namespace kestrel
