#include "sms/SmsEditForms.h"

#include "app/Prompter.h"
#include "base/StringTable.h"
#include "codec/DialDigits.h"
#include "codec/PcText.h"
#include "codec/SmsCodec.h"
#include "codec/SmsTime.h"
#include "codec/SmsUserData.h"
#include "phonebook/EntryFields.h"
#include "phonebook/PhoneBookModel.h"
#include "sms/SmsListModel.h"

namespace kestrel {

namespace {

// A number for a message address: a dial number whose digits (without "+") fit the 20 of an SMS
// address. A longer one would be cut on the way into the entry and the message would go to
// another number, so it is refused as a wrong number.
bool isMessageNumber(const std::string& pcText)
{
    if (!IsValidDialNumber(pcText))
        return false;
    uint8_t ton = 0;
    return SplitPlus(pcText, ton).size() <= static_cast<std::size_t>(kSmsNumberSize - 1);
}

QString joined(const char (&digits)[kSmsNumberSize], uint8_t ton)
{
    return pcTextToUnicode(JoinPlus(entryFieldText(digits), ton));
}

} // namespace

std::optional<QString> pickedPhoneBookNumber(const PhoneBookPick& pick, Prompter& prompter, int missingId)
{
    const std::optional<DialEntry> picked = pick ? pick() : std::nullopt;
    if (!picked || picked->valid == 0) {
        prompter.message(missingId, PromptIcon::Exclamation);
        return std::nullopt;
    }
    return pcTextToUnicode(JoinPlus(entryFieldText(picked->number), picked->ton));
}

// ---- SmsEditForm ------------------------------------------------------------------------------

SmsEditForm::SmsEditForm(SmsListModel& model, int row, PhoneBookPick pick)
    : m_model(model), m_row(row), m_pick(std::move(pick)), m_working(model.entry(row))
{
    if (m_working.valid == 0)
        m_working = model.newMessage(row);
}

QString SmsEditForm::text() const
{
    return pcTextToUnicode(entryFieldText(m_working.text));
}

QString SmsEditForm::phoneNumber() const
{
    return joined(m_working.number, m_working.numberTon);
}

QString SmsEditForm::lengthText(const QString& text)
{
    return QString::number(GsmSeptetCount(unicodeToPcText(text)));
}

int SmsEditForm::maxTextLength()
{
    return SmsListModel::kMaxTextLength;
}

std::optional<QString> SmsEditForm::fromPhoneBook()
{
    return pickedPhoneBookNumber(m_pick, m_model.prompter(), strId(sid::ItemFromTheCurrentPhone_57723));
}

QString SmsEditForm::withDialingCode(const QString& number, const QString& code)
{
    return code.isEmpty() ? number : PhoneBookModel::withDialingCode(number, code);
}

bool SmsEditForm::accept(const QString& text, const QString& phoneNumber)
{
    const std::string number = StripNumberSeparators(unicodeToPcText(phoneNumber));
    if (!isMessageNumber(number)) {
        m_model.prompter().message(strId(sid::ErrorInPhoneNumber_57721), PromptIcon::Stop);
        return false;
    }
    // Counted in septets, as the card stores them: an extension-table character takes two.
    const std::string typed = unicodeToPcText(text);
    if (GsmSeptetCount(typed) > static_cast<std::size_t>(maxTextLength())) {
        m_model.prompter().message(strId(sid::MessageIsTooLong_57722), PromptIcon::Stop);
        return false;
    }
    SmsEntry edited = m_working;
    const bool textChanged = typed != entryFieldText(edited.text);
    if (textChanged)
        setEntryField(edited.text, typed);
    setEntryField(edited.number, SplitPlus(number, edited.numberTon, kSmsNumberSize));
    if (!SmsKeepsRecord(edited)) {
        // A message the plain encoder cannot write as it is changes into a plain one: asked
        // first, whatever the confirm setting.
        const SmsEntry& original = m_model.entry(m_row);
        if (original.valid && !SmsIsPlain(original) &&
            m_model.prompter().question(strId(sid::ThisMessageIsNotA_9880), PromptButtons::YesNo,
                                        PromptIcon::Question) != PromptAnswer::Yes)
            return false;
        MakePlainSms(edited);
        // The text as the card will give it back.
        setEntryField(edited.text, ThroughGsmAlphabet(entryFieldText(edited.text)));
    }
    m_working = edited;
    m_working.modified = 1;
    m_model.replaceRow(m_row, m_working);
    return true;
}

// ---- SmsDetailsForm ---------------------------------------------------------------------------

QString SmsDetailsForm::choiceText(int choice)
{
    // The table's standard texts: "60 mins", "1 day", "24 hours", "7 days", "364 days"; the radio
    // buttons use all but "1 day".
    static constexpr int kTableIndex[] = {0, 2, 3, 4};
    if (choice < 0 || choice > 3)
        return {};
    return pcTextToUnicode(LoadValidityUnits().choices[kTableIndex[choice]]);
}

SmsDetailsForm::SmsDetailsForm(SmsEntry& entry, Prompter& prompter, PhoneBookPick pick)
    : m_entry(entry), m_prompter(prompter), m_pick(std::move(pick))
{
    m_openedWhen = pcTextToUnicode(entryFieldText(entry.when));
    m_copyWhen = m_openedWhen;
    m_whenText = m_openedWhen;
    m_status = std::clamp(entry.status, 0, 3);
    if (sendsStatus(m_status))
        m_choice = ValidityChoiceIndex(unicodeToPcText(m_openedWhen), true);
}

QString SmsDetailsForm::serviceCentre() const
{
    return joined(m_entry.scNumber, m_entry.scTon);
}

bool SmsDetailsForm::choicesEnabled() const
{
    return sendsStatus(m_status);
}

bool SmsDetailsForm::sendsStatus(int status)
{
    return status == static_cast<int>(SmsStatus::Sent) || status == static_cast<int>(SmsStatus::ToBeSent);
}

bool SmsDetailsForm::isAbsolute(const QString& when)
{
    SmsTime time;
    return ParseSmsTime(unicodeToPcText(when), time) && time.isAbsolute != 0;
}

void SmsDetailsForm::choose(int choice)
{
    if (choice < 0 || choice > 3)
        return;
    m_choice = choice;
    m_whenText = choiceText(choice);
    if (!sendsStatus(m_status))
        m_status = static_cast<int>(SmsStatus::ToBeSent);
}

void SmsDetailsForm::setStatus(int status)
{
    m_status = std::clamp(status, 0, 3);
    if (sendsStatus(m_status)) {
        // A date means nothing as a validity period: a week is offered instead.
        if (isAbsolute(m_copyWhen)) {
            m_copyWhen = choiceText(2);
            m_whenText = m_copyWhen;
            m_choice = 2;
        }
        return;
    }
    if (!isAbsolute(m_copyWhen)) {
        if (isAbsolute(m_openedWhen)) {
            m_copyWhen = m_openedWhen;
        } else {
            char now[kSmsWhenSize] = {};
            NormalizeSmsTime(now);
            m_copyWhen = pcTextToUnicode(entryFieldText(now));
        }
        m_whenText = m_copyWhen;
        m_choice = -1;
    }
}

std::optional<QString> SmsDetailsForm::fromPhoneBook()
{
    return pickedPhoneBookNumber(m_pick, m_prompter, strId(sid::ItemFromTheCurrentWindow_57661));
}

bool SmsDetailsForm::accept(int status, const QString& whenText, const QString& serviceCentre)
{
    const std::string centre = StripNumberSeparators(unicodeToPcText(serviceCentre));
    if (!isMessageNumber(centre)) {
        m_prompter.message(strId(sid::ErrorInSmsCenterAdded_57660), PromptIcon::Stop);
        return false;
    }
    m_entry.status = std::clamp(status, 0, 3);
    setEntryField(m_entry.scNumber, SplitPlus(centre, m_entry.scTon, kSmsNumberSize));
    setEntryField(m_entry.when, unicodeToPcText(whenText));
    return true;
}

} // namespace kestrel
