// Writes the seeds of the fuzz targets that come from the program's own writers: the standard
// virtual card and its card file, the answers it gives to the GetResponse target's commands, its
// EF_SMSP, PLMN lists and a .SIM file from their writers; .DIA files and command sequences for the
// virtual card written after the file layout and the GSM 11.11 command layouts.
//
//   fuzz-seeds <folder>     (the folder that holds CardFile/, GetResponse/, ...: fuzz/corpus)

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QSettings>

#include "FuzzSupport.h"
#include "SelectDriver.h"
#include "app/AppState.h"
#include "backup/BackupFile.h"
#include "codec/BackupStream.h"
#include "codec/FixedText.h"
#include "codec/PlmnCodec.h"
#include "emulator/CardFile.h"
#include "emulator/SimCardModel.h"
#include "emulator/StandardCard.h"

using namespace kestrel;
using namespace kestrel::emulator;

namespace {

QString g_root;

void put(const char* target, const char* name, const QByteArray& bytes)
{
    const QString dir = g_root + QLatin1Char('/') + QString::fromLatin1(target);
    fuzz::check(QDir().mkpath(dir));
    QFile file(dir + QLatin1Char('/') + QString::fromLatin1(name));
    fuzz::check(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size());
}

void put(const char* target, const char* name, const std::vector<uint8_t>& bytes)
{
    put(target, name, QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())));
}

// Hex digits with spaces between as liked.
std::vector<uint8_t> hex(std::string_view text)
{
    std::string digits;
    for (const char c : text)
        if (c != ' ')
            digits.push_back(c);
    const QByteArray bytes = QByteArray::fromHex(QByteArray::fromStdString(digits));
    return {bytes.begin(), bytes.end()};
}

// The standard card's answers, kept in the ScriptedIcc's form.
class RecordingIcc final : public Icc
{
public:
    explicit RecordingIcc(Icc& card) : m_card(card) {}
    std::vector<uint8_t> script;

    bool present() const override { return m_card.present(); }
    std::vector<uint8_t> powerOn() override { return m_card.powerOn(); }
    void powerOff() override { m_card.powerOff(); }
    bool readMemory(std::array<uint8_t, 32>& out) const override { return m_card.readMemory(out); }
    CardResponse process(const Apdu& apdu) override
    {
        const CardResponse r = m_card.process(apdu);
        script.push_back(static_cast<uint8_t>(r.sw >> 8));
        script.push_back(static_cast<uint8_t>(r.sw));
        script.insert(script.end(), r.data.begin(), r.data.end());
        return r;
    }

private:
    Icc& m_card;
};

std::vector<uint8_t> recordedAnswers(const SimCardData& contents)
{
    SimCardModel card(contents);
    RecordingIcc recording(card);
    fuzz::IccReader reader(recording);
    fuzz::driveSelectResponses(reader);
    return recording.script;
}

void cardFiles(const SimCardData& standard)
{
    put("CardFile", "standard-sim.json", CardFile::toJson(standard));
    put("CardFile", "telephone.json", CardFile::toJson(StandardCard::telephoneCard()));
    // The MF, DF_GSM and one file of each structure.
    SimCardData small = standard;
    small.files.clear();
    for (const SimFile& f : standard.files) {
        const std::vector<uint16_t>& p = f.path;
        if (p.size() == 1 || p == std::vector<uint16_t>{0x3F00, 0x2FE2} || p == std::vector<uint16_t>{0x3F00, 0x7F20} ||
            p == std::vector<uint16_t>{0x3F00, 0x7F20, 0x6F39} || p == std::vector<uint16_t>{0x3F00, 0x7F10})
            small.files.push_back(f);
        if (p == std::vector<uint16_t>{0x3F00, 0x7F10, 0x6F42})
            small.files.push_back(f);
    }
    put("CardFile", "small-sim.json", CardFile::toJson(small));
}

void commandSequences()
{
    const char* kVerify = "A0 20 00 01 08 31323334FFFFFFFF ";
    put("CardApdu", "select-read-iccid",
        hex("A0A4000002 3F00  A0C0000022  A0A4000002 2FE2  A0C000000F  A0B000000A  A0F2000016"));
    put("CardApdu", "adn-records",
        hex(std::string(kVerify) + "A0A4000002 7F10  A0A4000002 6F3A  A0C000000F  A0B201041C  A0B202021C  A0B200031C "
                                   "A0DC01041C 4D6F74686572FFFFFFFFFFFFFFFF 07912460201112F2FFFFFFFFFF "
                                   "A0A2000004 4D6F7468  A0A2010001 FF"));
    put("CardApdu", "gsm-algorithm",
        hex(std::string(kVerify) + "A0A4000002 7F20  A0A4000002 6F07  A0B0000009 "
                                   "A0880000 10 00112233445566778899AABBCCDDEEFF  A0C000000C "
                                   "A0A4000002 6F39  A0320000 03 000010  A0C0000006  FF00000000  A0B0000009"));
    put("CardApdu", "codes",
        hex("A024000110 31323334FFFFFFFF 34333231FFFFFFFF  A026000108 34333231FFFFFFFF "
            "A028000108 34333231FFFFFFFF  A020000208 35363738FFFFFFFF  A020000108 39393939FFFFFFFF "
            "A02C000010 3132333435363738 31313131FFFFFFFF  A0A4000002 7F10  A0A4000002 6F3C "
            "A004000000  A0B2010400  A044000000"));
    put("CardApdu", "toolkit",
        hex(std::string(kVerify) + "A010000006 1F7FFFFF0000  A0F2000016  A012000020 "
                                   "A01400000C 810301250082028281830100  A0C2000009 D30782020181900101"));
}

void records(const SimCardData& standard)
{
    for (const SimFile& f : standard.files) {
        if (f.path != std::vector<uint16_t>{0x3F00, 0x7F10, 0x6F42})
            continue;
        std::vector<uint8_t> seed{static_cast<uint8_t>(f.recordLength), 0xA7};
        seed.insert(seed.end(), f.data.begin(), f.data.end());
        put("SmspRecord", "standard", seed);
        // Only the last record of three holds parameters, in a record of the shortest length.
        std::vector<uint8_t> shortest{28, 0x0B};
        shortest.insert(shortest.end(), 2 * 28, 0xFF);
        shortest.insert(shortest.end(), f.data.end() - 28, f.data.end());
        put("SmspRecord", "third-of-three", shortest);
    }
    const PlmnEntry networks[] = {{1, 0, 230, 2}, {0, 0, 0, 0}, {1, 0, 262, 1}, {1, 0, 310, 26}};
    put("PlmnRecord", "plmnsel", EncodePlmnList(networks, 24));
    put("PlmnRecord", "fplmn-remainder", EncodePlmnList(std::span(networks).first(1), 13));
    put("PlmnRecord", "text", QByteArray("310-260"));
}

// A .SIM file saved by the backup saver; a .DIA file of numbered lines and one of the older
// "name TAB number" lines, written after the layout PhoneBookFiles reads.
void phoneBookFiles()
{
    const QString dir = g_root + QStringLiteral("/../.seed-work");
    QDir().mkpath(dir);
    AppState app(std::make_unique<QSettings>(dir + QStringLiteral("/kestrel.ini"), QSettings::IniFormat));
    BackupContents contents;
    const char* names[] = {"Mother", "Office", "Voicemail", "Hotel Vienna"};
    const char* numbers[] = {"420602111222", "224123456", "*77#", "43153163001"};
    for (int i = 0; i < 4; ++i) {
        DialEntry& e = contents.phoneBook[static_cast<std::size_t>(i * 2)];
        e = DialEntry::emptyAt(static_cast<uint16_t>(i * 2));
        e.valid = 1;
        setFixedText(e.name, names[i]);
        setFixedText(e.number, numbers[i]);
        e.ton = i == 0 || i == 3;
    }
    contents.phoneBookCount = 8;
    contents.fdn[0] = contents.phoneBook[0];
    contents.fdnCount = 10;
    contents.serviceCentre = "+420603052000";
    contents.validity = "7 days";
    contents.plmn = {{1, 0, 230, 2}, {0, 0, 0, 0}};
    const QString sim = dir + QStringLiteral("/backup.sim");
    fuzz::check(saveBackupFile(sim, contents).isOk());
    QFile simFile(sim);
    fuzz::check(simFile.open(QIODevice::ReadOnly));
    put("SimFile", "four-entries.sim", simFile.readAll());
    put("SimFile", "empty.sim", writeBackupStream(BackupContents{}));

    QByteArray numbered("\x01");
    QByteArray twoField("\x03");
    for (int i = 0; i < 4; ++i) {
        const std::string number = (i == 0 || i == 3 ? "+" : "") + std::string(numbers[i]);
        numbered += QByteArray::number(i * 2 + 1) + '\t' + names[i] + '\t' + number.c_str() + "\r\n";
        twoField += QByteArray(names[i]) + '\t' + number.c_str() + "\r\n";
    }
    put("DiaFile", "numbered.dia", numbered);
    put("DiaFile", "two-field.dia", twoField);
    QDir(dir).removeRecursively();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
        return 2;
    }
    g_root = QString::fromLocal8Bit(argv[1]);
    const SimCardData standard = StandardCard::simCard();
    cardFiles(standard);
    put("GetResponse", "standard-card", recordedAnswers(standard));
    SimCardData open = standard;
    open.chv1.enabled = false;
    put("GetResponse", "chv1-disabled", recordedAnswers(open));
    commandSequences();
    records(standard);
    phoneBookFiles();
    return 0;
}
