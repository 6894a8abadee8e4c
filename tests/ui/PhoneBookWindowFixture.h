#pragma once

// The phone book window tests' fixture: a test editor host, windows it opens, rows to click and
// cells to read, a card file to read from and write to.

#include "ui/phonebook/CFdnEdDlg.h"
#include "ui/phonebook/CSezEdDlg.h"

#include <cstring>
#include <tuple>
#include <vector>

#include <QCheckBox>
#include <QFileDialog>
#include <QClipboard>
#include <QHeaderView>
#include <QJsonArray>
#include <QJsonObject>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "CliRun.h"
#include "GuiTest.h"
#include "ModalScript.h"
#include "TestEditorHost.h"
#include "base/StringTable.h"
#include "codec/PcText.h"
#include "emulator/CardFile.h"
#include "emulator/StandardCard.h"
#include "phonebook/DialClipboard.h"
#include "ui/EditorListDriver.h"
#include "ui/phonebook/PhoneBookHooks.h"

namespace kestrel {

using test::child;
using test::ModalScript;
using test::TestEditorHost;

inline constexpr uint16_t kEfAdn = 0x6F3A;

// What a card write keeps of an entry: its record, name, digits and type of number.
using Kept = std::tuple<int, QString, QString, int>;

inline std::vector<Kept> keptEntries(const PhoneBookModel& model)
{
    std::vector<Kept> kept;
    for (int row = 0; row < model.capacity(); ++row) {
        const DialEntry& e = model.entry(row);
        if (e.valid != 0)
            kept.emplace_back(e.position, pcTextToUnicode(e.name), QString::fromLatin1(e.number), e.ton);
    }
    std::sort(kept.begin(), kept.end());
    return kept;
}

inline std::vector<Kept> keptEntries(const QJsonArray& list)
{
    std::vector<Kept> kept;
    for (const QJsonValue& v : list) {
        const QJsonObject o = v.toObject();
        kept.emplace_back(o.value(QLatin1String("position")).toInt(), o.value(QLatin1String("name")).toString(),
                          o.value(QLatin1String("number")).toString(), o.value(QLatin1String("ton")).toInt());
    }
    std::sort(kept.begin(), kept.end());
    return kept;
}

inline void putEntry(PhoneBookModel& model, int row, const char* pcName, const char* number, uint8_t ton)
{
    DialEntry& e = model.entry(row);
    e.valid = 1;
    std::strncpy(e.name, pcName, sizeof e.name - 1);
    std::strncpy(e.number, number, sizeof e.number - 1);
    e.ton = ton;
}

class PhoneBookWindowTest : public test::GuiTest
{
protected:
    void SetUp() override
    {
        test::GuiTest::SetUp();
        host = std::make_unique<TestEditorHost>(tempPath(QStringLiteral("settings.ini")));
    }

    // A card file from the standard card (changed by f), opened as the host's reader.
    template <class F>
    void useCard(F f)
    {
        emulator::SimCardData data = emulator::StandardCard::simCard();
        f(data);
        cardPath = tempPath(QStringLiteral("card.json"));
        QString error;
        ASSERT_TRUE(emulator::CardFile::save(data, cardPath, error)) << error.toStdString();
        ASSERT_EQ(host->app.openReader(QStringLiteral("VIRTUAL:") + cardPath), CardStatus::Ok);
        host->app.createSimCard();
        host->prompts.pins = {std::string("1234")};
    }
    void useCard()
    {
        useCard([](emulator::SimCardData&) {});
    }

    template <class W>
    W* open(int number, int readMode)
    {
        auto* w = new W(*host);
        windows.emplace_back(w);
        w->create(number, readMode);
        return w;
    }

    static QString cell(PhoneBookWindow* w, int row, int column)
    {
        QAbstractItemModel* m = w->list()->model();
        return m->data(m->index(row, column)).toString();
    }

    static void clickRow(PhoneBookWindow* w, int row, Qt::KeyboardModifiers keys = Qt::NoModifier)
    {
        QTreeView* list = w->list();
        const QRect rect = list->visualRect(list->model()->index(row, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, keys, rect.center());
    }

    static std::vector<int> viewRows(PhoneBookWindow* w)
    {
        std::vector<int> rows;
        for (const QModelIndex& i : w->list()->selectionModel()->selectedRows())
            rows.push_back(i.row());
        std::sort(rows.begin(), rows.end());
        return rows;
    }

    static void fillEditDialog(QWidget* dialog, const QString& name, const QString& number)
    {
        child<QLineEdit>(dialog, "name")->setText(name);
        child<QLineEdit>(dialog, "number")->setText(number);
        child<QPushButton>(dialog, "okButton")->click();
    }

    void TearDown() override
    {
        for (auto& w : windows)
            if (w)
                w->closeWithoutAsking();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        windows.clear();
    }

    std::unique_ptr<TestEditorHost> host;
    std::vector<QPointer<PhoneBookWindow>> windows;
    QString cardPath;
};

} // namespace kestrel
