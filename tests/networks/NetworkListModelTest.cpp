#include "networks/NetworkListModel.h"

#include <gtest/gtest.h>

#include "ScriptedPrompter.h"
#include "SimBench.h"
#include "networks/SelectNetworkForm.h"

using namespace kestrel;

namespace {

PlmnEntry used(uint32_t mcc, uint32_t mnc, uint8_t modified = 0)
{
    return PlmnEntry{1, modified, mcc, mnc};
}

// The model over the standard card (PIN1 1234), whose EF_FPLMN has four slots holding 230-03.
struct NetworkBench
{
    explicit NetworkBench(bool forbidden = true) : model(*bench.sim, prompter, nullptr, forbidden)
    {
        prompter.pins = {std::string("1234")};
    }

    std::vector<uint8_t> fileBytes(uint16_t id) const { return test::findFile(bench.model->data(), id)->data; }
    // The card answers every command with instruction ins with 98 04.
    void refuse(uint8_t ins)
    {
        bench.recorder->alter = [ins](const emulator::Apdu& apdu, emulator::CardResponse& r) {
            if (apdu.ins == ins) {
                r.data.clear();
                r.sw = 0x9804;
            }
        };
    }

    test::SimBench bench;
    test::ScriptedPrompter prompter;
    NetworkListModel model;
};

} // namespace

TEST(NetworkListModel, LinesNumberEveryEntryAndNameKnownNetworks)
{
    NetworkBench b;
    b.model.setEntries({PlmnEntry{}, used(262, 7), used(262, 99, 1), used(310, 220), PlmnEntry{0, 1, 262, 7}});
    EXPECT_EQ(
        b.model.lines(),
        (QStringList{QStringLiteral("1"), QStringLiteral("2\t262-07\tVIAG Interkom - D"), QStringLiteral("3*\t262-99"),
                     QStringLiteral("4\t310-220\tWestern Wireless Corporation - USA"), QStringLiteral("5")}));
    // Copy takes the used entries only; print every line, under its heading and tab stops.
    EXPECT_EQ(b.model.copyText(), QStringLiteral("2\t262-07\tVIAG Interkom - D\r\n3*\t262-99\r\n"
                                                 "4\t310-220\tWestern Wireless Corporation - USA\r\n"));
    EXPECT_TRUE(b.model.printText().startsWith(QStringLiteral("1\r\n2\t262-07")));
    EXPECT_TRUE(b.model.printText().endsWith(QStringLiteral("USA\r\n5\r\n")));
    EXPECT_EQ(b.model.printHeadingId(), 6273);
    EXPECT_EQ(NetworkListModel::printTabStops(), (QList<int>{400, 700, 1100, 1400, 1700}));
    b.model.setEntries({PlmnEntry{}});
    EXPECT_TRUE(b.model.copyText().isEmpty());
}

TEST(NetworkListModel, ButtonsFollowTheListAndTheSelection)
{
    struct Case
    {
        std::vector<PlmnEntry> list;
        int selected;
        bool write, edit, remove;
    } const cases[] = {
        {{}, -1, false, false, false},           {{}, 0, false, false, false},
        {{PlmnEntry{}}, -1, true, false, false}, {{PlmnEntry{}}, 0, true, true, false},
        {{used(230, 3)}, 0, true, true, true},   {{used(230, 3)}, 1, true, false, false},
    };
    for (const Case& c : cases) {
        NetworkBench b;
        b.model.setEntries(c.list);
        const NetworkListModel::Buttons buttons = b.model.buttons(c.selected);
        EXPECT_EQ(buttons.write, c.write) << c.list.size() << " " << c.selected;
        EXPECT_EQ(buttons.deleteAll, c.write);
        EXPECT_EQ(buttons.edit, c.edit);
        EXPECT_EQ(buttons.remove, c.remove);
    }
}

TEST(NetworkListModel, FieldsAreReadAsUnsignedNumbers)
{
    struct Case
    {
        const char* text;
        bool number;
        uint32_t value;
    } const cases[] = {
        {"228", true, 228}, {" 007x", true, 7}, {"+5", true, 5},
        {"-5", false, 9},   {"abc", false, 9},  {"", false, 9},
        {" ", false, 9},    {"x1", false, 9},   {"99999999999", true, 4294967295U},
    };
    for (const Case& c : cases) {
        uint32_t value = 9;
        EXPECT_EQ(NetworkListModel::readNumberField(QString::fromLatin1(c.text), value), c.number) << c.text;
        EXPECT_EQ(value, c.value) << c.text;
    }

    // An edit keeps the code whose field is no number, and always makes the entry used and modified.
    NetworkBench b;
    b.model.setEntries({PlmnEntry{0, 0, 262, 7}, PlmnEntry{}});
    EXPECT_EQ(b.model.mccField(0), QString());
    ASSERT_TRUE(b.model.applyEdit(0, QStringLiteral("x"), QStringLiteral("2")));
    EXPECT_EQ(b.model.line(0), QStringLiteral("1*\t262-02\tMannesmann Mobilfunk GmbH - D"));
    EXPECT_EQ(b.model.mccField(0), QStringLiteral("262"));
    EXPECT_EQ(b.model.mncField(0), QStringLiteral("02"));
    EXPECT_FALSE(b.model.applyEdit(2, QStringLiteral("1"), QStringLiteral("1")));
    EXPECT_FALSE(b.model.removeEntry(1)); // already free
    EXPECT_EQ(b.model.line(1), QStringLiteral("2"));
}

TEST(NetworkListModel, DeletedEntriesAreWrittenFreeAndTheMarksCleared)
{
    NetworkBench b;
    ASSERT_TRUE(b.model.readFromCard());
    ASSERT_EQ(b.model.count(), 4);
    EXPECT_EQ(b.model.line(0), QStringLiteral("1\t230-03"));
    ASSERT_TRUE(b.model.applyEdit(2, QStringLiteral("228"), QStringLiteral("1")));
    ASSERT_TRUE(b.model.removeEntry(0));
    EXPECT_EQ(b.model.lines(), (QStringList{QStringLiteral("1"), QStringLiteral("2"),
                                            QStringLiteral("3*\t228-01\tSwisscom AG - CH"), QStringLiteral("4")}));
    ASSERT_TRUE(b.model.writeToCard());
    EXPECT_EQ(b.fileBytes(gsm::fid::kEfFplmn),
              (std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x22, 0xF8, 0x10, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(b.model.line(2), QStringLiteral("3\t228-01\tSwisscom AG - CH"));
    EXPECT_TRUE(b.prompter.errors.empty());

    // Delete All frees every slot; the preferred list is another file.
    b.model.removeAll();
    ASSERT_TRUE(b.model.writeToCard());
    EXPECT_EQ(b.fileBytes(gsm::fid::kEfFplmn), std::vector<uint8_t>(12, 0xFF));
    NetworkBench preferred(false);
    ASSERT_TRUE(preferred.model.readFromCard());
    EXPECT_EQ(preferred.model.count(), 8);
    EXPECT_EQ(preferred.model.captionId(), 9670);
}

TEST(NetworkListModel, CardFailuresAreShownAndLeaveNoStaleList)
{
    NetworkBench b;
    ASSERT_TRUE(b.model.readFromCard());
    ASSERT_TRUE(b.model.removeEntry(0));

    // A refused UPDATE BINARY: the error is shown, and the marks still go.
    b.refuse(0xD6);
    EXPECT_FALSE(b.model.writeToCard());
    ASSERT_EQ(b.prompter.errors.size(), 1U);
    EXPECT_TRUE(b.prompter.errors[0].startsWith(QStringLiteral("Communication error:\r\n")));
    EXPECT_EQ(b.model.line(0), QStringLiteral("1"));
    EXPECT_EQ(b.model.entries()[0].modified, 0);

    // A refused READ BINARY leaves the list empty, so nothing stale can be written back.
    b.refuse(0xB0);
    EXPECT_FALSE(b.model.readFromCard());
    EXPECT_EQ(b.prompter.errors.size(), 2U);
    EXPECT_EQ(b.model.count(), 0);
    EXPECT_FALSE(b.model.buttons(-1).write);
}

TEST(SelectNetworkForm, FieldsSelectTheOperatorAndTheOperatorFillsTheFields)
{
    const QStringList& texts = SelectNetworkForm::operatorTexts();
    QStringList once = texts;
    EXPECT_EQ(once.removeDuplicates(), 0);
    EXPECT_GT(texts.size(), 200);
    EXPECT_LT(texts.size(), 233); // the names the table holds more than once are listed once
    for (qsizetype i = 1; i < texts.size(); ++i)
        EXPECT_LT(texts[i - 1].compare(texts[i], Qt::CaseInsensitive), 0) << texts[i].toStdString();

    struct Case
    {
        const char* mcc;
        const char* mnc;
        const char* selected; // nullptr: none
    } const cases[] = {
        {"228", "1", "Swisscom AG - CH"},
        {"228", "01", "Swisscom AG - CH"},
        {"250", "7", "BM Telecom Ltd. - RUS"},
        {"310", "240", "Western Wireless Corporation - USA"},
        {"262", "99", nullptr},
        {"x", "1", nullptr},
        {"228", "", nullptr},
        {"0", "0", nullptr},
    };
    for (const Case& c : cases) {
        SelectNetworkForm form(QString::fromLatin1(c.mcc), QString::fromLatin1(c.mnc));
        EXPECT_EQ(form.selected() < 0 ? QString() : texts[form.selected()],
                  c.selected ? QString::fromLatin1(c.selected) : QString())
            << c.mcc << "-" << c.mnc;
    }

    // A name gives the codes of its first row; a name sharing its codes with an earlier row stays chosen.
    SelectNetworkForm form;
    form.chooseOperator(static_cast<int>(texts.indexOf(QStringLiteral("Western Wireless Corporation - USA"))));
    EXPECT_EQ(std::make_pair(form.mcc(), form.mnc()), std::make_pair(QStringLiteral("310"), QStringLiteral("220")));
    const int smarts = static_cast<int>(texts.indexOf(QStringLiteral("ZAO SMARTS - RUS")));
    form.chooseOperator(smarts);
    EXPECT_EQ(std::make_pair(form.mcc(), form.mnc()), std::make_pair(QStringLiteral("250"), QStringLiteral("07")));
    EXPECT_EQ(form.selected(), smarts);
    form.chooseOperator(-1);
    EXPECT_EQ(form.selected(), smarts);
}
