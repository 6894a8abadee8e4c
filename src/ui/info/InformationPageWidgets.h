#pragma once

#include <functional>

#include <QWidget>

#include "info/SimInformation.h"

class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;

namespace kestrel {

class SimApplicationPage;

// The pages of "Kestrel! - Information About SIM Card", each showing the values it is given.
// Every value is a selectable label with an object name, so a technician can copy it and a test
// can find it.

// CNewInfo1, "Global": ICCID, IMSI, phase, the PIN table (rows pin1, pin2, puk1, puk2; values
// <row>Supported, <row>Limit, pin1Activated) and the call costs.
class GlobalInfoPage final : public QWidget
{
public:
    explicit GlobalInfoPage(QWidget* parent);
    void fill(const GlobalInfo& values);

private:
    QLabel* m_iccid;
    QLabel* m_imsi;
    QLabel* m_phase;
    QLabel* m_supported[4];
    QLabel* m_limit[4];
    QLabel* m_activated;
    QLabel* m_currency;
    QLabel* m_price;
    QLabel* m_sum;
    QLabel* m_credit;
};

// CNewInfo2, "Phone Book and SMS": items possible and name length of EF_ADN and EF_FDN, items of
// EF_SMS.
class CapacityInfoPage final : public QWidget
{
public:
    explicit CapacityInfoPage(QWidget* parent);
    void fill(const CapacityInfo& values);

private:
    QLabel* m_adnItems;
    QLabel* m_adnName;
    QLabel* m_fdnItems;
    QLabel* m_fdnName;
    QLabel* m_smsItems;
};

// CNewInfo3 "Called Numbers" (EF_LND) and CNewInfo4 "Personal Numbers" (EF_MSISDN): the number of
// records, the name length and one row per record (number, name, dialling number; an empty record
// shows its number alone).
class NumberListPage final : public QWidget
{
public:
    explicit NumberListPage(QWidget* parent);
    void fill(const NumberListInfo& values);

private:
    QLabel* m_items;
    QLabel* m_nameLength;
    QTreeWidget* m_numbers;
};

// CNewInfo5, "SIM Application": the card's menu (list 1103, "<id>\ttext"), its title (1117), the
// card type (sid::CardType_1118), and behind "&Details" the element descriptions of the commands received.
// A double-click on an entry calls `activated` with its row.
class SimApplicationInfoPage final : public QWidget
{
public:
    SimApplicationInfoPage(QWidget* parent, std::function<void(int row)> activated);
    // page: null before the page first read the card.
    void fill(const SimApplicationPage* page);

private:
    void showDetails(bool on);

    QLabel* m_title;
    QLabel* m_cardType;
    QListWidget* m_menu;
    QPushButton* m_detailsButton;
    QPlainTextEdit* m_details;
};

} // namespace kestrel
