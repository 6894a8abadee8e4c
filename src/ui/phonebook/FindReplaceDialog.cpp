#include "ui/phonebook/FindReplaceDialog.h"

#include <algorithm>

#include <QButtonGroup>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "base/StringIds.h"

namespace kestrel {

namespace {

constexpr int kMaxText = 200;

} // namespace

FindReplaceDialog::FindReplaceDialog(const FindRequest& initial, Check check, QWidget* parent)
    : QDialog(parent), m_check(std::move(check)), m_find(new QLineEdit(initial.findText.left(kMaxText), this)),
      m_replace(new QLineEdit(initial.replaceText.left(kMaxText), this)), m_fields(new QButtonGroup(this))
{
    setObjectName(QStringLiteral("findReplaceDialog"));
    setWindowTitle(StringTable::text(kFindDialogCaption));
    m_find->setObjectName(QStringLiteral("findText"));
    m_find->setMaxLength(kMaxText);
    m_find->setMinimumWidth(260);
    m_replace->setObjectName(QStringLiteral("replaceText"));
    m_replace->setMaxLength(kMaxText);

    auto* form = new QFormLayout;
    auto* findLabel = new QLabel(StringTable::text(kFindStringLabel), this);
    findLabel->setObjectName(QStringLiteral("findLabel"));
    findLabel->setBuddy(m_find);
    form->addRow(findLabel, m_find);
    auto* replaceLabel = new QLabel(StringTable::text(kReplaceWithLabel), this);
    replaceLabel->setObjectName(QStringLiteral("replaceLabel"));
    replaceLabel->setBuddy(m_replace);
    form->addRow(replaceLabel, m_replace);

    auto* group = new QGroupBox(this);
    group->setObjectName(QStringLiteral("searchFields"));
    auto* groupLayout = new QVBoxLayout(group);
    const struct
    {
        int textId;
        const char* name;
        FindSelector selector;
    } kRadios[] = {
        {kSearchNameLabel, "searchName", FindSelector::Name},
        {kSearchNumberLabel, "searchNumber", FindSelector::Number},
        {kSearchCodeLabel, "searchCode", FindSelector::DialingCode},
        {kSearchEverywhereLabel, "searchEverywhere", FindSelector::Everywhere},
    };
    for (const auto& r : kRadios) {
        auto* radio = new QRadioButton(StringTable::text(r.textId), group);
        radio->setObjectName(QLatin1String(r.name));
        m_fields->addButton(radio, static_cast<int>(r.selector));
        groupLayout->addWidget(radio);
    }
    QAbstractButton* chosen = m_fields->button(initial.selector);
    (chosen ? chosen : m_fields->button(0))->setChecked(true);

    auto* findButton = new QPushButton(StringTable::text(sid::Find_1010), this);
    findButton->setObjectName(QStringLiteral("findButton"));
    findButton->setDefault(true);
    auto* replaceButton = new QPushButton(StringTable::text(sid::Replace_1011), this);
    replaceButton->setObjectName(QStringLiteral("replaceButton"));
    auto* closeButton = new QPushButton(StringTable::text(kFindCloseLabel), this);
    closeButton->setObjectName(QStringLiteral("closeButton"));
    connect(findButton, &QPushButton::clicked, this, [this] { finish(FindAction::Find); });
    connect(replaceButton, &QPushButton::clicked, this, [this] { finish(FindAction::Replace); });
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(findButton);
    buttons->addWidget(replaceButton);
    buttons->addWidget(closeButton);
    buttons->addStretch();

    auto* left = new QVBoxLayout;
    left->addLayout(form);
    left->addWidget(group);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(buttons);
    m_find->selectAll();
    m_find->setFocus();
}

FindRequest FindReplaceDialog::request() const
{
    FindRequest r;
    r.findText = m_find->text();
    r.replaceText = m_replace->text();
    r.selector = std::max(0, m_fields->checkedId());
    return r;
}

void FindReplaceDialog::finish(FindAction action)
{
    if (m_check && !m_check(request()))
        return;
    m_action = action;
    accept();
}

} // namespace kestrel
