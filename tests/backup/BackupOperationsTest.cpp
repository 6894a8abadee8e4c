#include "backup/BackupOperations.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "BackupCards.h"
#include "ScriptedPrompter.h"
#include "SimBench.h"
#include "backup/BackupFile.h"
#include "codec/BackupStream.h"
#include "codec/FixedText.h"
#include "sim/ProgressSink.h"

using namespace kestrel;
using namespace kestrel::test;
using namespace kestrel::gsm::fid;

namespace {

// The standard card's codes.
const std::string kPin1 = "1234";
const std::string kPin2 = "5678";

class Sink final : public ProgressSink
{
public:
    bool open() override { return true; }
    void close() override {}
    void setCaption(const QString& c) override { captions.push_back(c); }
    void setText(const QString& t) override { texts.push_back(t); }
    void setPercent(int) override {}
    bool processEvents() override { return ++polls == abortAtPoll; }

    int polls = 0;
    int abortAtPoll = -1;
    std::vector<QString> captions;
    std::vector<QString> texts;
};

class BackupOperationsTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    QString path(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }

    // A backup of the standard card in `name`.
    void backUpStandardCard(const char* name)
    {
        SimBench bench;
        ScriptedPrompter prompter;
        prompter.pins = {kPin1};
        BackupOperations operations(*bench.sim, prompter, nullptr, BackupPacing::unpaced());
        ASSERT_TRUE(operations.BackupCard(path(name)).ok);
    }

    QTemporaryDir m_dir;
};

// The files a restore choice may write, each with the part that writes it.
struct PartFile
{
    bool RestoreChoice::*part;
    uint16_t file;
};
const PartFile kPartFiles[] = {
    {&RestoreChoice::phoneBook, kEfAdn},    {&RestoreChoice::fdn, kEfFdn},
    {&RestoreChoice::sms, kEfSms},          {&RestoreChoice::smsParameters, kEfSmsp},
    {&RestoreChoice::networks, kEfPlmnSel}, {&RestoreChoice::networks, kEfFplmn},
};

RestoreChoice nothingChosen()
{
    RestoreChoice c;
    c.phoneBook = c.fdn = c.sms = c.smsParameters = c.networks = false;
    return c;
}

} // namespace

TEST_F(BackupOperationsTest, BackupHoldsEveryPartOfTheStandardCard)
{
    SimBench bench;
    ScriptedPrompter prompter;
    prompter.pins = {kPin1};
    Sink sink;
    BackupOperations operations(*bench.sim, prompter, &sink, BackupPacing::unpaced());
    const BackupOutcome outcome = operations.BackupCard(path("card.sim"));
    EXPECT_TRUE(outcome.ok);
    EXPECT_EQ(outcome.messageId, 57424);
    EXPECT_EQ(prompter.messages, std::vector<int>{57424});
    EXPECT_EQ(prompter.icons, std::vector<PromptIcon>{PromptIcon::Information});
    EXPECT_TRUE(prompter.errors.empty());
    EXPECT_EQ(prompter.pinPrompts, std::vector<int>{1}); // CHV1 once; the EF_SMSP access reuses it

    const BackupContents& c = operations.contents();
    EXPECT_EQ(c.phoneBookCount, 250);
    EXPECT_EQ(fixedText(c.phoneBook[0].name), "Mother");
    EXPECT_EQ(fixedText(c.phoneBook[3].number), "123456789012345678901234"); // through EF_EXT1
    EXPECT_FALSE(c.phoneBook[4].valid);
    EXPECT_EQ(c.phoneBook[6].position, 6);
    EXPECT_EQ(c.fdnCount, 10);
    EXPECT_EQ(fixedText(c.fdn[0].number), "112");
    EXPECT_EQ(c.smsCount, 20);
    EXPECT_EQ(fixedText(c.sms[1].text), "Your parcel is waiting at the post office.");
    EXPECT_EQ(fixedText(c.sms[3].text), "I will pick it up tomorrow"); // the sent one
    EXPECT_FALSE(c.sms[4].valid);
    EXPECT_EQ(c.serviceCentre, "+420602909909");
    EXPECT_FALSE(c.validity.empty());
    ASSERT_EQ(c.plmn.size(), 8u);
    EXPECT_EQ(c.plmn[1].mcc, 262u);
    EXPECT_FALSE(c.plmn[2].used);
    ASSERT_EQ(c.fplmn.size(), 4u);
    EXPECT_EQ(c.fplmn[0].mnc, 3u);

    // The progress: the backup's caption, then the network steps after the record loops.
    EXPECT_EQ(sink.captions.front(), StringTable::text(5108));
    const auto has = [&](int id) {
        return std::find(sink.texts.begin(), sink.texts.end(), StringTable::text(id)) != sink.texts.end();
    };
    EXPECT_TRUE(has(5009));
    EXPECT_TRUE(has(5019));

    // The file: its first section name and its last, and nothing else than what was read.
    const QByteArray bytes = fileBytes(path("card.sim"));
    EXPECT_TRUE(bytes.startsWith(QByteArray("\x0C"
                                            "SECTION_DIAL")));
    EXPECT_TRUE(bytes.endsWith(QByteArray("\x0B"
                                          "SECTION_END")));
    BackupContents loaded;
    ASSERT_TRUE(loadBackupFile(path("card.sim"), loaded).isOk());
    EXPECT_EQ(writeBackupStream(loaded), writeBackupStream(c));
}

TEST_F(BackupOperationsTest, RestoreOntoABlankCardGivesTheSameBackup)
{
    backUpStandardCard("first.sim");

    SimBench blank(blankStandardCard());
    {
        ScriptedPrompter prompter;
        prompter.pins = {kPin1, kPin2};
        BackupOperations operations(*blank.sim, prompter, nullptr, BackupPacing::unpaced());
        const BackupOutcome outcome = operations.RestoreCard(path("first.sim"), RestoreChoice{});
        EXPECT_TRUE(outcome.ok);
        EXPECT_EQ(outcome.messageId, 57430);
        EXPECT_EQ(prompter.pinPrompts, (std::vector<int>{1, 2}));
        EXPECT_TRUE(prompter.errors.empty());
    }
    // What the card holds now is the standard card's content, record for record.
    const emulator::SimCardData original = emulator::StandardCard::simCard();
    for (const uint16_t id : {kEfAdn, kEfFdn, kEfExt1, kEfExt2, kEfPlmnSel, kEfFplmn})
        EXPECT_EQ(fileData(blank.model->data(), id), fileData(original, id)) << std::hex << id;
    // No code and no other file was written.
    EXPECT_EQ(blank.recorder->count("A0 24"), 0); // CHANGE CHV
    EXPECT_EQ(blank.recorder->count("A0 2C"), 0); // UNBLOCK CHV
    EXPECT_EQ(fileData(blank.model->data(), kEfLnd), fileData(original, kEfLnd));
    EXPECT_EQ(fileData(blank.model->data(), kEfMsisdn), fileData(original, kEfMsisdn));

    {
        ScriptedPrompter prompter;
        prompter.pins = {kPin1};
        BackupOperations operations(*blank.sim, prompter, nullptr, BackupPacing::unpaced());
        ASSERT_TRUE(operations.BackupCard(path("second.sim")).ok);
    }
    EXPECT_EQ(fileBytes(path("second.sim")), fileBytes(path("first.sim")));
}

// Each part alone, and two together: only the chosen files change, and PIN2 is asked only when
// fixed dialling numbers are written.
TEST_F(BackupOperationsTest, RestoreWritesOnlyTheChosenParts)
{
    backUpStandardCard("card.sim");
    const emulator::SimCardData before = blankStandardCard();

    std::vector<RestoreChoice> choices;
    for (const auto member : {&RestoreChoice::phoneBook, &RestoreChoice::fdn, &RestoreChoice::sms,
                              &RestoreChoice::smsParameters, &RestoreChoice::networks}) {
        RestoreChoice c = nothingChosen();
        c.*member = true;
        choices.push_back(c);
    }
    RestoreChoice pair = nothingChosen();
    pair.sms = pair.networks = true;
    choices.push_back(pair);

    for (std::size_t i = 0; i < choices.size(); ++i) {
        SCOPED_TRACE(i);
        const RestoreChoice& choice = choices[i];
        SimBench bench(blankStandardCard());
        ScriptedPrompter prompter;
        prompter.pins = {kPin1, kPin2};
        BackupOperations operations(*bench.sim, prompter, nullptr, BackupPacing::unpaced());
        EXPECT_TRUE(operations.RestoreCard(path("card.sim"), choice).ok);
        EXPECT_EQ(prompter.pinPrompts, choice.fdn ? (std::vector<int>{1, 2}) : std::vector<int>{1});
        for (const PartFile& pf : kPartFiles) {
            const bool changed = fileData(bench.model->data(), pf.file) != fileData(before, pf.file);
            EXPECT_EQ(changed, choice.*pf.part) << std::hex << pf.file;
        }
    }
}

TEST_F(BackupOperationsTest, RestoreChoiceDialogClosedWritesNothing)
{
    backUpStandardCard("card.sim");
    SimBench bench(blankStandardCard());
    ScriptedPrompter prompter;
    BackupOperations operations(*bench.sim, prompter, nullptr, BackupPacing::unpaced());
    int asked = 0;
    const BackupOutcome outcome = operations.RestoreCard(path("card.sim"), [&](const BackupContents& c) {
        ++asked;
        EXPECT_EQ(c.phoneBookCount, 250); // the dialog is shown the file's contents
        return std::optional<RestoreChoice>();
    });
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.messageId, 0);
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_TRUE(bench.recorder->log.empty());
}

// A file without fixed dialling entries (its card had no EF_FDN) asks for no PIN2 and leaves the
// target's EF_FDN alone, even with fixed dialling numbers chosen.
TEST_F(BackupOperationsTest, NoFixedDiallingEntriesAsksNoPin2)
{
    SimBench withoutFdn(standardCardWith([](emulator::SimCardData& data) {
        findFile(data, kEfSst)->data[0] &= 0xCF; // service 3 (FDN) not allocated
    }));
    {
        ScriptedPrompter prompter;
        prompter.pins = {kPin1};
        BackupOperations operations(*withoutFdn.sim, prompter, nullptr, BackupPacing::unpaced());
        ASSERT_TRUE(operations.BackupCard(path("nofdn.sim")).ok);
        EXPECT_EQ(operations.contents().fdnCount, 0);
    }
    BackupContents loaded;
    ASSERT_TRUE(loadBackupFile(path("nofdn.sim"), loaded).isOk());
    EXPECT_EQ(loaded.fdnCount, 0);

    SimBench target;
    ScriptedPrompter prompter;
    prompter.pins = {kPin1, kPin2};
    BackupOperations operations(*target.sim, prompter, nullptr, BackupPacing::unpaced());
    EXPECT_TRUE(operations.RestoreCard(path("nofdn.sim"), RestoreChoice{}).ok);
    EXPECT_EQ(prompter.pinPrompts, std::vector<int>{1});
    EXPECT_EQ(fileData(target.model->data(), kEfFdn), fileData(emulator::StandardCard::simCard(), kEfFdn));
}

// A card without EF_SMS, EF_PLMNsel or EF_SMSP backs up with those parts empty and the others
// whole.
TEST_F(BackupOperationsTest, MissingFilesLeaveTheirPartsEmpty)
{
    struct Case
    {
        const char* name;
        emulator::SimCardData card;
        int smsCount;
        std::size_t plmnCount;
        bool serviceCentre;
    } const cases[] = {
        {"no EF_PLMNsel", standardCardWith([](emulator::SimCardData& data) {
             std::erase_if(data.files, [](const emulator::SimFile& f) { return f.id() == kEfPlmnSel; });
         }),
         20, 0, true},
        {"no SMS services", standardCardWith([](emulator::SimCardData& data) {
             findFile(data, kEfSst)->data[0] &= 0x3F; // service 4 (SMS)
             findFile(data, kEfSst)->data[2] &= 0x3F; // service 12 (SMS parameters)
         }),
         0, 8, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SimBench bench(c.card);
        ScriptedPrompter prompter;
        prompter.pins = {kPin1};
        BackupOperations operations(*bench.sim, prompter, nullptr, BackupPacing::unpaced());
        ASSERT_TRUE(operations.BackupCard(path("card.sim")).ok);
        const BackupContents& contents = operations.contents();
        EXPECT_EQ(contents.smsCount, c.smsCount);
        EXPECT_EQ(contents.plmn.size(), c.plmnCount);
        EXPECT_EQ(contents.serviceCentre.empty(), !c.serviceCentre);
        EXPECT_EQ(contents.phoneBookCount, 250);
        EXPECT_EQ(contents.fdnCount, 10);
        EXPECT_EQ(contents.fplmn.size(), 4u);
    }
}

// A broken file writes nothing to the card: not even the card is opened.
TEST_F(BackupOperationsTest, BrokenFileRestoresNothing)
{
    backUpStandardCard("good.sim");
    const QByteArray good = fileBytes(path("good.sim"));
    const QByteArray fplmnName("\x0D"
                               "SECTION_FPLMN");
    const auto end = good.size() - 12; // "\x0B" "SECTION_END"
    QByteArray renamed = good;
    renamed.replace(fplmnName, QByteArray("\x0D"
                                          "SECTION_FPLMX"));

    struct Case
    {
        const char* name;
        QByteArray bytes; // empty: no file at all
        int message;
    } const cases[] = {
        {"unknown section", renamed, 57427},
        {"ends before SECTION_END", good.left(end), 57428},
        {"cut in the phone book", good.left(300), 57428},
        {"not a backup", QByteArray("\x05hello world"), 57427},
        {"not a backup either", QByteArray("hello world"), 57428},
        {"no file", QByteArray(), 57426},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = path("broken.sim");
        QFile::remove(file);
        if (!c.bytes.isEmpty()) {
            ASSERT_TRUE(writeBytes(file, c.bytes));
        }
        SimBench bench(blankStandardCard());
        ScriptedPrompter prompter;
        BackupOperations operations(*bench.sim, prompter, nullptr, BackupPacing::unpaced());
        const BackupOutcome outcome = operations.RestoreCard(file, RestoreChoice{});
        EXPECT_FALSE(outcome.ok);
        EXPECT_EQ(outcome.messageId, c.message);
        EXPECT_EQ(prompter.messages, std::vector<int>{c.message});
        EXPECT_TRUE(bench.recorder->log.empty());
        EXPECT_EQ(bench.model->data(), blankStandardCard());
    }
}

// Sections in another order, or without SECTION_SMSPAR, restore what they hold.
TEST_F(BackupOperationsTest, FileWithoutSmsParametersRestoresTheRest)
{
    backUpStandardCard("good.sim");
    QByteArray bytes = fileBytes(path("good.sim"));
    const auto from = bytes.indexOf(QByteArray("\x0E"
                                               "SECTION_SMSPAR"));
    const auto to = bytes.indexOf(QByteArray("\x0C"
                                             "SECTION_PLMN"));
    ASSERT_GT(from, 0);
    ASSERT_GT(to, from);
    const QByteArray fdnOnwards = bytes.mid(bytes.indexOf(QByteArray("\x0B"
                                                                     "SECTION_FDN")));
    bytes.remove(from, to - from);
    // The phone book section moved to the end, before SECTION_END.
    const auto dialEnd = bytes.indexOf(QByteArray("\x0B"
                                                  "SECTION_FDN"));
    const QByteArray dial = bytes.left(dialEnd);
    bytes.remove(0, dialEnd);
    bytes.insert(bytes.size() - 12, dial);
    ASSERT_TRUE(writeBytes(path("reordered.sim"), bytes));
    ASSERT_FALSE(fdnOnwards.isEmpty());

    SimBench bench(blankStandardCard());
    ScriptedPrompter prompter;
    prompter.pins = {kPin1, kPin2};
    BackupOperations operations(*bench.sim, prompter, nullptr, BackupPacing::unpaced());
    EXPECT_TRUE(operations.RestoreCard(path("reordered.sim"), RestoreChoice{}).ok);
    const emulator::SimCardData original = emulator::StandardCard::simCard();
    EXPECT_EQ(fileData(bench.model->data(), kEfAdn), fileData(original, kEfAdn));
    EXPECT_EQ(fileData(bench.model->data(), kEfFplmn), fileData(original, kEfFplmn));
    // No parameters in the file: EF_SMSP is not touched (no access of its own at all).
    EXPECT_EQ(fileData(bench.model->data(), kEfSmsp), fileData(blankStandardCard(), kEfSmsp));
    EXPECT_EQ(bench.recorder->count("ATR"), 1);
}

// A card that fails anywhere in the backup, in the card operation or in the EF_SMSP access,
// leaves the file that was there as it was.
TEST_F(BackupOperationsTest, FailingCardKeepsTheOldFile)
{
    const QByteArray old("an older backup");
    emulator::FaultPlan pulledEarly;
    pulledEarly.pullAtCommand = 40; // in the extension files
    emulator::FaultPlan refusedInAdn;
    refusedInAdn.wrongStatusAtCommand = 150;
    emulator::FaultPlan garbledInSms;
    garbledInSms.garbageAtCommand = 330;
    emulator::FaultPlan pulledInSmsp;
    pulledInSmsp.pullAtCommand = 372; // the card operation is over; EF_SMSP's own access
    for (const emulator::FaultPlan* plan : {&pulledEarly, &refusedInAdn, &garbledInSms, &pulledInSmsp}) {
        SCOPED_TRACE(plan->pullAtCommand + plan->wrongStatusAtCommand + plan->garbageAtCommand);
        ASSERT_TRUE(writeBytes(path("card.sim"), old));
        SimBench bench(emulator::StandardCard::simCard(), plan);
        ScriptedPrompter prompter;
        prompter.pins = {kPin1, kPin1};
        BackupOperations operations(*bench.sim, prompter, nullptr, BackupPacing::unpaced());
        const BackupOutcome outcome = operations.BackupCard(path("card.sim"));
        EXPECT_FALSE(outcome.ok);
        EXPECT_EQ(outcome.messageId, 57421);
        ASSERT_FALSE(prompter.messages.empty());
        EXPECT_EQ(prompter.messages.back(), 57421);
        EXPECT_EQ(prompter.icons.back(), PromptIcon::Exclamation);
        EXPECT_EQ(prompter.errors.size(), 1u); // the card's error, before 57421
        EXPECT_EQ(fileBytes(path("card.sim")), old);
        EXPECT_TRUE(operations.contents().phoneBookCount == 0 && operations.contents().plmn.empty());
    }
}

TEST_F(BackupOperationsTest, AbortAndCancelledTarget)
{
    {
        SimBench bench;
        ScriptedPrompter prompter;
        prompter.pins = {kPin1};
        Sink sink;
        sink.abortAtPoll = 20; // in the phone book
        BackupOperations operations(*bench.sim, prompter, &sink, BackupPacing::unpaced());
        EXPECT_EQ(operations.BackupCard(path("aborted.sim")).messageId, 57421);
        ASSERT_EQ(prompter.errors.size(), 1u);
        EXPECT_TRUE(prompter.errors[0].contains(cardStatusMessage(CardStatus::CancelledByUser)));
        EXPECT_FALSE(QFile::exists(path("aborted.sim")));
    }
    {
        SimBench bench;
        ScriptedPrompter prompter;
        prompter.pins = {kPin1};
        BackupOperations operations(*bench.sim, prompter, nullptr, BackupPacing::unpaced());
        int asked = 0;
        const BackupOutcome outcome = operations.BackupCard([&] {
            ++asked;
            return std::optional<QString>();
        });
        EXPECT_EQ(asked, 1); // asked only after the card was read
        EXPECT_FALSE(outcome.ok);
        EXPECT_EQ(outcome.messageId, 0);
        EXPECT_TRUE(prompter.messages.empty());
    }
    {
        // A folder that does not exist: the file cannot be created.
        SimBench bench;
        ScriptedPrompter prompter;
        prompter.pins = {kPin1};
        BackupOperations operations(*bench.sim, prompter, nullptr, BackupPacing::unpaced());
        EXPECT_EQ(operations.BackupCard(path("no/such/folder/card.sim")).messageId, 57422);
    }
}

// Failures while writing: a card with fewer records than the file's used positions (147), a
// refused PIN2, a card pulled in the middle. Each ends with 57429 after the card's error.
TEST_F(BackupOperationsTest, RestoreFailuresEndWith57429)
{
    backUpStandardCard("card.sim");
    struct Case
    {
        const char* name;
        emulator::SimCardData card;
        std::deque<std::optional<std::string>> pins;
        int pullAt;
        const char* error;
    };
    const Case cases[] = {
        {"small phone book",
         standardCardWith([](emulator::SimCardData& d) { findFile(d, kEfAdn)->data.resize(5 * 28, 0xFF); }),
         {kPin1, kPin2},
         -1,
         "Card positions number overflow"},
        {"no PIN2", blankStandardCard(), {kPin1, std::nullopt}, -1, ""},
        {"pulled while writing", blankStandardCard(), {kPin1, kPin2}, 120, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        emulator::FaultPlan plan;
        plan.pullAtCommand = c.pullAt;
        SimBench bench(c.card, &plan);
        ScriptedPrompter prompter;
        prompter.pins = c.pins;
        BackupOperations operations(*bench.sim, prompter, nullptr, BackupPacing::unpaced());
        const BackupOutcome outcome = operations.RestoreCard(path("card.sim"), RestoreChoice{});
        EXPECT_FALSE(outcome.ok);
        EXPECT_EQ(outcome.messageId, 57429);
        EXPECT_EQ(prompter.messages, std::vector<int>{57429});
        ASSERT_EQ(prompter.errors.size(), 1u);
        EXPECT_TRUE(prompter.errors[0].contains(QString::fromLatin1(c.error))) << prompter.errors[0].toStdString();
        // Nothing of the networks was reached.
        EXPECT_EQ(fileData(bench.model->data(), kEfPlmnSel), fileData(c.card, kEfPlmnSel));
    }
}

// A file that cannot go onto the card whole writes nothing at all, and the error names the part:
// a used entry beyond the card's records, messages beyond its EF_SMS, long numbers that do not
// fit its free extension records.
TEST_F(BackupOperationsTest, RestoreThatCannotBeWholeWritesNothing)
{
    backUpStandardCard("card.sim");
    struct Case
    {
        const char* name;
        void (*shrink)(emulator::SimCardData&);
        const char* part;
        CardStatus status;
    };
    const Case cases[] = {
        {"small phone book", [](emulator::SimCardData& d) { findFile(d, kEfAdn)->data.resize(5 * 28); }, "Phone book",
         CardStatus::PositionsOverflow},
        {"no room for the long number",
         [](emulator::SimCardData& d) {
             // One extension record, and EF_MSISDN's number goes on in it.
             emulator::SimFile* ext = findFile(d, kEfExt1);
             ext->data = {0x02, 0x01, 0x21, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
             emulator::SimFile* msisdn = findFile(d, kEfMsisdn);
             msisdn->data[static_cast<std::size_t>(msisdn->recordLength - 1)] = 1;
         },
         "Phone book", CardStatus::ExtensionSpaceOverflow},
        {"fewer SMS records",
         [](emulator::SimCardData& d) {
             emulator::SimFile* sms = findFile(d, kEfSms);
             sms->data.resize(static_cast<std::size_t>(2 * sms->recordLength));
         },
         "SMS messages", CardStatus::PositionsOverflow},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        emulator::SimCardData target = blankStandardCard();
        c.shrink(target);
        SimBench bench(target);
        ScriptedPrompter prompter;
        prompter.pins = {kPin1, kPin2};
        BackupOperations operations(*bench.sim, prompter, nullptr, BackupPacing::unpaced());
        const BackupOutcome outcome = operations.RestoreCard(path("card.sim"), RestoreChoice{});
        EXPECT_EQ(outcome.messageId, 57429);
        EXPECT_EQ(bench.recorder->count("A0 DC"), 0); // no UPDATE RECORD
        EXPECT_EQ(bench.recorder->count("A0 D6"), 0); // no UPDATE BINARY
        EXPECT_EQ(bench.model->data().files, target.files);
        ASSERT_EQ(prompter.errors.size(), 1u);
        const QString& error = prompter.errors[0];
        EXPECT_TRUE(error.contains(cardStatusMessage(c.status))) << error.toStdString();
        EXPECT_TRUE(error.contains(QString::fromLatin1(c.part) + QStringLiteral(" cannot be restored")))
            << error.toStdString();
    }
}

// Fixed dialling in force: EF_ADN is invalidated and cannot be read. The backup keeps everything
// else, says what is missing and why, and restoring the file leaves the target's phone book alone.
TEST_F(BackupOperationsTest, BackupWithFixedDiallingOnSavesTheRestAndSaysSo)
{
    SimBench bench(standardCardWith([](emulator::SimCardData& d) { findFile(d, kEfAdn)->invalidated = true; }));
    ScriptedPrompter prompter;
    prompter.pins = {kPin1};
    BackupOperations operations(*bench.sim, prompter, nullptr, BackupPacing::unpaced());
    const BackupOutcome outcome = operations.BackupCard(path("fdn-on.sim"));
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.messageId, kBackupPartial);
    ASSERT_EQ(operations.skipped().size(), 1u);
    EXPECT_EQ(operations.skipped()[0].status, CardStatus::InaccessibleRecord);
    ASSERT_EQ(prompter.texts.size(), 1u);
    EXPECT_EQ(prompter.texts[0].text, StringTable::text(9401) + QStringLiteral("\nPhone book: ") +
                                          cardStatusMessage(CardStatus::InaccessibleRecord));
    EXPECT_TRUE(std::find(prompter.messages.begin(), prompter.messages.end(), 57424) == prompter.messages.end());

    auto saved = std::make_unique<BackupContents>();
    ASSERT_TRUE(loadBackupFile(path("fdn-on.sim"), *saved).isOk());
    EXPECT_EQ(saved->phoneBookCount, 0);
    EXPECT_EQ(saved->fdnCount, 10);
    EXPECT_EQ(saved->smsCount, 20);
    EXPECT_EQ(saved->plmn.size(), 8u);

    const emulator::SimCardData original = emulator::StandardCard::simCard();
    SimBench target;
    ScriptedPrompter restoring;
    restoring.pins = {kPin1, kPin2};
    BackupOperations restore(*target.sim, restoring, nullptr, BackupPacing::unpaced());
    EXPECT_TRUE(restore.RestoreCard(path("fdn-on.sim"), RestoreChoice{}).ok);
    EXPECT_EQ(fileData(target.model->data(), kEfAdn), fileData(original, kEfAdn));
    EXPECT_EQ(fileData(target.model->data(), kEfExt1), fileData(original, kEfExt1));
}

// A card with UCS2 names, a concatenated UCS2 message, an 8-bit message and a status report: the
// backup says which names and texts it holds with "?", and a restore of it onto the same card
// leaves every record as it was (the file holds less than those records; what it holds is the
// same).
TEST_F(BackupOperationsTest, RestoreOfAModernCardChangesNoRecordTheFileCannotHold)
{
    const emulator::SimCardData original = emulator::StandardCard::simCard({.modernRecords = true});
    SimBench bench(original);
    {
        ScriptedPrompter prompter;
        prompter.pins = {kPin1};
        BackupOperations operations(*bench.sim, prompter, nullptr, BackupPacing::unpaced());
        EXPECT_TRUE(operations.BackupCard(path("modern.sim")).ok);
        // The Greek and the Cyrillic name; the Czech ones and the messages fit Windows-1250.
        ASSERT_EQ(prompter.texts.size(), 1u);
        EXPECT_EQ(prompter.texts[0].text,
                  StringTable::text(kBackupDone) + QStringLiteral("\n\n") + StringTable::text(9910).arg(2));
    }
    bench.clearLog();
    ScriptedPrompter restoring;
    restoring.pins = {kPin2}; // PIN1 is remembered from the backup
    BackupOperations restore(*bench.sim, restoring, nullptr, BackupPacing::unpaced());
    EXPECT_TRUE(restore.RestoreCard(path("modern.sim"), RestoreChoice{}).ok);
    EXPECT_TRUE(restoring.errors.empty());
    for (const uint16_t id : {kEfAdn, kEfFdn, kEfExt1, kEfExt2, kEfSms, kEfSmsp, kEfPlmnSel, kEfFplmn})
        EXPECT_EQ(fileData(bench.model->data(), id), fileData(original, id)) << std::hex << id;
}
