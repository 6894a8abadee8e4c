#include "cli/CliCommands.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include "CliRun.h"

using namespace kestrel::cli;

namespace {

using CliRun = kestrel::test::CliOutput;

CliRun run(const QStringList& args)
{
    return kestrel::test::runCliCommand(args);
}

QStringList words(const char* text)
{
    return kestrel::test::cliWords(QString::fromUtf8(text));
}

// "Alice", +420123 in a 28-byte record: 14 alpha bytes, L=4, TON/NPI 0x90, digits, no CCP/ext.
const QString kAliceRecord = QStringLiteral("416C696365FFFFFFFFFFFFFFFFFF"
                                            "0490241032FFFFFFFFFFFFFF"
                                            "FFFF");

// 45 digits: pieces are made from the end of the number, so extension 1 holds digits 41-45 and
// ends the chain, extension 2 holds digits 21-40 and points to 1, and the record points to 2.
const QString k45Digits = QStringLiteral("123456789012345678901234567890123456789012345");
const QString kExt1 = QStringLiteral("02032143F5FFFFFFFFFFFFFFFF");
const QString kExt2 = QStringLiteral("020A214365870921436587090"
                                     "1");
const QString k45Record = QStringLiteral("0B8021436587092143658709FF02");

} // namespace

TEST(Cli, EncodeAdnWithoutExtension)
{
    const CliRun r =
        run({QStringLiteral("encode"), QStringLiteral("adn"), QStringLiteral("--record-length"), QStringLiteral("28"),
             QStringLiteral("--name"), QStringLiteral("Alice"), QStringLiteral("--number"), QStringLiteral("+420123")});
    ASSERT_EQ(r.code, kExitOk) << r.err.toStdString();
    EXPECT_EQ(r.object().value(QStringLiteral("record")).toString(), kAliceRecord);
    EXPECT_TRUE(r.object().value(QStringLiteral("ext")).toArray().isEmpty());
}

TEST(Cli, EncodeAdnLinksExtensionsFromOne)
{
    const CliRun r =
        run({QStringLiteral("encode"), QStringLiteral("adn"), QStringLiteral("--record-length"), QStringLiteral("14"),
             QStringLiteral("--name"), QString(), QStringLiteral("--number"), k45Digits});
    ASSERT_EQ(r.code, kExitOk) << r.err.toStdString();
    const QJsonArray ext = r.object().value(QStringLiteral("ext")).toArray();
    ASSERT_EQ(ext.size(), 2);
    EXPECT_EQ(ext[0].toString(), kExt1);
    EXPECT_EQ(ext[1].toString(), kExt2);
    EXPECT_EQ(r.object().value(QStringLiteral("record")).toString(), k45Record);
}

TEST(Cli, DecodeAdnFollowsTheExtensionFile)
{
    const CliRun r = run({QStringLiteral("decode"), QStringLiteral("adn"), k45Record, QStringLiteral("--ext"),
                          kExt1 + QLatin1Char(' ') + kExt2});
    ASSERT_EQ(r.code, kExitOk) << r.err.toStdString();
    const QJsonObject o = r.object();
    EXPECT_EQ(o.value(QStringLiteral("valid")).toBool(), true);
    EXPECT_EQ(o.value(QStringLiteral("position")).toInt(), 0);
    EXPECT_EQ(o.value(QStringLiteral("number")).toString(), k45Digits);
    EXPECT_EQ(o.value(QStringLiteral("ton")).toInt(), 0);
    EXPECT_EQ(o.value(QStringLiteral("ccpId")).toInt(), 0xFF);
    EXPECT_EQ(o.value(QStringLiteral("extId")).toInt(), 2);
}

TEST(Cli, DecodeAdnRecords)
{
    const CliRun r = run({QStringLiteral("decode"), QStringLiteral("adn"), kAliceRecord});
    ASSERT_EQ(r.code, kExitOk) << r.err.toStdString();
    EXPECT_EQ(r.object().value(QStringLiteral("name")).toString(), QStringLiteral("Alice"));
    EXPECT_EQ(r.object().value(QStringLiteral("number")).toString(), QStringLiteral("420123"));
    EXPECT_EQ(r.object().value(QStringLiteral("ton")).toInt(), 1);

    // GSM 0x7B is a-umlaut and 0x7D n with tilde: both reach the JSON as they are (names are
    // Unicode in memory, whatever a code page holds).
    const CliRun letters =
        run({QStringLiteral("decode"), QStringLiteral("adn"), QStringLiteral("7B7D0180FFFFFFFFFFFFFFFFFFFFFFFF")});
    ASSERT_EQ(letters.code, kExitOk) << letters.err.toStdString();
    EXPECT_EQ(letters.object().value(QStringLiteral("name")).toString(), QString(QChar(0xE4)) + QChar(0xF1));
    EXPECT_EQ(letters.object().value(QStringLiteral("number")).toString(), QString());
}

TEST(Cli, EncodeAdnFoldsAccentsThroughTheCodePage)
{
    const CliRun r =
        run({QStringLiteral("encode"), QStringLiteral("adn"), QStringLiteral("--record-length"), QStringLiteral("19"),
             QStringLiteral("--name"), QStringLiteral("Černý"), QStringLiteral("--number"), QStringLiteral("1")});
    ASSERT_EQ(r.code, kExitOk) << r.err.toStdString();
    EXPECT_EQ(r.object().value(QStringLiteral("record")).toString(), QStringLiteral("4365726E79"
                                                                                    "0280F1FFFFFFFFFFFFFFFFFF"
                                                                                    "FFFF"));
}

TEST(Cli, PlmnRoundTripWithOperatorNames)
{
    CliRun r = run(words("encode plmn --size 12 234-01 262-07 310-220"));
    ASSERT_EQ(r.code, kExitOk) << r.err.toStdString();
    const QString file = r.object().value(QStringLiteral("file")).toString();
    EXPECT_EQ(file, QStringLiteral("32F41062F27013F002FFFFFF"));

    r = run({QStringLiteral("decode"), QStringLiteral("plmn"), file});
    ASSERT_EQ(r.code, kExitOk) << r.err.toStdString();
    const QJsonArray list = r.array();
    ASSERT_EQ(list.size(), 4);
    EXPECT_EQ(list[0].toObject().value(QStringLiteral("mcc")).toInt(), 234);
    EXPECT_EQ(list[0].toObject().value(QStringLiteral("mnc")).toInt(), 1);
    EXPECT_EQ(list[1].toObject().value(QStringLiteral("operator")).toString(), QStringLiteral("VIAG Interkom - D"));
    // 310-220 keeps only two MNC digits on the card: 310-20 has no operator.
    EXPECT_EQ(list[2].toObject().value(QStringLiteral("mnc")).toInt(), 20);
    EXPECT_TRUE(list[2].toObject().value(QStringLiteral("operator")).isNull());
    EXPECT_FALSE(list[3].toObject().value(QStringLiteral("used")).toBool());
}

TEST(Cli, SmsRoundTrip)
{
    CliRun r = run({QStringLiteral("encode"), QStringLiteral("sms"), QStringLiteral("--status"),
                    QStringLiteral("ToBeSent"), QStringLiteral("--sc"), QStringLiteral("+420603052000"),
                    QStringLiteral("--number"), QStringLiteral("+420777123456"), QStringLiteral("--when"),
                    QStringLiteral("7 days"), QStringLiteral("--text"), QStringLiteral("Hello @ Kestrel")});
    ASSERT_EQ(r.code, kExitOk) << r.err.toStdString();
    const QString record = r.object().value(QStringLiteral("record")).toString();
    EXPECT_EQ(record.size(), 176 * 2);
    // Status 07, SC length 7 with TON/NPI 0x90, SMS-SUBMIT with relative validity, TP-MR FF,
    // 12 destination digits with TON/NPI 0x90.
    EXPECT_TRUE(record.startsWith(QStringLiteral("070790246030500200"
                                                 "11FF0C90")))
        << record.toStdString();

    r = run({QStringLiteral("decode"), QStringLiteral("sms"), record});
    ASSERT_EQ(r.code, kExitOk) << r.err.toStdString();
    const QJsonObject o = r.object();
    EXPECT_EQ(o.value(QStringLiteral("status")).toString(), QStringLiteral("ToBeSent"));
    EXPECT_EQ(o.value(QStringLiteral("text")).toString(), QStringLiteral("Hello @ Kestrel"));
    EXPECT_EQ(o.value(QStringLiteral("scNumber")).toString(), QStringLiteral("420603052000"));
    EXPECT_EQ(o.value(QStringLiteral("scTon")).toInt(), 1);
    EXPECT_EQ(o.value(QStringLiteral("number")).toString(), QStringLiteral("420777123456"));
    EXPECT_EQ(o.value(QStringLiteral("when")).toString(), QStringLiteral("7 days"));
    EXPECT_EQ(o.value(QStringLiteral("messageRef")).toInt(), 0xFF);
}

TEST(Cli, SmsThatDoesNotFitIsRefused)
{
    const QString digits = QStringLiteral("12345678901234567890");
    const QStringList base = {QStringLiteral("encode"),   QStringLiteral("sms"),
                              QStringLiteral("--status"), QStringLiteral("Sent"),
                              QStringLiteral("--sc"),     digits,
                              QStringLiteral("--number"), digits,
                              QStringLiteral("--when"),   QStringLiteral("01.01.03 10:00"),
                              QStringLiteral("--text"),   QString(160, u'x')};
    CliRun r = run(base);
    EXPECT_EQ(r.code, kExitFailed);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(r.err.contains(QStringLiteral("177"))) << r.err.toStdString();

    r = run(base + QStringList{QStringLiteral("--record-length"), QStringLiteral("177")});
    EXPECT_EQ(r.code, kExitOk) << r.err.toStdString();

    r = run({QStringLiteral("encode"), QStringLiteral("sms"), QStringLiteral("--status"), QStringLiteral("Sent"),
             QStringLiteral("--text"), QString(161, u'x')});
    EXPECT_EQ(r.code, kExitFailed);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Message is too long"))) << r.err.toStdString();
}

TEST(Cli, UsageErrors)
{
    const char* const cases[] = {
        "",
        "frobnicate",
        "decode",
        "decode adn",
        "decode adn 12345",
        "decode adn 0011",
        "decode adn 00112233445566778899AABBCCDD --ext 0011",
        "decode adn 00112233445566778899AABBCCDD --bogus 1",
        "decode sms XYZ",
        "encode adn --record-length 13 --name a --number 1",
        "encode adn --record-length 28 --name a --number +1+2",
        "encode adn --record-length 28 --name a",
        "encode sms --status Lost --text hi",
        "encode sms --status Sent --text hi --when soon",
        "encode sms --status Sent --text hi --number 123456789012345678901",
        "encode plmn --size 3 234-01 262-07",
        "encode plmn --size 6 23401",
        "encode plmn 234-01",
    };
    for (const char* c : cases) {
        const CliRun r = run(words(c));
        EXPECT_EQ(r.code, kExitUsage) << c;
        EXPECT_FALSE(r.err.isEmpty()) << c;
        EXPECT_TRUE(r.out.isEmpty()) << c;
    }
}
