#include "sms/SmsParametersForm.h"

#include <algorithm>

#include "app/AppState.h"
#include "app/Prompter.h"
#include "base/StringTable.h"
#include "codec/DialDigits.h"
#include "codec/PcText.h"
#include "codec/SmsTime.h"
#include "reader/ReaderManager.h"
#include "sim/SmsParameters.h"

namespace kestrel {

namespace {

constexpr int kNoParameters = strId(sid::NoSmsParametersInCard_57345);
constexpr int kBadCentreOnWrite = strId(sid::BadSmsCenterNumberEntered_57347);
constexpr int kNoPhoneBookEntry = strId(sid::CurrentEntryFromPhoneBook_57348);
constexpr int kBadCentreOnOk = strId(sid::BadSmsCenterNumberEntered_57349);
constexpr int kNoReaderReading = strId(sid::NoSmartcardReaderConnected_57740);
constexpr int kNoReaderWriting = strId(sid::NoSmartcardReaderConnected_57760);

} // namespace

SmsParametersForm::SmsParametersForm(AppState& state, Prompter& prompter, ProgressSink* progress, PhoneBookPick pick,
                                     std::chrono::milliseconds pause)
    : m_state(state), m_prompter(prompter), m_progress(progress), m_pick(std::move(pick)), m_pause(pause),
      m_centre(state.settings().servCenter), m_choice(choiceOf(state.settings().validPer))
{}

int SmsParametersForm::choiceOf(int validPer)
{
    SmsTime relative;
    relative.validity = static_cast<uint8_t>(std::clamp(validPer, 0, 255));
    return ValidityChoiceIndex(FormatSmsTime(relative), false);
}

bool SmsParametersForm::cardButtonsEnabled() const
{
    return m_state.readers().currentReader() != nullptr && m_state.simCard() != nullptr;
}

void SmsParametersForm::choose(int choice)
{
    if (choice >= 0 && choice <= 3)
        m_choice = choice;
}

void SmsParametersForm::showFailure(const SmsParameters& result)
{
    switch (result.messageId()) {
    case 0: // the PIN prompt was closed
        return;
    case kNoReaderReading:
    case kNoReaderWriting:
    case kBadCentreOnWrite:
        m_prompter.message(result.messageId(), PromptIcon::Stop);
        return;
    default:
        m_prompter.messageText(result.message(), PromptIcon::Stop);
    }
}

bool SmsParametersForm::readFromSim()
{
    if (!m_state.simCard()) {
        m_prompter.message(kNoReaderReading, PromptIcon::Stop);
        return false;
    }
    const SmsParameters read = ReadSmsParameters(m_state.sim(), &m_prompter, m_progress, m_pause);
    if (!read.result) {
        showFailure(read);
        return false;
    }
    if (read.serviceCentre.empty() && read.validity.empty()) {
        m_prompter.message(kNoParameters, PromptIcon::Information);
        return true;
    }
    m_centre = pcTextToUnicode(read.serviceCentre);
    m_choice = ValidityChoiceIndex(read.validity, false);
    return true;
}

bool SmsParametersForm::writeToSim()
{
    const std::string centre = StripNumberSeparators(unicodeToPcText(m_centre));
    if (centre.empty() || !IsWritableServiceCentre(centre)) {
        m_prompter.message(kBadCentreOnWrite, PromptIcon::Stop);
        return false;
    }
    if (!m_state.simCard()) {
        m_prompter.message(kNoReaderWriting, PromptIcon::Stop);
        return false;
    }
    const SmsParameters written =
        WriteSmsParameters(m_state.sim(), &m_prompter, m_progress, centre, ValidityChoiceText(m_choice), m_pause);
    if (!written.result) {
        showFailure(written);
        return false;
    }
    return true;
}

bool SmsParametersForm::fromPhoneBook()
{
    const std::optional<QString> number = pickedPhoneBookNumber(m_pick, m_prompter, kNoPhoneBookEntry);
    if (!number)
        return false;
    m_centre = *number;
    return true;
}

bool SmsParametersForm::accept()
{
    // New messages take this centre into a 20-digit address field: a longer number would reach
    // them cut short, so it is refused like a wrong one.
    const std::string centre = StripNumberSeparators(unicodeToPcText(m_centre));
    if (!centre.empty() && !IsWritableServiceCentre(centre)) {
        m_prompter.message(kBadCentreOnOk, PromptIcon::Stop);
        return false;
    }
    m_state.settings().servCenter = pcTextToUnicode(centre);
    m_state.settings().validPer = RelativeValidity(ValidityChoiceText(m_choice));
    m_state.saveSettings();
    return true;
}

} // namespace kestrel
