#include "phonebook/AddCode.h"

#include <string>

#include "app/Prompter.h"
#include "base/StringTable.h"
#include "codec/DialDigits.h"
#include "codec/FixedText.h"
#include "codec/PcText.h"
#include "phonebook/DialingCodeText.h"
#include "phonebook/PhoneBookModel.h"

namespace kestrel {

namespace {

// 0 when the form passes, else the message to show.
int formCheck(const PhoneBookModel& model, const AddCodeForm& form)
{
    const int capacity = model.capacity();
    if (form.from < 1 || form.from > capacity || form.to < 1 || form.to > capacity || form.from > form.to)
        return strId(sid::ErrorInIntervalEntered_57450);
    const std::string code = unicodeToPcText(form.code);
    // A "+" may only lead the code: one put among the digits would stay inside the stored number.
    if (code.empty() || !IsValidDialNumber(code) || code.find('+', 1) != std::string::npos)
        return strId(sid::ErrorInDialingCodeEntered_57451);
    if (form.addToEnd() && code.front() == '+')
        return strId(sid::ErrorInDialingCodeEntered_57451);
    return 0;
}

} // namespace

AddCodeForm::AddCodeForm(const PhoneBookModel& model) : code(QStringLiteral("+"))
{
    const auto [first, last] = model.defaultInterval();
    from = first;
    to = last;
}

void AddCodeForm::setForAllNumbers(bool on)
{
    if (!m_addToEnd)
        m_forAll = on;
}

void AddCodeForm::setAddToEnd(bool on)
{
    if (on == m_addToEnd)
        return;
    m_addToEnd = on;
    if (on) {
        m_forAllBefore = m_forAll;
        m_forAll = true;
        m_plusRemoved = code.startsWith(QLatin1Char('+'));
        if (m_plusRemoved)
            code.remove(0, 1);
    } else {
        m_forAll = m_forAllBefore;
        if (m_plusRemoved && !code.startsWith(QLatin1Char('+')))
            code.prepend(QLatin1Char('+'));
        m_plusRemoved = false;
    }
}

void AddCodeForm::putChosenCode(const QString& chosenCode)
{
    code = putCodeInFront(code, chosenCode);
}

bool AddCodeForm::accept(const PhoneBookModel& model, Prompter& prompter) const
{
    const int message = formCheck(model, *this);
    if (message != 0)
        prompter.message(message, PromptIcon::Stop);
    return message == 0;
}

bool addCode(PhoneBookModel& model, const AddCodeForm& form)
{
    if (formCheck(model, form) != 0)
        return false;
    const std::string code = unicodeToPcText(form.code);
    const bool codeHasPlus = code.front() == '+';
    const bool forAll = form.forAllNumbers();

    model.sortByKey(0, model.capacity() - 1, 0);
    bool tooLong = false;
    for (int row = form.from - 1; row < form.to; ++row) {
        DialEntry& e = model.entry(row);
        if (e.valid == 0)
            continue;
        const std::string_view digits = fixedText(e.number);
        std::string t = JoinPlus(digits, e.ton);
        const bool fits = digits.size() + code.size() <= static_cast<std::size_t>(kMaxDialDigits);
        if (form.addToEnd()) {
            if (!fits) {
                tooLong = true;
                continue;
            }
            t += code;
        } else {
            const char lead = t.empty() ? '\0' : t.front();
            // Service codes, international numbers and numbers with a trunk prefix are left alone
            // unless asked for; a second "+" would make an invalid number anyway.
            if (!forAll && (lead == '#' || lead == '*' || lead == '+' || lead == '0'))
                continue;
            if (lead == '+' && codeHasPlus)
                continue;
            if (!fits) {
                tooLong = true;
                continue;
            }
            t.insert(lead == '+' ? 1 : 0, code);
        }
        uint8_t ton = 0;
        setFixedText(e.number, SplitPlus(t, ton));
        e.ton = ton;
        e.modified = 1;
    }
    model.redraw(-1, form.from - 1, form.to - 1);
    if (tooLong)
        model.prompter().message(strId(sid::SomeNumbersWereTooLong_57452), PromptIcon::Information);
    return true;
}

} // namespace kestrel
