#include "cli/CliCommands.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "CliRun.h"

#include "emulator/CardFile.h"
#include "emulator/StandardCard.h"
#include "TempXdg.h"

using namespace kestrel;

namespace {

using Output = kestrel::test::CliOutput;

class PhoneBookCliTest : public test::CliFixture
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(CliFixture::SetUp());
        m_card = path("card.json");
        ASSERT_TRUE(saveCard(m_card, emulator::StandardCard::simCard()));
    }

    Output run(const QStringList& words) { return kestrel::test::runCliCommand(test::onCardFile(m_card) + words); }

    // The valid entries of the card's phone book as "position name number" lines.
    QStringList cardEntries(bool fdn = false)
    {
        QStringList words{QStringLiteral("phonebook"), QStringLiteral("read"), QStringLiteral("--pin"),
                          QStringLiteral("1234")};
        if (fdn)
            words << QStringLiteral("--fdn");
        const Output out = run(words);
        EXPECT_EQ(out.code, 0) << out.err.toStdString();
        QStringList lines;
        for (const QJsonValue& v : QJsonDocument::fromJson(out.out.toUtf8()).array()) {
            const QJsonObject e = v.toObject();
            lines << QStringLiteral("%1 %2 %3%4")
                         .arg(e.value(QStringLiteral("position")).toInt())
                         .arg(e.value(QStringLiteral("name")).toString(),
                              e.value(QStringLiteral("ton")).toInt() == 1 ? QStringLiteral("+") : QString(),
                              e.value(QStringLiteral("number")).toString());
        }
        return lines;
    }

    QString m_card;
};

TEST_F(PhoneBookCliTest, ExportThenImportIntoAnotherCardGivesTheSamePhoneBook)
{
    const QStringList before = cardEntries();
    ASSERT_FALSE(before.isEmpty());
    const Output exported = run({QStringLiteral("phonebook"), QStringLiteral("export"), path("book.dia"),
                                 QStringLiteral("--pin"), QStringLiteral("1234")});
    ASSERT_EQ(exported.code, 0) << exported.err.toStdString();
    EXPECT_EQ(QJsonDocument::fromJson(exported.out.toUtf8()).object().value(QStringLiteral("entries")).toInt(),
              before.size());

    // A card whose phone book differs: one entry of its own that the import must clear.
    const QString other = path("other.json");
    emulator::SimCardData card = emulator::StandardCard::simCard();
    QString error;
    ASSERT_TRUE(emulator::CardFile::save(card, other, error));
    m_card = other;
    QFile extra(path("extra.dia"));
    ASSERT_TRUE(extra.open(QIODevice::WriteOnly));
    extra.write("200\tStray\t999\r\n");
    extra.close();
    ASSERT_EQ(run({QStringLiteral("phonebook"), QStringLiteral("import"), path("extra.dia"), QStringLiteral("--pin"),
                   QStringLiteral("1234"), QStringLiteral("--yes")})
                  .code,
              0);
    ASSERT_EQ(cardEntries(), QStringList{QStringLiteral("199 Stray 999")});

    const Output imported = run({QStringLiteral("phonebook"), QStringLiteral("import"), path("book.dia"),
                                 QStringLiteral("--pin"), QStringLiteral("1234"), QStringLiteral("--yes")});
    ASSERT_EQ(imported.code, 0) << imported.err.toStdString();
    EXPECT_EQ(cardEntries(), before);
}

TEST_F(PhoneBookCliTest, ImportRefusals)
{
    const QStringList before = cardEntries();
    struct Case
    {
        const char* what;
        QByteArray file;
        QStringList extra;
    };
    const Case cases[] = {
        {"item 0 in the middle of the file", "1\tA\t1\r\n0\tB\t2\r\n", {QStringLiteral("--yes")}},
        {"the write question answered No (no terminal, no --yes)", "1\tA\t1\r\n", {}},
        {"an item number beyond 250", "251\tLast\t1\r\n", {QStringLiteral("--yes")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QFile f(path("in.dia"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(c.file);
        f.close();
        const Output out = run(QStringList{QStringLiteral("phonebook"), QStringLiteral("import"), path("in.dia"),
                                           QStringLiteral("--pin"), QStringLiteral("1234")} +
                               c.extra);
        EXPECT_EQ(out.code, 1);
        EXPECT_EQ(cardEntries(), before);
    }
    const Output missing = run({QStringLiteral("phonebook"), QStringLiteral("import"), path("none.dia"),
                                QStringLiteral("--pin"), QStringLiteral("1234"), QStringLiteral("--yes")});
    EXPECT_EQ(missing.code, 1);
    EXPECT_EQ(run({QStringLiteral("phonebook"), QStringLiteral("export")}).code, 2);
}

// A .DIA name with letters the card's alphabet lacks: their plain letters on the card, or with
// --unicode-names the letters themselves (UCS2), read back exactly.
TEST_F(PhoneBookCliTest, ImportWithUnicodeNamesKeepsTheLetters)
{
    QFile f(path("czech.dia"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("1\t\xC8\x61pek \xD8\xEDha\t603123456\r\n"); // Windows-1250
    f.close();
    for (const bool unicode : {false, true}) {
        QStringList words{QStringLiteral("phonebook"), QStringLiteral("import"), path("czech.dia"),
                          QStringLiteral("--pin"),     QStringLiteral("1234"),   QStringLiteral("--yes")};
        if (unicode)
            words << QStringLiteral("--unicode-names");
        const Output out = run(words);
        ASSERT_EQ(out.code, 0) << out.err.toStdString();
        EXPECT_EQ(cardEntries(), QStringList{unicode ? QStringLiteral("0 Čapek Říha 603123456")
                                                     : QStringLiteral("0 Capek Riha 603123456")});
    }
    EXPECT_EQ(
        run({QStringLiteral("phonebook"), QStringLiteral("export"), path("x.dia"), QStringLiteral("--unicode-names")})
            .code,
        2);
}

// vCard and CSV by extension: an export imports back to the same names and numbers (packed from
// the first record); what a file loses is asked before the write and reported in the JSON.
TEST_F(PhoneBookCliTest, ContactFilesExportImportAndReportLosses)
{
    const auto withoutPositions = [](QStringList lines) {
        for (QString& l : lines)
            l = l.section(u' ', 1);
        return lines;
    };
    const QStringList before = withoutPositions(cardEntries());
    for (const char* name : {"book.vcf", "book.csv"}) {
        SCOPED_TRACE(name);
        const Output exported = run({QStringLiteral("phonebook"), QStringLiteral("export"), path(name),
                                     QStringLiteral("--pin"), QStringLiteral("1234")});
        ASSERT_EQ(exported.code, 0) << exported.err.toStdString();
        EXPECT_EQ(exported.object().value(QStringLiteral("entries")).toInt(), before.size());
        const Output imported = run({QStringLiteral("phonebook"), QStringLiteral("import"), path(name),
                                     QStringLiteral("--pin"), QStringLiteral("1234"), QStringLiteral("--yes")});
        ASSERT_EQ(imported.code, 0) << imported.err.toStdString();
        EXPECT_EQ(imported.object().value(QStringLiteral("dropped")).toArray().size(), 0);
        EXPECT_EQ(withoutPositions(cardEntries()), before);
    }

    QFile f(path("loss.vcf"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Jiří Novák z Horní Dolní\r\nTEL;TYPE=CELL:+420 603 123 456\r\n"
            "TEL;TYPE=WORK:212 345 678 ext. 9\r\nEND:VCARD\r\n");
    f.close();
    const QStringList words{QStringLiteral("phonebook"), QStringLiteral("import"), path("loss.vcf"),
                            QStringLiteral("--pin"), QStringLiteral("1234")};
    const QStringList kept = cardEntries();
    const Output refused = run(words);
    EXPECT_EQ(refused.code, 1);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("is left out"))) << refused.err.toStdString();
    EXPECT_EQ(cardEntries(), kept);

    const Output loaded = run(words + QStringList{QStringLiteral("--yes")});
    ASSERT_EQ(loaded.code, 0) << loaded.err.toStdString();
    const QJsonObject json = loaded.object();
    EXPECT_EQ(json.value(QStringLiteral("format")).toString(), QStringLiteral("vcard"));
    EXPECT_EQ(json.value(QStringLiteral("cut")).toArray().at(0).toObject().value(QStringLiteral("to")).toString(),
              QStringLiteral(u"Jiří Novák z H"));
    EXPECT_EQ(json.value(QStringLiteral("dropped")).toArray().at(0).toObject().value(QStringLiteral("number")),
              QStringLiteral("212 345 678 ext. 9"));
    EXPECT_EQ(cardEntries(), QStringList{QStringLiteral(u"0 Jiri Novak z H +420603123456")});
}

} // namespace
