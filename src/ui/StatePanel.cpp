#include "ui/StatePanel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QRegularExpression>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/MainCommands.h"
#include "ui/CommandIcons.h"
#include "ui/MainMenus.h"
#include "ui/UiText.h"

namespace kestrel {

namespace {

// The menu text without its mnemonic marks.
QString plainText(int id)
{
    QString text = uiText(id);
    text.remove(QRegularExpression(QStringLiteral("&(?!&)")));
    return text;
}

// The picture of the bar button that does the same, if there is one.
int buttonOf(int id)
{
    switch (id) {
    case CommandId::kEditPhoneBook:
        return CommandId::kEditPhoneBookButton;
    case CommandId::kEditSms:
        return CommandId::kEditSmsButton;
    case CommandId::kBackupCard:
        return CommandId::kSaveFileButton; // into a file
    default:
        return 0;
    }
}

} // namespace

const std::vector<int>& StatePanel::startCommands()
{
    static const std::vector<int> kCommands = {CommandId::kEditPhoneBook, CommandId::kEditSms, CommandId::kBackupCard};
    return kCommands;
}

QWidget* StatePanel::mainArea(QWidget* banner, StatePanel* panel, QWidget* parent)
{
    auto* area = new QWidget(parent);
    area->setObjectName(QStringLiteral("mainArea"));
    area->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    area->setAutoFillBackground(true);
    QPalette grey = area->palette();
    grey.setColor(QPalette::Window, QColor(128, 128, 128));
    area->setPalette(grey);
    auto* row = new QHBoxLayout;
    row->setContentsMargins(24, 0, 24, 0);
    row->addWidget(panel);
    auto* column = new QVBoxLayout(area);
    column->setContentsMargins(0, 0, 0, 16);
    column->addWidget(banner);
    column->addLayout(row);
    column->addStretch();
    return area;
}

StatePanel::StatePanel(std::function<void(int)> run, QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("statePanel"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    QPalette light = palette();
    light.setColor(QPalette::Window, QColor(240, 240, 240));
    light.setColor(QPalette::WindowText, QColor(0, 0, 0));
    setPalette(light);

    auto* layout = new QVBoxLayout(this);
    m_reader = addLine("stateReader");
    m_card = addLine("stateCard");
    m_iccid = addLine("stateIccid");
    m_phase = addLine("statePhase");
    m_pin1 = addLine("statePin1");
    m_last = addLine("stateLast");
    for (QLabel* line : {m_reader, m_card, m_iccid, m_phase, m_pin1, m_last})
        layout->addWidget(line);
    layout->addSpacing(8);
    layout->addWidget(new QLabel(uiText(strId(sid::StartWith_9838)), this));

    auto* buttons = new QHBoxLayout;
    for (const int id : startCommands()) {
        auto* button = new QToolButton(this);
        button->setObjectName(QStringLiteral("start%1").arg(id));
        const QKeySequence keys = acceleratorOf(id);
        const QString text = plainText(id);
        button->setText(keys.isEmpty() ? text : text + QLatin1Char('\n') + keys.toString(QKeySequence::NativeText));
        button->setToolTip(text);
        if (const int picture = buttonOf(id); picture != 0)
            button->setIcon(CommandIcons::icon(picture));
        button->setIconSize(QSize(24, 24));
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setMinimumWidth(120);
        connect(button, &QToolButton::clicked, this, [run, id] { run(id); });
        buttons->addWidget(button);
        m_buttons[id] = button;
    }
    buttons->addStretch();
    layout->addLayout(buttons);
}

QLabel* StatePanel::addLine(const char* name)
{
    auto* label = new QLabel(this);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

void StatePanel::showLines(const MainStatus::Lines& lines)
{
    const std::pair<QLabel*, const QString*> rows[] = {
        {m_reader, &lines.reader}, {m_card, &lines.card}, {m_iccid, &lines.iccid},
        {m_phase, &lines.phase},   {m_pin1, &lines.pin1}, {m_last, &lines.last},
    };
    for (const auto& [label, text] : rows) {
        label->setText(*text);
        label->setVisible(!text->isEmpty());
    }
}

void StatePanel::setCommandEnabled(int id, bool enabled)
{
    if (const auto it = m_buttons.find(id); it != m_buttons.end())
        it->second->setEnabled(enabled);
}

} // namespace kestrel
