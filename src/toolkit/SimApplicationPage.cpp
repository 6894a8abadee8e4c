#include "toolkit/SimApplicationPage.h"

#include "app/CardOpening.h"
#include "gsm/Toolkit.h"
#include "sim/SimCard.h"

namespace kestrel {

namespace {

using namespace gsm::toolkit;

QString entryText(uint8_t id, const QString& text)
{
    return QStringLiteral("<%1>\t%2").arg(id).arg(text);
}

std::vector<ToolkitChoice> choicesOf(const ToolkitCommand& command)
{
    std::vector<ToolkitChoice> choices;
    for (std::size_t i = 0; i < command.itemIds.size() && i < command.itemTexts.size(); ++i)
        choices.push_back(ToolkitChoice{command.itemIds[i], entryText(command.itemIds[i], command.itemTexts[i])});
    return choices;
}

// The card's 8-bit text string: characters beyond one byte become '?'.
QByteArray eightBit(const QString& text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const QChar c : text)
        bytes.append(c.unicode() <= 0xFF ? static_cast<char>(c.unicode()) : '?');
    return bytes;
}

ToolkitAnswer answered(bool sent)
{
    return sent ? ToolkitAnswer::Answered : ToolkitAnswer::Failed;
}

} // namespace

SimApplicationPage::SimApplicationPage(SimCard& card, Prompter& prompter)
    : ToolkitCommandHandler(card), m_prompter(prompter)
{}

SimApplicationPage::~SimApplicationPage()
{
    card().closeCard();
    if (card().toolkitHandler() == this)
        card().setToolkitHandler(nullptr);
}

int SimApplicationPage::refresh()
{
    m_title.clear();
    m_cardType.clear();
    if (!card().reader())
        return static_cast<int>(CardStatus::ReaderInaccessible);
    card().setToolkitHandler(this);
    // The PIN is asked through the page's prompter while the card opens.
    PinPrompt* const previous = card().pinPrompt();
    card().setPinPrompt(&m_prompter);
    const bool opened = startCardOperation(card(), m_prompter, true, false, true, true);
    card().setPinPrompt(previous);
    return opened ? 1 : 0;
}

bool SimApplicationPage::activateSelected()
{
    if (!m_menu || m_selected < 0 || m_selected >= static_cast<int>(m_entries.size()))
        return false;
    return sendMenuSelection(card(), m_entries[static_cast<std::size_t>(m_selected)].id);
}

void SimApplicationPage::takeMenu(ToolkitCommand& command)
{
    m_menu = std::move(command);
    m_entries = choicesOf(*m_menu);
    m_title = m_menu->text;
    m_selected = m_entries.empty() ? -1 : 0;
}

ToolkitAnswer SimApplicationPage::handleToolkitCommand(ToolkitCommand& command)
{
    if (command.decoder) {
        if (m_details.size() >= kDetailsKept)
            m_details.pop_front();
        m_details.push_back(command.decoder->describe());
    }
    switch (command.type) {
    case kDisplayText:
        m_prompter.showToolkitText(QStringLiteral("SIM Aplication Text:\n") + command.text);
        return ToolkitAnswer::Default;
    case kGetInput: {
        const QString prompt =
            QStringLiteral("%1 <%2 - %3 Length>").arg(command.text).arg(command.responseMin).arg(command.responseMax);
        const std::optional<QString> input = m_prompter.inputToolkitText(prompt);
        if (!input)
            return answered(sendTerminalResponse(card(), command, kResultTerminatedByUser));
        return answered(sendTerminalResponse(card(), command, kResultOk, std::nullopt, eightBit(*input)));
    }
    case kSelectItem: {
        const std::optional<uint8_t> item = m_prompter.selectToolkitItem(command.text, choicesOf(command));
        // A cancelled choice is answered with item 0, which no menu uses.
        return answered(sendTerminalResponse(card(), command, kResultOk, item.value_or(0)));
    }
    case kSetUpMenu: {
        // Answered first: the card may follow the answer with its next command at once.
        const ToolkitCommand details{command.number, command.type, command.qualifier, {}, {}, {}, 0, 0,
                                     nullptr,        &card()};
        takeMenu(command);
        return answered(sendTerminalResponse(card(), details, kResultOk));
    }
    default:
        return ToolkitAnswer::Default;
    }
}

} // namespace kestrel
