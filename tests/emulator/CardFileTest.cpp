#include "emulator/CardFile.h"

#include <functional>

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include "ApduSession.h"
#include "emulator/SimCardModel.h"
#include "emulator/StandardCard.h"

using namespace kestrel::emulator;
using kestrel::test::runSession;
using kestrel::test::send;

namespace {

const std::string kVerifyPin1 = "A0 20 00 01 08 31323334FFFFFFFF";
const std::string kVerifyPin2 = "A0 20 00 02 08 35363738FFFFFFFF";

const SimFile& fileAt(const SimCardData& card, std::vector<uint16_t> path)
{
    for (const SimFile& f : card.files) {
        if (f.path == path)
            return f;
    }
    static const SimFile none;
    ADD_FAILURE() << "no file " << formatPath(path);
    return none;
}

class CardFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath(QStringLiteral("card.json"));
        QString error;
        ASSERT_TRUE(CardFile::save(StandardCard::simCard(), path, error)) << error.toStdString();
    }

    std::unique_ptr<SimCardModel> open()
    {
        QString error;
        auto card = SimCardModel::fromFile(path, error);
        EXPECT_TRUE(card) << error.toStdString();
        if (card)
            card->powerOn();
        return card;
    }

    SimCardData reload()
    {
        const CardFileResult r = CardFile::load(path);
        EXPECT_TRUE(r.ok) << r.error.toStdString();
        return r.card;
    }

    QTemporaryDir dir;
    QString path;
};

TEST_F(CardFileTest, RoundTripKeepsEveryByte)
{
    for (const SimCardData& card : {StandardCard::simCard(), StandardCard::telephoneCard()}) {
        const CardFileResult r = CardFile::fromJson(CardFile::toJson(card));
        ASSERT_TRUE(r.ok) << r.error.toStdString();
        EXPECT_TRUE(r.card == card);
    }
    EXPECT_TRUE(reload() == StandardCard::simCard());
}

TEST_F(CardFileTest, FaultOptionsSurviveEverySave)
{
    // A card without faults writes none of their fields.
    EXPECT_FALSE(CardFile::toJson(StandardCard::simCard()).contains("AtCommand"));
    SimCardData planned = StandardCard::simCard();
    planned.options.faults = {4, 2, 0x6A82, 3, 9};
    QString error;
    ASSERT_TRUE(CardFile::save(planned, path, error)) << error.toStdString();
    EXPECT_TRUE(reload().options.faults == planned.options.faults);
    // The card saving a change of its own keeps them.
    auto card = open();
    ASSERT_TRUE(card);
    send(*card, kVerifyPin1);
    send(*card, "A0 24 00 01 10 31323334FFFFFFFF 34333231FFFFFFFF");
    const SimCardData saved = reload();
    EXPECT_NE(saved.chv1.code, planned.chv1.code);
    EXPECT_TRUE(saved.options.faults == planned.options.faults);
}

TEST_F(CardFileTest, EveryChangeIsSavedAtOnce)
{
    const std::string entry = "5461786904FFFFFFFFFFFFFFFFFF 04 81 21 43 F5 FFFFFFFFFFFFFFFFFF";
    auto card = open();
    ASSERT_TRUE(card);
    runSession(*card, {
                          {kVerifyPin1, 0x9000},
                          {"A0 A4 00 00 02 7F10", 0x9F22},
                          {"A0 A4 00 00 02 6F3A", 0x9F0F},
                          {"A0 DC 05 04 1C " + entry, 0x9000},
                      });
    EXPECT_EQ(fileAt(reload(), {0x3F00, 0x7F10, 0x6F3A}).data, fileAt(card->data(), {0x3F00, 0x7F10, 0x6F3A}).data);
    runSession(*card, {
                          {"A0 A4 00 00 02 6F44", 0x9F0F},
                          {"A0 DC 00 03 1C " + entry, 0x9000},
                          {kVerifyPin2, 0x9000},
                          {"A0 A4 00 00 02 6F3A", 0x9F0F},
                          {"A0 04 00 00 00", 0x9000},
                          {"A0 A4 00 00 02 7F20", 0x9F22},
                          {"A0 A4 00 00 02 6F39", 0x9F0F},
                          {"A0 32 00 00 03 000010", 0x9F06},
                          {"A0 A4 00 00 02 6F30", 0x9F0F},
                          {"A0 D6 00 00 03 13F010", 0x9000},
                      });
    const SimCardData saved = reload();
    EXPECT_TRUE(saved == card->data());
    EXPECT_TRUE(fileAt(saved, {0x3F00, 0x7F10, 0x6F3A}).invalidated);
    EXPECT_EQ(fileAt(saved, {0x3F00, 0x7F20, 0x6F39}).data[2], 42 + 16);
    EXPECT_EQ(kestrel::test::toSpacedHex(std::span(fileAt(saved, {0x3F00, 0x7F10, 0x6F44}).data).first(28)),
              kestrel::test::toSpacedHex(kestrel::test::hexBytes(entry)));
}

TEST_F(CardFileTest, CountersAndCodesSurviveAReload)
{
    {
        auto card = open();
        ASSERT_TRUE(card);
        runSession(*card, {
                              {"A0 20 00 01 08 30303030FFFFFFFF", 0x9804},
                              {"A0 2C 00 02 10 3030303030303030 31313131FFFFFFFF", 0x9804},
                              {"A0 24 00 02 10 35363738FFFFFFFF 39393939FFFFFFFF", 0x9000},
                          });
    }
    SimCardData saved = reload();
    EXPECT_EQ(saved.chv1.attemptsLeft, 2);
    EXPECT_EQ(saved.chv2.unblockAttemptsLeft, 9);
    EXPECT_EQ(saved.chv2.code, "9999");
    {
        auto card = open();
        ASSERT_TRUE(card);
        runSession(*card, {{kVerifyPin1, 0x9000}, {"A0 26 00 01 08 31323334FFFFFFFF", 0x9000}});
    }
    saved = reload();
    EXPECT_EQ(saved.chv1.attemptsLeft, 3);
    EXPECT_FALSE(saved.chv1.enabled);
}

TEST_F(CardFileTest, FailedSaveLeavesCardAndFileAsTheyWere)
{
    const QString sub = dir.filePath(QStringLiteral("gone"));
    ASSERT_TRUE(QDir().mkpath(sub));
    const QString lost = sub + QStringLiteral("/card.json");
    QString error;
    ASSERT_TRUE(CardFile::save(StandardCard::simCard(), lost, error));
    auto card = SimCardModel::fromFile(lost, error);
    ASSERT_TRUE(card);
    card->powerOn();
    ASSERT_TRUE(QDir(sub).removeRecursively());
    const SimCardData before = card->data();
    runSession(*card, {
                          {kVerifyPin1, 0x9000},
                          {"A0 A4 00 00 02 7F10", 0x9F22},
                          {"A0 A4 00 00 02 6F3A", 0x9F0F},
                          {"A0 DC 01 04 1C " + std::string(56, 'F'), 0x9240},
                          {"A0 20 00 02 08 30303030FFFFFFFF", 0x9240},
                      });
    EXPECT_FALSE(card->lastSaveError().isEmpty());
    EXPECT_EQ(fileAt(card->data(), {0x3F00, 0x7F10, 0x6F3A}).data, fileAt(before, {0x3F00, 0x7F10, 0x6F3A}).data);
    // The wrong code still counts even though the file could not take it.
    EXPECT_EQ(card->data().chv2.attemptsLeft, 2);
}

TEST_F(CardFileTest, InMemoryCardWritesNothing)
{
    SimCardModel card(StandardCard::simCard());
    card.powerOn();
    runSession(card, {{kVerifyPin1, 0x9000},
                      {"A0 A4 00 00 02 7F10", 0x9F22},
                      {"A0 A4 00 00 02 6F3A", 0x9F0F},
                      {"A0 DC 01 04 1C " + std::string(56, 'F'), 0x9000}});
    EXPECT_TRUE(card.path().isEmpty());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("card.json")});
}

TEST_F(CardFileTest, MissingFileNamesThePath)
{
    const CardFileResult r = CardFile::load(dir.filePath(QStringLiteral("none.json")));
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.error.contains(QStringLiteral("none.json")));
}

// ---- broken files ------------------------------------------------------------------------------

QJsonObject standardJson()
{
    return QJsonDocument::fromJson(CardFile::toJson(StandardCard::simCard())).object();
}

// Applies change to the file object with the given path.
QJsonObject withFile(const QString& path, const std::function<void(QJsonObject&)>& change)
{
    QJsonObject root = standardJson();
    QJsonArray files = root.value(QStringLiteral("files")).toArray();
    for (qsizetype i = 0; i < files.size(); ++i) {
        QJsonObject f = files[i].toObject();
        if (f.value(QStringLiteral("path")).toString() == path) {
            change(f);
            files[i] = f;
        }
    }
    root.insert(QStringLiteral("files"), files);
    return root;
}

QJsonObject withField(const QString& key, const QJsonValue& value)
{
    QJsonObject root = standardJson();
    if (value.isUndefined())
        root.remove(key);
    else
        root.insert(key, value);
    return root;
}

QJsonObject withChv(const QString& key, const QJsonValue& value)
{
    QJsonObject root = standardJson();
    QJsonObject chv = root.value(QStringLiteral("chv1")).toObject();
    chv.insert(key, value);
    root.insert(QStringLiteral("chv1"), chv);
    return root;
}

QByteArray json(const QJsonObject& o)
{
    return QJsonDocument(o).toJson();
}

TEST(CardFileBroken, EveryBrokenFileIsRefusedWithAClearMessage)
{
    const QString adn = QStringLiteral("3F00/7F10/6F3A");
    const QString iccid = QStringLiteral("3F00/2FE2");
    const QJsonValue missing(QJsonValue::Undefined);
    struct Case
    {
        const char* name;
        QByteArray text;
        const char* message; // part of the expected error
    };
    QJsonObject telephone = QJsonDocument::fromJson(CardFile::toJson(StandardCard::telephoneCard())).object();
    telephone.insert(QStringLiteral("memory"), QStringLiteral("00112233"));
    QJsonObject duplicate = standardJson();
    QJsonArray files = duplicate.value(QStringLiteral("files")).toArray();
    files.append(files[1]);
    duplicate.insert(QStringLiteral("files"), files);
    QJsonObject orphan = standardJson();
    files = orphan.value(QStringLiteral("files")).toArray();
    for (qsizetype i = 0; i < files.size(); ++i) {
        if (files[i].toObject().value(QStringLiteral("path")).toString() == QLatin1String("3F00/7F10"))
            files.removeAt(i--); // DF_TELECOM, before its EFs
    }
    orphan.insert(QStringLiteral("files"), files);
    QJsonObject noMf = standardJson();
    files = noMf.value(QStringLiteral("files")).toArray();
    files.removeAt(0);
    noMf.insert(QStringLiteral("files"), files);

    const Case cases[] = {
        {"not JSON", "{ \"format\": ", "not valid JSON"},
        {"not an object", "[1, 2]", "not a JSON object"},
        {"wrong format", json(withField(QStringLiteral("format"), QStringLiteral("x"))), "format"},
        {"newer version", json(withField(QStringLiteral("version"), 2)), "\"version\""},
        {"no kind", json(withField(QStringLiteral("kind"), missing)), "\"kind\" is missing"},
        {"unknown kind", json(withField(QStringLiteral("kind"), QStringLiteral("usim"))), "usim"},
        {"no files", json(withField(QStringLiteral("files"), missing)), "\"files\" is missing"},
        {"files not a list", json(withField(QStringLiteral("files"), 3)), "not a list"},
        {"short ki", json(withField(QStringLiteral("ki"), QStringLiteral("0011"))), "\"ki\" is 2 bytes"},
        {"odd hex", json(withField(QStringLiteral("atr"), QStringLiteral("3B9"))), "odd number of hex digits"},
        {"no ATR", json(withField(QStringLiteral("atr"), QStringLiteral("11"))), "answer to reset"},
        {"memory size", json(withField(QStringLiteral("memorySize"), 70000)), "outside 0 to 65535"},
        {"attempts", json(withChv(QStringLiteral("attemptsLeft"), 4)), "chv1: the field \"attemptsLeft\" is 4"},
        {"attempts fraction", json(withChv(QStringLiteral("attemptsLeft"), 1.5)), "not a whole number"},
        {"letters in code", json(withChv(QStringLiteral("code"), QStringLiteral("12a4"))),
         "chv1: the code is not 4 to 8 digits"},
        {"enabled not bool", json(withChv(QStringLiteral("enabled"), QStringLiteral("yes"))), "not true or false"},
        {"record length mismatch",
         json(withFile(adn,
                       [](QJsonObject& f) {
                           QJsonArray r = f.value(QStringLiteral("records")).toArray();
                           r[1] = r[1].toString().left(54);
                           f.insert(QStringLiteral("records"), r);
                       })),
         "3F00/7F10/6F3A): record 2 is 27 bytes, the record length is 28"},
        {"odd record hex",
         json(withFile(adn,
                       [](QJsonObject& f) {
                           QJsonArray r = f.value(QStringLiteral("records")).toArray();
                           r[0] = r[0].toString().left(55);
                           f.insert(QStringLiteral("records"), r);
                       })),
         "record 1 has an odd number of hex digits"},
        {"not hex",
         json(withFile(
             iccid, [](QJsonObject& f) { f.insert(QStringLiteral("data"), QStringLiteral("98240021436587092G13")); })),
         "not a hex digit"},
        {"size beyond bound", json(withFile(iccid, [](QJsonObject& f) { f.insert(QStringLiteral("size"), 40000); })),
         "outside 1 to 32767"},
        {"size and data differ", json(withFile(iccid, [](QJsonObject& f) { f.insert(QStringLiteral("size"), 11); })),
         "the data is 10 bytes, the size is 11"},
        {"record length beyond bound",
         json(withFile(adn, [](QJsonObject& f) { f.insert(QStringLiteral("recordLength"), 300); })),
         "outside 1 to 255"},
        {"no records", json(withFile(adn, [](QJsonObject& f) { f.insert(QStringLiteral("records"), QJsonArray()); })),
         "0 records"},
        {"unknown structure",
         json(withFile(adn, [](QJsonObject& f) { f.insert(QStringLiteral("structure"), QStringLiteral("ring")); })),
         "ring"},
        {"unknown access",
         json(withFile(adn,
                       [](QJsonObject& f) {
                           QJsonObject a = f.value(QStringLiteral("access")).toObject();
                           a.insert(QStringLiteral("update"), QStringLiteral("PIN"));
                           f.insert(QStringLiteral("access"), a);
                       })),
         "access condition \"update\" is \"PIN\""},
        {"missing access",
         json(withFile(adn,
                       [](QJsonObject& f) {
                           QJsonObject a = f.value(QStringLiteral("access")).toObject();
                           a.remove(QStringLiteral("increase"));
                           f.insert(QStringLiteral("access"), a);
                       })),
         "\"increase\" is missing"},
        {"id differs from path",
         json(withFile(adn, [](QJsonObject& f) { f.insert(QStringLiteral("id"), QStringLiteral("6F3B")); })),
         "last file id"},
        {"bad path",
         json(withFile(adn, [](QJsonObject& f) { f.insert(QStringLiteral("path"), QStringLiteral("3F00/7F1/6F3A")); })),
         "four hex digits"},
        {"duplicate path", json(duplicate), "appears twice"},
        {"EF without its DF", json(orphan), "directory is not listed before it"},
        {"no MF", json(noMf), "the first file is not the MF"},
        {"short telephone card", json(telephone), "the memory is 4 bytes"},
        {"fault at command 0",
         json(withField(QStringLiteral("options"), QJsonObject{{QStringLiteral("pullAtCommand"), 0}})),
         "options: the field \"pullAtCommand\" is not a command number"},
        {"fault status word",
         json(
             withField(QStringLiteral("options"), QJsonObject{{QStringLiteral("wrongStatus"), QStringLiteral("6F0")}})),
         "\"wrongStatus\" is not a status word"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CardFileResult r = CardFile::fromJson(c.text);
        EXPECT_FALSE(r.ok);
        EXPECT_TRUE(r.error.contains(QString::fromUtf8(c.message))) << r.error.toStdString();
        // A message never repeats a code.
        EXPECT_FALSE(r.error.contains(QStringLiteral("1234")));
        EXPECT_FALSE(r.error.contains(QStringLiteral("12345678")));
    }
}

TEST(CardFileBroken, SimCardModelRefusesABrokenFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("broken.json"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("{\"format\": \"kestrel-sim-card\", \"version\": 1}");
    f.close();
    QString error;
    EXPECT_FALSE(SimCardModel::fromFile(path, error));
    EXPECT_TRUE(error.contains(QStringLiteral("broken.json")));
    EXPECT_TRUE(error.contains(QStringLiteral("\"kind\" is missing")));
}

} // namespace
