#include "backup/CardImage.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "BackupCards.h"
#include "ScriptedPrompter.h"
#include "SimBench.h"
#include "base/StringTable.h"
#include "emulator/CardFile.h"
#include "gsm/StatusWords.h"
#include "sim/ProgressSink.h"

using namespace kestrel;
using namespace kestrel::test;
using namespace kestrel::gsm::fid;

namespace {

// The standard card's codes, which an image carries, and the source card's own, which it never may.
const std::string kPin1 = "1234";
const std::string kPin2 = "5678";
const char* const kOwnCodes[] = {"9137", "9246", "31415926", "27182818"};

constexpr uint16_t kUserFiles[] = {kEfAdn,  kEfFdn, kEfExt1,   kEfExt2,    kEfSms,
                                   kEfSmsp, kEfLnd, kEfMsisdn, kEfPlmnSel, kEfFplmn};

class AbortingSink final : public ProgressSink
{
public:
    bool open() override { return true; }
    void close() override {}
    void setCaption(const QString&) override {}
    void setText(const QString&) override {}
    void setPercent(int) override {}
    bool processEvents() override { return ++polls == abortAtPoll; }

    int polls = 0;
    int abortAtPoll = -1;
};

// The standard card with one file's UPDATE condition changed.
emulator::SimCardData updatedBy(uint16_t ef, emulator::AccessLevel level)
{
    return standardCardWith([=](emulator::SimCardData& d) { findFile(d, ef)->access.update = level; });
}

// The standard card with codes of its own.
emulator::SimCardData customerCard()
{
    emulator::SimCardData card = emulator::StandardCard::simCard();
    card.chv1.code = kOwnCodes[0];
    card.chv2.code = kOwnCodes[1];
    card.chv1.unblockCode = kOwnCodes[2];
    card.chv2.unblockCode = kOwnCodes[3];
    return card;
}

class CardImageTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    QString path(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }

    ImageOutcome backUp(SimBench& bench, const char* name, std::string pin = kOwnCodes[0], ProgressSink* sink = nullptr)
    {
        ScriptedPrompter prompter;
        prompter.pins = {pin};
        CardImage image(*bench.sim, prompter, sink);
        const ImageOutcome outcome = image.BackupImage(path(name));
        lastTexts = prompter.texts;
        return outcome;
    }

    // The question before the first UPDATE answered as given.
    ImageOutcome restore(SimBench& bench, const char* name, PromptAnswer answer = PromptAnswer::Yes)
    {
        ScriptedPrompter prompter;
        prompter.pins = {kPin1, kPin2};
        prompter.answers = {answer};
        const ImageOutcome outcome = CardImage(*bench.sim, prompter).RestoreImage(path(name));
        lastTexts = prompter.texts;
        lastQuestions = prompter.questionTexts;
        lastMessages = prompter.messages;
        lastPinPrompts = prompter.pinPrompts;
        return outcome;
    }

    // An image made of card data as it is (no card read), restored onto target.
    ImageOutcome restoreData(const emulator::SimCardData& image, SimBench& target)
    {
        QString error;
        EXPECT_TRUE(emulator::CardFile::save(image, path("data.json"), error)) << error.toStdString();
        return restore(target, "data.json");
    }

    int updates(const SimBench& bench) const { return bench.recorder->count("A0 DC") + bench.recorder->count("A0 D6"); }

    QString lastText() const { return lastTexts.empty() ? QString() : lastTexts.back().text; }

    QTemporaryDir m_dir;
    std::vector<ScriptedPrompter::ShownText> lastTexts;
    std::vector<QString> lastQuestions;
    std::vector<int> lastMessages;
    std::vector<int> lastPinPrompts;
};

// The standard card, codes its own, to an image; the image onto a blank card: every user file the
// same record for record; again onto that card: no UPDATE at all.
TEST_F(CardImageTest, ImageRestoredOntoBlankCardMakesTheUserFilesEqual)
{
    const emulator::SimCardData source = customerCard();
    SimBench from(source);
    const ImageOutcome saved = backUp(from, "image.json");
    ASSERT_TRUE(saved.ok) << lastText().toStdString();
    EXPECT_TRUE(saved.leftOut.empty());
    EXPECT_EQ(from.recorder->count("A0 DC") + from.recorder->count("A0 D6"), 0);

    // No code of the card in the file; the standard card's codes in their place, said so.
    const QByteArray json = fileBytes(path("image.json"));
    for (const char* code : kOwnCodes)
        EXPECT_FALSE(json.contains(QByteArray("\"") + code + "\"")) << code;
    const emulator::CardFileResult loaded = emulator::CardFile::load(path("image.json"));
    ASSERT_TRUE(loaded.ok) << loaded.error.toStdString();
    EXPECT_EQ(loaded.card.chv1.code, kPin1);
    EXPECT_EQ(loaded.card.chv2.code, kPin2);
    EXPECT_EQ(loaded.card.ki, emulator::StandardCard::simCard().ki);
    ASSERT_TRUE(loaded.card.image.has_value());
    EXPECT_NE(loaded.card.image->note.find("PIN1 1234"), std::string::npos);
    EXPECT_EQ(loaded.card.image->iccid.substr(0, 19), emulator::StandardCard::kIccidDigits);
    EXPECT_EQ(loaded.card.files.size(), source.files.size());
    const emulator::SimFile* adn = findFile(loaded.card, kEfAdn);
    ASSERT_NE(adn, nullptr);
    EXPECT_EQ(adn->response.size(), FileInfo::kRawSize);
    EXPECT_EQ(adn->access, findFile(source, kEfAdn)->access);

    emulator::StandardCard::Shape blank;
    blank.blank = true;
    SimBench to(emulator::StandardCard::simCard(blank));
    // No to the question: nothing written, nothing more said.
    SimBench declinedTo(emulator::StandardCard::simCard(blank));
    const ImageOutcome declined = restore(declinedTo, "image.json", PromptAnswer::No);
    EXPECT_FALSE(declined.ok);
    EXPECT_FALSE(declined.shown);
    EXPECT_TRUE(lastTexts.empty() && lastMessages.empty());
    ASSERT_EQ(lastQuestions.size(), 1u);
    EXPECT_TRUE(lastQuestions[0].contains(QLatin1String(" records in ")) &&
                lastQuestions[0].contains(QLatin1String("will be replaced: EF_ADN (")))
        << lastQuestions[0].toStdString();
    EXPECT_EQ(updates(declinedTo), 0);
    EXPECT_EQ(declinedTo.model->data(), to.model->data());

    const ImageOutcome restored = restore(to, "image.json");
    ASSERT_TRUE(restored.ok) << lastText().toStdString();
    EXPECT_FALSE(restored.written.empty());
    EXPECT_EQ(lastQuestions.size(), 1u);
    for (const uint16_t id : kUserFiles)
        EXPECT_EQ(fileData(to.model->data(), id), fileData(source, id)) << std::hex << id;

    to.clearLog();
    const ImageOutcome again = restore(to, "image.json");
    ASSERT_TRUE(again.ok) << lastText().toStdString();
    EXPECT_TRUE(again.written.empty());
    EXPECT_TRUE(lastQuestions.empty());
    EXPECT_EQ(lastMessages, std::vector<int>{strId(sid::TheCardAlreadyHoldsThe_9990)});
    EXPECT_EQ(updates(to), 0);
}

// A card whose files do not match the image's writes nothing, and the message names the file and
// both values.
TEST_F(CardImageTest, RestoreOntoACardWhoseFilesDifferWritesNothing)
{
    // A forbidden network in the last entry of EF_FPLMN.
    SimBench from(standardCardWith([](emulator::SimCardData& d) {
        const uint8_t network[] = {0x62, 0xF2, 0x20};
        std::copy(std::begin(network), std::end(network), findFile(d, kEfFplmn)->data.end() - 3);
    }));
    ASSERT_TRUE(backUp(from, "image.json", kPin1).ok);
    emulator::StandardCard::Shape longNames;
    longNames.nameLength = 16;
    emulator::StandardCard::Shape fewRecords;
    fewRecords.adnRecords = 10;
    struct Case
    {
        const char* what;
        emulator::SimCardData target;
        const char* message;
    };
    const Case cases[] = {
        {"ADN records of 30 bytes", emulator::StandardCard::simCard(longNames),
         "EF_ADN: records of 28 bytes in the image, 30 on this card"},
        {"10 ADN records", emulator::StandardCard::simCard(fewRecords),
         "EF_ADN: 250 records in the image, 10 on this card"},
        {"no EF_SMSP", standardCardWith([](emulator::SimCardData& d) {
             std::erase_if(d.files, [](const emulator::SimFile& f) { return f.id() == kEfSmsp; });
         }),
         "EF_SMSP: in the image, not on this card"},
        {"EF_FPLMN of 6 bytes",
         standardCardWith([](emulator::SimCardData& d) { findFile(d, kEfFplmn)->data.resize(6); }),
         "EF_FPLMN: 12 bytes in the image, 6 on this card"},
        // Files the card does not let us write: refused before EF_ADN, planned first, is written.
        {"EF_MSISDN UPDATE ADM", updatedBy(kEfMsisdn, emulator::AccessLevel::Adm),
         "EF_MSISDN: updated only by the card's issuer (ADM) on this card"},
        {"EF_FPLMN UPDATE NEV", updatedBy(kEfFplmn, emulator::AccessLevel::Never),
         "EF_FPLMN: never updated (NEV) on this card"},
        {"EF_SMS invalidated", standardCardWith([](emulator::SimCardData& d) {
             emulator::SimFile* sms = findFile(d, kEfSms);
             sms->invalidated = true;
             sms->readableWhenInvalidated = false;
         }),
         "EF_SMS: invalidated on this card, and not updatable while invalidated"},
    };
    for (const Case& c : cases) {
        emulator::SimCardData target = c.target;
        // Different from the image everywhere it could be written.
        for (const uint16_t id : kUserFiles) {
            if (emulator::SimFile* f = findFile(target, id))
                std::fill(f->data.begin(), f->data.end(), uint8_t{0x00});
        }
        const emulator::SimCardData before = target;
        SimBench to(target);
        const ImageOutcome outcome = restore(to, "image.json");
        EXPECT_FALSE(outcome.ok) << c.what;
        EXPECT_EQ(updates(to), 0) << c.what;
        EXPECT_TRUE(lastText().contains(QString::fromLatin1(c.message))) << c.what << ": " << lastText().toStdString();
        EXPECT_EQ(to.model->data(), before) << c.what;
    }
}

// Files the card does not let us read are named and left out; the image is still a sound card
// file, and its service table no longer promises them.
TEST_F(CardImageTest, FilesTheCardRefusesAreNamedAndLeftOut)
{
    const emulator::SimCardData source = standardCardWith([](emulator::SimCardData& d) {
        findFile(d, kEfGid1)->access.read = emulator::AccessLevel::Adm;
        findFile(d, kEfPuct)->access.read = emulator::AccessLevel::Chv2; // 98 04 without PIN2
        emulator::SimFile* cbmi = findFile(d, kEfCbmi);
        cbmi->invalidated = true;
        cbmi->readableWhenInvalidated = false;
    });
    SimBench from(source);
    const ImageOutcome outcome = backUp(from, "image.json", kPin1);
    ASSERT_TRUE(outcome.ok) << lastText().toStdString();
    struct Expected
    {
        const char* name;
        const char* reason;
    };
    const Expected expected[] = {
        {"EF_GID1", "its READ access condition is ADM"},
        {"EF_CBMI", "invalidated"},
        {"EF_PUCT", "the card refused it (98 04)"},
    };
    ASSERT_EQ(outcome.leftOut.size(), std::size(expected));
    for (const Expected& e : expected) {
        const auto it = std::find_if(outcome.leftOut.begin(), outcome.leftOut.end(),
                                     [&](const ImageFileLeftOut& f) { return f.name == QLatin1String(e.name); });
        ASSERT_NE(it, outcome.leftOut.end()) << e.name;
        EXPECT_TRUE(it->reason.contains(QLatin1String(e.reason))) << it->reason.toStdString();
        EXPECT_TRUE(lastText().contains(QLatin1String(e.name)));
    }
    const emulator::CardFileResult loaded = emulator::CardFile::load(path("image.json"));
    ASSERT_TRUE(loaded.ok) << loaded.error.toStdString();
    EXPECT_EQ(findFile(loaded.card, kEfGid1), nullptr);
    EXPECT_EQ(loaded.card.files.size(), source.files.size() - 3);
    // GID1 and CBMI are services 15 and 14: switched off in the image, so that a phone or this
    // program reading the virtual card does not look for them.
    SimBench image(loaded.card);
    ScriptedPrompter prompter;
    prompter.pins = {kPin1};
    image.sim->setPinPrompt(&prompter);
    ASSERT_TRUE(image.sim->openCard(true, false, true, false));
    EXPECT_FALSE(image.sim->hasService(gsm::service::kGid1));
    EXPECT_FALSE(image.sim->hasService(gsm::service::kCbmi));
    EXPECT_TRUE(image.sim->hasService(gsm::service::kAdn));
}

// Abort, and a read failure that is no refusal, save no file; an older file stays as it was.
TEST_F(CardImageTest, AbortAndCardFailuresSaveNoFile)
{
    ASSERT_TRUE(writeBytes(path("old.json"), QByteArray("older")));
    {
        SimBench bench;
        AbortingSink sink;
        sink.abortAtPoll = 5;
        EXPECT_FALSE(backUp(bench, "old.json", kPin1, &sink).ok);
        EXPECT_GE(sink.polls, 5);
    }
    {
        SimBench bench;
        // EF_SMS answers every READ RECORD with 6F 00.
        bench.recorder->alter = [&bench](const emulator::Apdu& apdu, emulator::CardResponse& r) {
            if (apdu.ins == 0xB2 && bench.sim->currentEf() == kEfSms)
                r.sw = gsm::sw::kTechnicalProblem;
        };
        EXPECT_FALSE(backUp(bench, "old.json", kPin1).ok);
    }
    EXPECT_EQ(fileBytes(path("old.json")), QByteArray("older"));
}

// PIN2 is asked when a file to write is UPDATE CHV2 on the card, whichever file that is (the
// blank card's restore above writes EF_FDN, UPDATE CHV2).
TEST_F(CardImageTest, Pin2IsAskedWhenTheCardsUpdateConditionIsChv2)
{
    for (const auto& [ef, update, pin2] :
         {std::tuple{kEfAdn, emulator::AccessLevel::Chv2, 1}, std::tuple{kEfFdn, emulator::AccessLevel::Chv1, 0}}) {
        emulator::SimCardData target = updatedBy(ef, update);
        std::fill_n(findFile(target, ef)->data.begin(), 3, uint8_t{0xFF});
        SimBench to(target);
        ASSERT_TRUE(restoreData(emulator::StandardCard::simCard(), to).ok) << lastText().toStdString();
        EXPECT_EQ(std::count(lastPinPrompts.begin(), lastPinPrompts.end(), 2), pin2) << std::hex << ef;
        EXPECT_EQ(fileData(to.model->data(), ef), fileData(emulator::StandardCard::simCard(), ef));
    }
}

// A write the card refuses half-way: the message and the outcome tell the files written whole
// before it and where it stopped.
TEST_F(CardImageTest, AFailedWriteTellsWhatWasWritten)
{
    SimBench to(blankStandardCard());
    int smsUpdates = 0;
    // The third UPDATE RECORD of EF_SMS fails as a card pulled would.
    to.recorder->alter = [&](const emulator::Apdu& apdu, emulator::CardResponse& r) {
        if (apdu.ins == 0xDC && to.sim->currentEf() == kEfSms && ++smsUpdates >= 3)
            r.sw = gsm::sw::kTechnicalProblem;
    };
    const ImageOutcome outcome = restoreData(emulator::StandardCard::simCard(), to);
    EXPECT_FALSE(outcome.ok);
    ASSERT_TRUE(outcome.failedAt.has_value());
    EXPECT_EQ(outcome.failedAt->name + QString::number(outcome.failedAt->recordsWritten), QLatin1String("EF_SMS2"));
    ASSERT_FALSE(outcome.written.empty());
    EXPECT_EQ(outcome.written.front().name, QLatin1String("EF_ADN"));
    for (const char* said : {"Written before the failure: EF_ADN (", "while writing EF_SMS, after 2 of its"})
        EXPECT_TRUE(lastText().contains(QLatin1String(said))) << lastText().toStdString();
}

// Records of the image beyond the card's are judged by what they hold: free ones need no room.
TEST_F(CardImageTest, SpareImageRecordsAreFreeByTheirMeaning)
{
    struct Case
    {
        const char* what;
        uint16_t ef;
        uint8_t fill; // the image's last record: fill, but byte at (from the end when negative) value
        int at;
        uint8_t value;
        bool fits;
    };
    const Case cases[] = {
        {"EF_SMS freed by its status byte, the message left", kEfSms, 0x41, 0, 0x00, true},
        {"EF_SMS read message", kEfSms, 0x41, 0, 0x01, false},
        {"EF_ADN no name, number length 00", kEfAdn, 0xFF, -14, 0x00, true},
        {"EF_ADN a name and no number", kEfAdn, 0xFF, 0, 'A', false},
        {"EF_EXT1 record type 00", kEfExt1, 0x33, 0, 0x00, true},
        {"EF_EXT1 additional data", kEfExt1, 0xFF, 0, 0x02, false},
        {"EF_SMSP one byte set", kEfSmsp, 0xFF, 1, 0x00, false},
    };
    for (const Case& c : cases) {
        emulator::SimCardData image = emulator::StandardCard::simCard();
        emulator::SimFile* file = findFile(image, c.ef);
        const auto length = static_cast<std::size_t>(file->recordLength);
        const auto last = file->data.end() - static_cast<std::ptrdiff_t>(length);
        std::fill(last, file->data.end(), c.fill);
        *(c.at < 0 ? file->data.end() + c.at : last + c.at) = c.value;
        SimBench to(standardCardWith([&](emulator::SimCardData& d) {
            std::vector<uint8_t>& data = findFile(d, c.ef)->data;
            data.resize(data.size() - length);
        }));
        const emulator::SimCardData before = to.model->data();
        const ImageOutcome outcome = restoreData(image, to);
        EXPECT_EQ(outcome.ok, c.fits) << c.what << ": " << lastText().toStdString();
        EXPECT_EQ(updates(to), 0) << c.what;
        EXPECT_EQ(to.model->data(), before) << c.what;
        EXPECT_TRUE(c.fits || lastText().contains(QStringLiteral(": %1 records in the image").arg(file->recordCount())))
            << c.what << ": " << lastText().toStdString();
    }
}

// An image taken under DF_DCS1800 goes to the card's DF_GSM; an ICCID with hex digits costs
// neither the image nor its loading.
TEST_F(CardImageTest, DcsImagesAndHexIccidsAreKept)
{
    emulator::SimCardData dcs = emulator::StandardCard::simCard();
    for (emulator::SimFile& f : dcs.files) {
        if (f.path.size() >= 2 && f.path[1] == kDfGsm)
            f.path[1] = kDfDcs1800;
    }
    std::fill(findFile(dcs, kEfFplmn)->data.begin(), findFile(dcs, kEfFplmn)->data.begin() + 3, uint8_t{0x21});
    SimBench to;
    const ImageOutcome restored = restoreData(dcs, to);
    ASSERT_TRUE(restored.ok) << lastText().toStdString();
    ASSERT_EQ(restored.written.size(), 1u);
    EXPECT_EQ(restored.written[0].name, QLatin1String("EF_FPLMN"));
    EXPECT_EQ(fileData(to.model->data(), kEfFplmn), findFile(dcs, kEfFplmn)->data);

    SimBench from(standardCardWith([](emulator::SimCardData& d) { findFile(d, kEfIccid)->data[9] = 0xCA; }));
    ASSERT_TRUE(backUp(from, "image.json", kPin1).ok) << lastText().toStdString();
    const emulator::CardFileResult loaded = emulator::CardFile::load(path("image.json"));
    ASSERT_TRUE(loaded.ok) << loaded.error.toStdString();
    ASSERT_TRUE(loaded.card.image.has_value());
    EXPECT_EQ(loaded.card.image->iccid.substr(18), "AC");
}

} // namespace
