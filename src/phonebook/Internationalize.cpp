#include "phonebook/Internationalize.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "app/AppState.h"
#include "app/Prompter.h"
#include "base/StringTable.h"
#include "codec/DialDigits.h"
#include "codec/FixedText.h"
#include "codec/PcText.h"
#include "phonebook/PhoneBookModel.h"

namespace kestrel {

namespace {

bool allDialDigits(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), IsDialDigit);
}

} // namespace

bool internationalize(PhoneBookModel& model, int from, int to)
{
    Prompter& prompter = model.prompter();
    if (from < 1 || to > model.capacity() || to < from) {
        prompter.message(strId(sid::OutOfRange_57593), PromptIcon::Stop);
        return false;
    }
    const AppSettings& settings = model.app().settings();
    if (settings.intNumber.isEmpty() || settings.intSelector.isEmpty()) {
        if (prompter.question(strId(sid::InternationalizationSettingsAreNotSet_57591), PromptButtons::YesNoCancel,
                              PromptIcon::Exclamation) != PromptAnswer::Yes)
            return false;
    }
    const std::string country = unicodeToPcText(settings.intNumber);
    const std::string selector = unicodeToPcText(settings.intSelector);

    bool tooLong = false;
    for (int row = from - 1; row < to; ++row) {
        DialEntry& e = model.entry(row);
        if (e.valid == 0 || e.ton == 1)
            continue;
        const std::string_view s = fixedText(e.number);
        std::string result;
        if (s.substr(0, selector.size()) == selector) {
            // Dialled with the access prefix: the rest already starts with the country code.
            result = std::string(s.substr(selector.size()));
        } else if (!s.empty() && s[0] == '0' && (s.size() < 2 || s[1] != '0')) {
            // A national number with its trunk prefix: the user's country code takes the 0's place.
            result = country + std::string(s.substr(1));
            if (result.size() > static_cast<std::size_t>(kMaxDialDigits)) {
                tooLong = true;
                continue;
            }
        } else {
            continue;
        }
        // Settings edited outside Setup could hold characters no number may contain.
        if (!allDialDigits(result))
            continue;
        setFixedText(e.number, result);
        e.ton = 1;
        e.modified = 1;
    }
    model.redraw(-1, from - 1, to - 1);
    if (tooLong)
        prompter.message(strId(sid::SomeNumbersWouldBeToo_57592), PromptIcon::Information);
    return true;
}

} // namespace kestrel
