// The card pulled at every command of every bulk card operation, in turn: each run must end with
// the operation's failure message, leave every record of the card as it was or as the operation
// writes it (dialling numbers with their whole chains), and leave the editor's rows as they were.
// Also: a process killed while saving a .SIM or .DIA file leaves the old file or the new one.

#include <csignal>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "BackupCards.h"
#include "CardRecords.h"
#include "ScriptedPrompter.h"
#include "app/AppState.h"
#include "app/CardOperation.h"
#include "app/SimCheckCommand.h"
#include "backup/BackupFile.h"
#include "backup/BackupOperations.h"
#include "phonebook/PhoneBookFiles.h"
#include "phonebook/PhoneBookModel.h"
#include "sim/DialFiles.h"
#include "sim/NetworkFiles.h"
#include "sim/ProgressSink.h"
#include "sim/SmsFiles.h"
#include "sim/SmsParameters.h"
#include "TempXdg.h"
#include "VirtualClock.h"

using namespace kestrel;
using namespace kestrel::test;
using namespace kestrel::gsm::fid;

namespace {

const std::string kPin1 = "1234";
const std::string kPin2 = "5678";
constexpr int kLinkByte = 27; // the standard card's 28-byte dialling-number records

// The standard card cut to 40 phone book records (a shorter sweep) with EF_EXT1 nearly full:
// eight more 24-digit numbers in records 11-18.
emulator::SimCardData sweepCard()
{
    return standardCardWith([](emulator::SimCardData& d) {
        findFile(d, kEfAdn)->data.resize(40 * 28);
        std::vector<DialEntry> long24;
        for (uint16_t p = 10; p < 18; ++p)
            long24.push_back(entry(p, "Long", digits(20) + std::to_string(1000 + p)));
        putDialEntries(d, long24, 2);
    });
}

// Where the card is neither as it was nor as the operation leaves it: a record (or a transparent
// file) that matches neither, or a dialling-number record whose chain reads neither contact.
std::string tornPlace(const emulator::SimCardData& before, const emulator::SimCardData& after,
                      const emulator::SimCardData& now)
{
    for (std::size_t i = 0; i < now.files.size(); ++i) {
        const emulator::SimFile& f = now.files[i];
        const emulator::SimFile& b = before.files[i];
        const emulator::SimFile& a = after.files[i];
        // An extension record nothing links to may hold anything: the chains are judged below,
        // through the records that link to them.
        if (f.isDirectory() || f.id() == kEfExt1 || f.id() == kEfExt2)
            continue;
        const std::size_t unit = f.recordLength > 0 ? static_cast<std::size_t>(f.recordLength) : f.data.size();
        for (std::size_t at = 0; unit > 0 && at + unit <= f.data.size(); at += unit) {
            auto same = [&](const emulator::SimFile& other) {
                return std::equal(f.data.begin() + at, f.data.begin() + at + unit, other.data.begin() + at);
            };
            if (!same(b) && !same(a))
                return f.name + " record " + std::to_string(at / unit + 1);
        }
    }
    for (const uint16_t id : {kEfAdn, kEfFdn, kEfLnd, kEfMsisdn}) {
        const std::vector<DialEntry> b = decodeDialFile(before, id);
        const std::vector<DialEntry> a = decodeDialFile(after, id);
        const std::vector<DialEntry> n = decodeDialFile(now, id);
        for (std::size_t k = 0; k < n.size(); ++k) {
            if (!sameContact(n[k], b[k]) && !sameContact(n[k], a[k]))
                return "chain of record " + std::to_string(k + 1) + " of " + std::to_string(id);
        }
    }
    return {};
}

// One run of an operation on one card: what it needs besides the card.
struct Pass
{
    Pass(SimBench& b, ScriptedPrompter& p, AppState& a, const QString& f) : bench(b), prompter(p), app(a), folder(f) {}

    SimBench& bench;
    ScriptedPrompter& prompter;
    AppState& app;
    const QString& folder;
    std::unique_ptr<PhoneBookModel> book;
    std::unique_ptr<SimCheckCommand> check;
    std::array<SmsEntry, 99> sms{};
    std::vector<PlmnEntry> plmn;
};

// A bulk operation: the card it starts from, what comes before it (not swept), and the operation.
struct Operation
{
    const char* name;
    emulator::SimCardData (*card)();
    std::function<void(Pass&)> prepare;
    std::function<bool(Pass&)> act;
    // The editor rows the operation must leave as they were when it fails, if it has any.
    std::function<std::vector<DialEntry>(Pass&)> rows;
};

bool inOperation(Pass& r, bool chv2, const std::function<bool()>& work)
{
    OpenFlags open;
    open.chv1 = true;
    open.chv2 = chv2;
    return CardOperation(*r.bench.sim, r.prompter).run(5101, open, work);
}

std::vector<DialEntry> bookRows(Pass& r)
{
    std::vector<DialEntry> rows;
    for (int i = 0; i < r.book->capacity(); ++i) {
        DialEntry e = r.book->entry(i);
        e.modified = 0;
        rows.push_back(e);
    }
    return rows;
}

void prepareBook(Pass& r, DialBook which)
{
    r.book = std::make_unique<PhoneBookModel>(which, r.app, r.prompter);
    ASSERT_TRUE(r.book->readFromCard());
    r.book->entry(0) = entry(0, "Changed", "420777000111", 1);
    r.book->entry(1).valid = 0;
    if (which == DialBook::Adn) {
        r.book->entry(3) = entry(3, "Longer", "98765432109876543210987"); // a new record, then 1 freed
        r.book->entry(12) = entry(12, "Short", "12");                     // gives EF_EXT1 record 4 up
        r.book->entry(20) = entry(20, "New long", "1111122222333334444455555");
    } else {
        r.book->entry(2) = entry(2, "Long", "1111122222333334444455555");
    }
}

const Operation kOperations[] = {
    {"phone book write", sweepCard, [](Pass& r) { prepareBook(r, DialBook::Adn); },
     [](Pass& r) { return r.book->writeToCard(); }, bookRows},
    {"fixed dialling write", sweepCard, [](Pass& r) { prepareBook(r, DialBook::Fdn); },
     [](Pass& r) { return r.book->writeToCard(); }, bookRows},
    {"SMS write",
     sweepCard,
     [](Pass& r) {
         int count = 0;
         ASSERT_TRUE(inOperation(r, false, [&] { return SmsFiles(*r.bench.sim).readSmsList(r.sms, count); }));
         r.sms[0].valid = 0;
         r.sms[5] = r.sms[1];
         r.sms[5].position = 5;
         std::snprintf(r.sms[2].text, sizeof r.sms[2].text, "Changed text");
     },
     [](Pass& r) {
         int count = 0;
         return inOperation(r, false, [&] { return SmsFiles(*r.bench.sim).writeSmsList(r.sms, count); });
     },
     {}},
    {"SMS parameters write",
     sweepCard,
     {},
     [](Pass& r) {
         const SmsParameters written = WriteSmsParameters(*r.bench.sim, &r.prompter, nullptr, "+420603000111", "1 day",
                                                          std::chrono::milliseconds(0));
         if (!written.result && written.messageId() != 0)
             r.prompter.showCardError(written.message());
         return written.result.isOk();
     },
     {}},
    {"network lists write",
     sweepCard,
     {},
     [](Pass& r) {
         const std::vector<PlmnEntry> lists[] = {{{1, 0, 230, 1}, {1, 0, 230, 2}, {1, 0, 262, 7}},
                                                 {{1, 0, 231, 6}, {1, 0, 216, 30}}};
         return inOperation(r, false, [&] {
             NetworkFiles files(*r.bench.sim);
             return files.writePlmnList(lists[0], false) && files.writePlmnList(lists[1], true);
         });
     },
     {}},
    {"restore",
     emulator::StandardCard::simCard,
     [](Pass& r) {
         // The file comes from another card: the sweep card with its long numbers.
         if (QFileInfo::exists(r.folder + QStringLiteral("/source.sim")))
             return;
         VirtualClock clock;
         SimBench source(sweepCard(), nullptr, &clock);
         ScriptedPrompter prompter;
         prompter.pins = {kPin1};
         BackupOperations(*source.sim, prompter, nullptr, BackupPacing::unpaced())
             .BackupCard(r.folder + QStringLiteral("/source.sim"));
     },
     [](Pass& r) {
         BackupOperations operations(*r.bench.sim, r.prompter, nullptr, BackupPacing::unpaced());
         return operations.RestoreCard(r.folder + QStringLiteral("/source.sim"), RestoreChoice{}).ok;
     },
     {}},
    {"repair",
     [] {
         return standardCardWith([](emulator::SimCardData& d) {
             fileRecord(d, kEfAdn, 7)[kLinkByte] = 0x20;
             fileRecord(d, kEfFdn, 2)[kLinkByte] = 0x00;
             fileRecord(d, kEfExt1, 6)[0] = 0x02; // lost extension record
         });
     },
     [](Pass& r) {
         r.check = std::make_unique<SimCheckCommand>(*r.bench.sim, r.prompter);
         ASSERT_TRUE(r.check->check());
         ASSERT_TRUE(r.check->errorsFound());
     },
     [](Pass& r) { return r.check->repair(); },
     {}},
};

int commandsSent(const RecordingIcc& recorder)
{
    return static_cast<int>(
        std::count_if(recorder.log.begin(), recorder.log.end(), [](const std::string& l) { return l != "ATR"; }));
}

class FaultSweepTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        kestrel::test::useTemporaryXdg(m_dir);
        m_app = std::make_unique<AppState>(
            std::make_unique<QSettings>(m_dir.filePath(QStringLiteral("kestrel.ini")), QSettings::IniFormat));
        m_app->settings().confirm = 0;
    }

    // Runs the operation on a fresh card pulled at command pullAt (-1: never); fills sent with the
    // commands sent before the operation and in all.
    bool runOnce(const Operation& op, int pullAt, emulator::SimCardData& after, std::string& failure,
                 std::pair<int, int>* sent = nullptr)
    {
        emulator::FaultPlan plan;
        plan.pullAtCommand = pullAt;
        VirtualClock clock;
        SimBench bench(op.card(), &plan, &clock);
        ScriptedPrompter prompter;
        prompter.pins = {kPin1, kPin2, kPin1, kPin2};
        m_app->useSimCard(bench.sim.get());
        const QString folder = m_dir.path();
        Pass r(bench, prompter, *m_app, folder);
        if (op.prepare)
            op.prepare(r);
        const emulator::SimCardData before = bench.model->data();
        const std::vector<DialEntry> rows = op.rows ? op.rows(r) : std::vector<DialEntry>{};
        const int prepared = commandsSent(*bench.recorder);
        const bool ok = op.act(r);
        if (sent)
            *sent = {prepared, commandsSent(*bench.recorder)};
        const emulator::SimCardData& now = bench.model->data();
        if (pullAt < 0) {
            after = now;
            failure = ok ? std::string() : "fails without a fault";
        } else if (const std::string torn = tornPlace(before, after, now); !torn.empty()) {
            failure = "torn: " + torn;
        } else if (ok && now != after) {
            failure = "reports success with the card unfinished";
        } else if (!ok && prompter.errors.empty() && prompter.messages.empty()) {
            failure = "fails without a message";
        } else if (!ok && op.rows) {
            std::vector<DialEntry> kept = op.rows(r);
            for (std::size_t k = 0; k < rows.size(); ++k) {
                if (!sameContact(rows[k], kept[k]))
                    failure = "editor row " + std::to_string(k) + " changed";
            }
        }
        m_app->useSimCard(nullptr);
        return ok;
    }

    QTemporaryDir m_dir;
    std::unique_ptr<AppState> m_app;
};

} // namespace

TEST_F(FaultSweepTest, CardPulledAtEveryCommandOfEveryBulkOperation)
{
    int runs = 0;
    int unsafe = 0;
    for (const Operation& op : kOperations) {
        SCOPED_TRACE(op.name);
        emulator::SimCardData after;
        std::string failure;
        std::pair<int, int> sent;
        ASSERT_TRUE(runOnce(op, -1, after, failure, &sent)) << failure;
        ASSERT_GT(sent.second, sent.first);
        for (int k = sent.first + 1; k <= sent.second; ++k) {
            runOnce(op, k, after, failure);
            ++runs;
            unsafe += failure.empty() ? 0 : 1;
            EXPECT_EQ(failure, "") << "pulled at command " << k << " of " << sent.second;
            failure.clear();
        }
    }
    std::printf("[ sweep    ] %d runs with the card pulled, %d safe, %d not\n", runs, runs - unsafe, unsafe);
    EXPECT_GT(runs, 500);
}

// A save killed at any moment leaves the old file or the new one, never a torn one.
TEST_F(FaultSweepTest, KilledSaveLeavesTheOldOrTheNewFile)
{
    auto old = std::make_unique<BackupContents>();
    auto fresh = std::make_unique<BackupContents>();
    for (std::size_t k = 0; k < 250; ++k) {
        fresh->phoneBook[k] =
            entry(static_cast<uint16_t>(k), "Someone with a long name", "4206021112223334445556667", 1);
    }
    fresh->phoneBookCount = 250;
    const QString sim = m_dir.filePath(QStringLiteral("kill.sim"));
    const QString scratch = m_dir.filePath(QStringLiteral("fresh.sim"));
    ASSERT_TRUE(saveBackupFile(sim, *old).isOk());
    ASSERT_TRUE(saveBackupFile(scratch, *fresh).isOk());
    const QByteArray oldBytes = fileBytes(sim);
    const QByteArray newBytes = fileBytes(scratch);

    // The .DIA file of a phone book window, saved over and over by the child.
    ScriptedPrompter quiet;
    PhoneBookModel book(DialBook::Adn, *m_app, quiet);
    book.setCapacity(250);
    for (int k = 0; k < 250; ++k)
        book.entry(k) = entry(static_cast<uint16_t>(k), "Name", "123456789");
    const QString dia = m_dir.filePath(QStringLiteral("kill.dia"));
    ASSERT_TRUE(PhoneBookFiles(book).saveFile(dia, 1, 250));
    const QByteArray diaFull = fileBytes(dia);
    ASSERT_TRUE(PhoneBookFiles(book).saveFile(dia, 1, 1));
    const QByteArray diaOne = fileBytes(dia);

    for (int delayUs = 0; delayUs <= 30000; delayUs += 1000) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int i = 0;; ++i) {
                saveBackupFile(sim, i % 2 ? *old : *fresh);
                PhoneBookFiles(book).saveFile(dia, 1, i % 2 ? 1 : 250);
            }
        }
        usleep(static_cast<useconds_t>(delayUs));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        const QByteArray simNow = fileBytes(sim);
        const QByteArray diaNow = fileBytes(dia);
        EXPECT_TRUE(simNow == oldBytes || simNow == newBytes) << delayUs << " us: " << simNow.size() << " bytes";
        EXPECT_TRUE(diaNow == diaFull || diaNow == diaOne) << delayUs << " us: " << diaNow.size() << " bytes";
    }
}

// From its 30th command on the card answers with NULL bytes only. Abort in the progress window
// ends the wait (146) at once; without it the command time limit does (105), after 30 s of the
// line's virtual time.
TEST_F(FaultSweepTest, AbortEndsTheWaitForACardThatNeverAnswers)
{
    class Window final : public ProgressSink
    {
    public:
        Window(VirtualClock& clock, bool abort) : m_clock(clock), m_abort(abort), m_since(clock.now()) {}
        bool open() override { return true; }
        void close() override {}
        void setCaption(const QString&) override {}
        void setText(const QString&) override {}
        void setPercent(int) override {}
        // Abort is pressed once the card has kept the reader waiting for two seconds.
        bool processEvents() override { return m_abort && m_clock.now() - m_since > std::chrono::seconds(2); }
        void start() { m_since = m_clock.now(); }

    private:
        VirtualClock& m_clock;
        bool m_abort;
        emulator::SerialFace::TimePoint m_since;
    };
    for (const bool abort : {true, false}) {
        SCOPED_TRACE(abort ? "Abort" : "no Abort");
        emulator::FaultPlan plan;
        plan.nullsFromCommand = 30;
        VirtualClock clock;
        SimBench bench(sweepCard(), &plan, &clock);
        Window window(clock, abort);
        ScriptedPrompter prompter;
        prompter.pins = {kPin1};
        std::vector<DialEntry> entries(250);
        OpenFlags open;
        open.chv1 = true;
        CardOperation operation(*bench.sim, prompter, &window);
        const auto started = clock.now();
        EXPECT_FALSE(operation.run(5100, open, [&] {
            window.start();
            DialListSize size;
            return DialFiles(*bench.sim).readDialList(kEfAdn, entries, size);
        }));
        const auto waited = clock.now() - started;
        EXPECT_EQ(operation.failureStatus(), abort ? CardStatus::CancelledByUser : CardStatus::StatusError);
        if (abort) {
            EXPECT_LT(waited, std::chrono::seconds(5));
        } else {
            EXPECT_GE(waited, std::chrono::seconds(30));
        }
    }
}
