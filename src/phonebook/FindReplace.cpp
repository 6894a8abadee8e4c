#include "phonebook/FindReplace.h"

#include <algorithm>
#include <string_view>

#include "app/AppState.h"
#include "app/Prompter.h"
#include "base/StringIds.h"
#include "codec/DialDigits.h"
#include "codec/FixedText.h"
#include "codec/PcText.h"
#include "phonebook/PhoneBookModel.h"

namespace kestrel {

namespace {

// The dialog's fields hold at most 200 characters; names and number texts at most 64.
constexpr qsizetype kMaxFieldChars = 200;
constexpr std::size_t kMaxResult = 64;

// Upper case for a-z only: letters with diacritics stay as they are and match only themselves.
std::string upperAscii(std::string_view text)
{
    std::string out(text);
    for (char& c : out) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return out;
}

// Where `upperNeedle` first occurs in text, compared case-insensitively; npos when it does not.
std::size_t findFolded(std::string_view text, std::string_view upperNeedle)
{
    return upperAscii(text).find(upperNeedle);
}

} // namespace

FindReplace::FindReplace(PhoneBookModel& model, FindReplaceUi& ui) : m_model(model), m_ui(ui) {}

bool FindReplace::acceptRequest(const FindRequest& request, Prompter& prompter)
{
    if (request.findText.isEmpty()) {
        prompter.message(strId(sid::EnterSearchText_57400), PromptIcon::Stop);
        return false;
    }
    return true;
}

void FindReplace::find()
{
    // Every entry one Find... replaces is one undo step.
    const PhoneBookModel::Change change(m_model);
    m_replaceAll = false;
    bool repeat = false;
    do {
        m_continue = false;
        if (!step(repeat))
            break;
        repeat = true;
    } while (m_replaceAll || m_continue);
}

void FindReplace::findNext()
{
    const PhoneBookModel::Change change(m_model);
    m_replaceAll = false;
    do {
        m_continue = false;
        if (!step(true))
            break;
    } while (m_replaceAll || m_continue);
}

FindAction FindReplace::runDialog()
{
    AppSettings& settings = m_model.app().settings();
    FindRequest request{settings.findStr, settings.replStr, std::clamp(settings.itemSrch, 0, 3)};
    for (;;) {
        const FindAction action = m_ui.runDialog(request);
        if (action == FindAction::None)
            return action;
        if (!acceptRequest(request, m_model.prompter()))
            continue;
        settings.findStr = request.findText.left(kMaxFieldChars);
        settings.replStr = request.replaceText.left(kMaxFieldChars);
        settings.itemSrch = std::clamp(request.selector, 0, 3);
        m_model.app().saveSettings();
        return action;
    }
}

bool FindReplace::loadSettings()
{
    const AppSettings& settings = m_model.app().settings();
    m_find = upperAscii(unicodeToPcText(settings.findStr.left(kMaxFieldChars)));
    m_replace = unicodeToPcText(settings.replStr.left(kMaxFieldChars));
    m_selector = static_cast<FindSelector>(std::clamp(settings.itemSrch, 0, 3));
    return !m_find.empty();
}

FindReplace::Match FindReplace::test(int row) const
{
    const DialEntry& e = m_model.entry(row);
    if (e.valid == 0)
        return Match::None;
    const auto inName = [&] { return findFolded(fixedText(e.name), m_find) != std::string::npos; };
    const std::string number = upperAscii(JoinPlus(fixedText(e.number), e.ton));
    switch (m_selector) {
    case FindSelector::Name:
        return inName() ? Match::Name : Match::None;
    case FindSelector::Number:
        return number.find(m_find) != std::string::npos ? Match::Number : Match::None;
    case FindSelector::DialingCode:
        return number.starts_with(m_find) ? Match::Number : Match::None;
    case FindSelector::Everywhere:
        if (inName())
            return Match::Name;
        return number.find(m_find) != std::string::npos ? Match::Number : Match::None;
    }
    return Match::None;
}

int FindReplace::search(int from)
{
    for (int row = std::max(from, 0); row < m_model.capacity(); ++row) {
        m_match = test(row);
        if (m_match != Match::None)
            return row;
    }
    return -1;
}

void FindReplace::selectRow(int row)
{
    m_model.clearSelection();
    m_model.setSelected(row, true);
    m_model.setFocusedRow(row);
    m_model.redraw(row, row, row);
}

void FindReplace::moveToRow(int row)
{
    if (row < m_model.capacity()) {
        m_row = row;
        selectRow(row);
    } else {
        m_replaceAll = false;
        m_continue = false;
    }
}

bool FindReplace::step(bool repeat)
{
    AppState& app = m_model.app();
    if (!m_replaceAll) {
        const int first = m_model.firstSelected();
        m_row = first >= 0 ? first : 0;
    }

    const auto last = static_cast<FindAction>(app.lastFindAction());
    if (repeat && last != FindAction::None && loadSettings()) {
        m_action = last;
    } else {
        m_action = runDialog();
        if (m_action == FindAction::None)
            return false;
        loadSettings();
    }
    app.setLastFindAction(static_cast<int>(m_action));

    const bool finding = m_action == FindAction::Find;
    int row = search(finding ? m_row + 1 : m_row);
    if (row < 0 && finding)
        row = search(0);
    if (row < 0) {
        if (!m_replaceAll)
            m_model.prompter().message(strId(sid::ItemNotFound_57401), PromptIcon::Information);
        app.setLastFindAction(static_cast<int>(FindAction::None));
        m_replaceAll = false;
        return true;
    }
    m_row = row;
    selectRow(row);
    if (finding)
        return true;

    DialEntry& e = m_model.entry(row);
    const bool inName = m_match == Match::Name;
    std::string text = inName ? std::string(fixedText(e.name)) : JoinPlus(fixedText(e.number), e.ton);
    const std::size_t at = findFolded(text, m_find);
    if (at != std::string::npos)
        text.replace(at, m_find.size(), m_replace);
    if (text.size() > kMaxResult)
        text.resize(utf8Prefix(text, kMaxResult));

    if (!m_replaceAll) {
        switch (m_ui.askReplace()) {
        case ReplaceAnswer::Yes:
            m_continue = true;
            break;
        case ReplaceAnswer::All:
            m_replaceAll = true;
            break;
        case ReplaceAnswer::No:
            m_continue = true;
            moveToRow(m_row + 1);
            return true;
        case ReplaceAnswer::Cancel:
            return false;
        }
    }

    if (inName) {
        setFixedText(e.name, text);
    } else {
        if (!IsValidDialNumber(text)) {
            m_model.prompter().message(strId(sid::WrongNumber_57402), PromptIcon::Stop);
            m_replaceAll = false;
            m_continue = false;
            return false;
        }
        uint8_t ton = 0;
        setFixedText(e.number, SplitPlus(text, ton));
        e.ton = ton;
    }
    e.modified = 1;
    m_model.redraw(-1, row, row);
    moveToRow(m_row + 1);
    return true;
}

} // namespace kestrel
