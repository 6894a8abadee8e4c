// The standard card as any SIM tool meets it: every file of a phase 2+ GSM SIM (GSM 11.11 clause
// 10) selected from the MF down with its GET RESPONSE bytes decoded here byte by byte, every file
// read after VERIFY CHV1, EF_SST held against the files present; and the status words of GSM
// 11.11 (clause 9.4) for the commands a card refuses.

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ApduSession.h"
#include "emulator/SimCardModel.h"
#include "emulator/StandardCard.h"
#include "gsm/FileIds.h"
#include "gsm/Instructions.h"
#include "gsm/Services.h"
#include "gsm/StatusWords.h"

using namespace kestrel::emulator;
using namespace kestrel::gsm::fid;
namespace gsm = kestrel::gsm;
namespace service = kestrel::gsm::service;
using kestrel::test::send;
using kestrel::test::toHex;
using kestrel::test::toSpacedHex;

namespace {

// Access condition nibbles of bytes 9-11 of an EF response; ADM stands for any of 4-E.
enum Access
{
    Alw = 0x0,
    Chv1 = 0x1,
    Chv2 = 0x2,
    Adm = 0x4,
    Nev = 0xF,
};

// Byte 14 of an EF response.
enum Structure
{
    Transparent = 0x00,
    LinearFixed = 0x01,
    Cyclic = 0x03,
};

// The byte counts GSM 11.11 allows for a file (transparent) or a record (record files): min to
// max in steps of step.
struct Length
{
    int min;
    int max;
    int step = 1;

    bool allows(int n) const { return n >= min && n <= max && n % step == 0; }
};

constexpr Length exactly(int n)
{
    return {n, n};
}

constexpr Length atLeast(int n, int step = 1)
{
    return {n, 0xFFFF, step};
}

constexpr int kMandatory = 0;

struct FileRule
{
    uint16_t df; // 0: directly under the MF
    uint16_t id;
    const char* name;
    Structure structure;
    Length length;
    Access read, update, invalidate, rehabilitate;
    int service; // the EF_SST service the file belongs to, or kMandatory
    Access increase = Nev;

    std::vector<uint16_t> path() const
    {
        return df == 0 ? std::vector<uint16_t>{kMf, id} : std::vector<uint16_t>{kMf, df, id};
    }
};

// The files checked on the standard card: every EF that GSM 11.11 clause 10 makes mandatory in a
// phase 2+ SIM under the MF, DF_TELECOM and DF_GSM, and the optional ones the program reads, each
// with the structure, size and access conditions (read, update, invalidate, rehabilitate) of a
// typical real card. An EF the card holds that is not listed here fails the test.
const FileRule kFilesChecked[] = {
    {0, kEfIccid, "EF_ICCID", Transparent, exactly(10), Alw, Nev, Adm, Adm, kMandatory},
    {0, kEfElp, "EF_ELP", Transparent, atLeast(2, 2), Alw, Chv1, Adm, Adm, kMandatory},
    {kDfTelecom, kEfAdn, "EF_ADN", LinearFixed, atLeast(14), Chv1, Chv1, Chv2, Chv2, service::kAdn},
    {kDfTelecom, kEfFdn, "EF_FDN", LinearFixed, atLeast(14), Chv1, Chv2, Adm, Adm, service::kFdn},
    {kDfTelecom, kEfSms, "EF_SMS", LinearFixed, exactly(176), Chv1, Chv1, Adm, Adm, service::kSms},
    {kDfTelecom, kEfMsisdn, "EF_MSISDN", LinearFixed, atLeast(14), Chv1, Chv1, Adm, Adm, service::kMsisdn},
    {kDfTelecom, kEfSmsp, "EF_SMSP", LinearFixed, atLeast(28), Chv1, Chv1, Adm, Adm, service::kSmsp},
    {kDfTelecom, kEfSmss, "EF_SMSS", Transparent, atLeast(2), Chv1, Chv1, Adm, Adm, service::kSms},
    {kDfTelecom, kEfLnd, "EF_LND", Cyclic, atLeast(14), Chv1, Chv1, Adm, Adm, service::kLnd},
    {kDfTelecom, kEfSdn, "EF_SDN", LinearFixed, atLeast(14), Chv1, Adm, Adm, Adm, service::kSdn},
    {kDfTelecom, kEfExt1, "EF_EXT1", LinearFixed, exactly(13), Chv1, Chv1, Adm, Adm, service::kExt1},
    {kDfTelecom, kEfExt2, "EF_EXT2", LinearFixed, exactly(13), Chv1, Chv2, Adm, Adm, service::kExt2},
    {kDfGsm, kEfLp, "EF_LP", Transparent, atLeast(1), Alw, Chv1, Adm, Adm, kMandatory},
    {kDfGsm, kEfImsi, "EF_IMSI", Transparent, exactly(9), Chv1, Adm, Adm, Chv1, kMandatory},
    {kDfGsm, kEfKc, "EF_Kc", Transparent, exactly(9), Chv1, Chv1, Adm, Adm, kMandatory},
    {kDfGsm, kEfPlmnSel, "EF_PLMNsel", Transparent, atLeast(24, 3), Chv1, Chv1, Adm, Adm, service::kPlmnSel},
    {kDfGsm, kEfHplmn, "EF_HPLMN", Transparent, exactly(1), Chv1, Adm, Adm, Adm, kMandatory},
    {kDfGsm, kEfAcmMax, "EF_ACMmax", Transparent, exactly(3), Chv1, Chv2, Adm, Adm, service::kAdviceOfCharge},
    {kDfGsm, kEfSst, "EF_SST", Transparent, atLeast(2), Chv1, Adm, Adm, Adm, kMandatory},
    {kDfGsm, kEfAcm, "EF_ACM", Cyclic, exactly(3), Chv1, Chv1, Adm, Adm, service::kAdviceOfCharge, Chv1},
    {kDfGsm, kEfGid1, "EF_GID1", Transparent, atLeast(1), Chv1, Adm, Adm, Adm, service::kGid1},
    {kDfGsm, kEfPuct, "EF_PUCT", Transparent, exactly(5), Chv1, Chv2, Adm, Adm, service::kAdviceOfCharge},
    {kDfGsm, kEfCbmi, "EF_CBMI", Transparent, atLeast(2, 2), Chv1, Chv1, Adm, Adm, service::kCbmi},
    {kDfGsm, kEfSpn, "EF_SPN", Transparent, exactly(17), Alw, Adm, Adm, Adm, service::kSpn},
    {kDfGsm, kEfBcch, "EF_BCCH", Transparent, exactly(16), Chv1, Chv1, Adm, Adm, kMandatory},
    {kDfGsm, kEfAcc, "EF_ACC", Transparent, exactly(2), Chv1, Adm, Adm, Adm, kMandatory},
    {kDfGsm, kEfFplmn, "EF_FPLMN", Transparent, exactly(12), Chv1, Chv1, Adm, Adm, kMandatory},
    {kDfGsm, kEfLoci, "EF_LOCI", Transparent, exactly(11), Chv1, Chv1, Adm, Chv1, kMandatory},
    // Phase 2+: the MNC length in byte 4.
    {kDfGsm, kEfAd, "EF_AD", Transparent, atLeast(4), Alw, Adm, Adm, Adm, kMandatory},
    {kDfGsm, kEfPhase, "EF_Phase", Transparent, exactly(1), Alw, Adm, Adm, Adm, kMandatory},
};

// The directories and the DFs each holds.
struct DirectoryRule
{
    std::vector<uint16_t> path;
    int dfs;
};
const DirectoryRule kDirectories[] = {{{kMf}, 2}, {{kMf, kDfTelecom}, 0}, {{kMf, kDfGsm}, 0}};

// Services of EF_SST tied to no file, which the standard card offers.
const std::set<int> kFunctionServices{service::kChv1Disable, service::kProactiveSim};

const std::vector<uint8_t> kPin1Block{'1', '2', '3', '4', 0xFF, 0xFF, 0xFF, 0xFF};

bool accessMatches(Access expected, int nibble)
{
    return expected == Adm ? nibble >= 0x4 && nibble <= 0xE : nibble == expected;
}

std::string swText(uint16_t sw)
{
    return toHex(gsm::sw1(sw)) + toHex(gsm::sw2(sw));
}

class CardConformance : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_FALSE(card.powerOn().empty()); }

    CardResponse command(uint8_t ins, uint8_t p1, uint8_t p2, uint8_t p3, std::vector<uint8_t> data = {})
    {
        return card.process(Apdu{gsm::kClass, ins, p1, p2, p3, std::move(data)});
    }

    // SELECT of every file on the path from the MF down, then GET RESPONSE of the length the last
    // one announced with 9F xx: the response bytes; nothing when the card has no such file.
    std::optional<std::vector<uint8_t>> select(const std::vector<uint16_t>& path)
    {
        uint16_t sw = 0;
        for (uint16_t id : path) {
            sw = command(gsm::ins::kSelect, 0, 0, 2, {static_cast<uint8_t>(id >> 8), static_cast<uint8_t>(id)}).sw;
            if (sw == gsm::sw::kNotFound)
                return std::nullopt;
            if (gsm::sw1(sw) != gsm::sw::kSw1ResponseWaiting) {
                ADD_FAILURE() << "SELECT " << std::hex << id << ": " << swText(sw);
                return std::nullopt;
            }
        }
        const CardResponse r = command(gsm::ins::kGetResponse, 0, 0, gsm::sw2(sw));
        EXPECT_EQ(swText(r.sw), "9000") << "GET RESPONSE";
        EXPECT_EQ(r.data.size(), static_cast<std::size_t>(gsm::sw2(sw)));
        return r.data;
    }

    // The whole body of the selected EF: READ BINARY in pieces, or READ RECORD of every record
    // (absolute mode); each must answer 90 00 with the length asked for.
    std::vector<uint8_t> readAll(Structure structure, int size, int recordLength)
    {
        std::vector<uint8_t> body;
        const bool records = structure != Transparent;
        const int piece = records ? recordLength : 0xFF;
        for (int at = 0; piece > 0 && at < size; at += piece) {
            const auto length = static_cast<uint8_t>(std::min(piece, size - at));
            const CardResponse r = records ? command(gsm::ins::kReadRecord, static_cast<uint8_t>(at / piece + 1),
                                                     gsm::recordMode::kAbsolute, length)
                                           : command(gsm::ins::kReadBinary, static_cast<uint8_t>(at >> 8),
                                                     static_cast<uint8_t>(at), length);
            EXPECT_EQ(swText(r.sw), "9000")
                << (records ? "READ RECORD " : "READ BINARY at ") << at / (records ? piece : 1);
            EXPECT_EQ(r.data.size(), static_cast<std::size_t>(length));
            body.insert(body.end(), r.data.begin(), r.data.end());
        }
        return body;
    }

    // The contents the card was made from.
    const SimFile* fileAt(const std::vector<uint16_t>& path) const
    {
        for (const SimFile& f : data.files) {
            if (f.path == path)
                return &f;
        }
        return nullptr;
    }

    const SimCardData data = StandardCard::simCard();
    SimCardModel card{data};
};

// GSM 11.11 numbers the response bytes from 1: byte n is r[n - 1].
void checkEfResponse(const FileRule& rule, const std::vector<uint8_t>& r)
{
    ASSERT_GE(r.size(), 15u);
    EXPECT_EQ(r.size(), 13u + r[12]) << "byte 13: the length of the data after it";
    const int size = r[2] << 8 | r[3];
    EXPECT_EQ(r[4] << 8 | r[5], rule.id) << "bytes 5-6: file id";
    EXPECT_EQ(r[6], 0x04) << "byte 7: type EF";
    EXPECT_PRED2(accessMatches, rule.read, r[8] >> 4) << "byte 9: READ";
    EXPECT_PRED2(accessMatches, rule.update, r[8] & 0x0F) << "byte 9: UPDATE";
    EXPECT_PRED2(accessMatches, rule.increase, r[9] >> 4) << "byte 10: INCREASE";
    EXPECT_PRED2(accessMatches, rule.rehabilitate, r[10] >> 4) << "byte 11: REHABILITATE";
    EXPECT_PRED2(accessMatches, rule.invalidate, r[10] & 0x0F) << "byte 11: INVALIDATE";
    EXPECT_EQ(r[11] & 0x01, 0x01) << "byte 12: not invalidated";
    EXPECT_EQ(r[13], rule.structure) << "byte 14: structure";
    if (rule.structure == Transparent) {
        EXPECT_TRUE(rule.length.allows(size)) << "bytes 3-4: size " << size;
        return;
    }
    const int length = r[14];
    ASSERT_TRUE(rule.length.allows(length)) << "byte 15: record length " << length;
    EXPECT_EQ(size % length, 0) << "size " << size << " is no number of records";
    EXPECT_GE(size / length, 1) << "no record";
    if (rule.structure == Cyclic) {
        EXPECT_EQ((r[7] & 0x40) != 0, rule.increase != Nev) << "byte 8: INCREASE allowed";
    }
}

void checkDirectoryResponse(const DirectoryRule& rule, const std::vector<uint8_t>& r, int efsFound)
{
    ASSERT_GE(r.size(), 22u);
    EXPECT_EQ(r.size(), 13u + r[12]) << "byte 13: the length of the data after it";
    EXPECT_EQ(r[4] << 8 | r[5], rule.path.back()) << "bytes 5-6: file id";
    EXPECT_EQ(r[6], rule.path.size() == 1 ? 0x01 : 0x02) << "byte 7: type MF or DF";
    EXPECT_EQ(r[13] & 0x80, 0x00) << "byte 14: CHV1 enabled";
    EXPECT_EQ(r[14], rule.dfs) << "byte 15: DFs";
    // More EFs than the table found: the card holds one the table does not list.
    EXPECT_EQ(r[15], efsFound) << "byte 16: EFs";
    EXPECT_GE(r[16], 4) << "byte 17: CHV1, CHV2 and their unblock codes";
    const int attempts[] = {3, 10, 3, 10};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(r[18 + i], 0x80 | attempts[i]) << "byte " << 19 + i << ": initialised code, attempts left";
}

const FileRule* ruleFor(const std::vector<uint16_t>& path)
{
    for (const FileRule& rule : kFilesChecked) {
        if (rule.path() == path)
            return &rule;
    }
    return nullptr;
}

TEST_F(CardConformance, EveryFileAnswersSelectAsGsm1111CodesIt)
{
    std::map<uint16_t, int> efsFound; // by directory
    std::string checked;
    for (const FileRule& rule : kFilesChecked) {
        SCOPED_TRACE(rule.name);
        const auto response = select(rule.path());
        if (!response) {
            EXPECT_NE(rule.service, kMandatory) << "a mandatory file is missing";
            continue;
        }
        checkEfResponse(rule, *response);
        ++efsFound[rule.df == 0 ? kMf : rule.df];
        checked += std::string(checked.empty() ? "" : " ") + rule.name;
    }
    for (const DirectoryRule& rule : kDirectories) {
        SCOPED_TRACE(formatPath(rule.path));
        const auto response = select(rule.path);
        ASSERT_TRUE(response);
        checkDirectoryResponse(rule, *response, efsFound[rule.path.back()]);
    }
    // The same from the card's contents, naming the file.
    for (const SimFile& f : data.files) {
        if (f.isDirectory()) {
            EXPECT_TRUE(std::any_of(std::begin(kDirectories), std::end(kDirectories),
                                    [&f](const DirectoryRule& d) { return d.path == f.path; }))
                << formatPath(f.path) << " is no directory of a GSM SIM";
        } else {
            EXPECT_TRUE(ruleFor(f.path)) << formatPath(f.path) << " is in no table of the test";
        }
    }
    RecordProperty("filesChecked", checked);
}

TEST_F(CardConformance, EveryFileReadsWholeAfterVerifyChv1)
{
    ASSERT_EQ(swText(command(gsm::ins::kVerifyChv, 0, 1, 8, kPin1Block).sw), "9000");
    for (const FileRule& rule : kFilesChecked) {
        SCOPED_TRACE(rule.name);
        const auto response = select(rule.path());
        if (!response || response->size() < 15)
            continue; // reported by the test of the responses
        const SimFile* file = fileAt(rule.path());
        ASSERT_TRUE(file);
        const auto& r = *response;
        const std::vector<uint8_t> body = readAll(rule.structure, r[2] << 8 | r[3], r[14]);
        EXPECT_EQ(toSpacedHex(body), toSpacedHex(file->data));
    }
}

TEST_F(CardConformance, ServiceTableActivatesExactlyTheServicesOfTheFilesPresent)
{
    ASSERT_EQ(swText(command(gsm::ins::kVerifyChv, 0, 1, 8, kPin1Block).sw), "9000");
    std::set<int> expected = kFunctionServices;
    std::map<int, std::string> missing; // service -> its files the card lacks
    for (const FileRule& rule : kFilesChecked) {
        if (rule.service == kMandatory)
            continue;
        if (select(rule.path()))
            expected.insert(rule.service);
        else
            missing[rule.service] += std::string(" ") + rule.name;
    }
    const auto sst = select({kMf, kDfGsm, kEfSst});
    ASSERT_TRUE(sst && sst->size() >= 15);
    const std::vector<uint8_t> table = readAll(Transparent, (*sst)[2] << 8 | (*sst)[3], 0);
    // Service n: bit 2n - 1 allocated, bit 2n activated, counted from bit 1 of byte 1.
    std::set<int> activated;
    for (std::size_t n = 1; n <= table.size() * 4; ++n) {
        if (((table[(n - 1) / 4] >> (2 * ((n - 1) % 4))) & 0x03) == 0x03)
            activated.insert(static_cast<int>(n));
    }
    EXPECT_EQ(activated, expected);
    for (const auto& [number, files] : missing)
        EXPECT_FALSE(activated.contains(number)) << "service " << number << " is activated without" << files;
}

// ---- status words of refused commands ----------------------------------------------------------

struct WrongCommand
{
    const char* what;
    std::vector<std::string> before; // 4 hex digits: SELECT of that file; anything else a command
    std::string command;
    uint16_t sw;
};

const std::string kPin1 = "A0 20 00 01 08 31323334 FF*4";
const std::string kPin2 = "A0 20 00 02 08 35363738 FF*4";
const std::string kWrongPin1 = "A0 20 00 01 08 39393939 FF*4";
const std::string kDisable = "A0 26 00 01 08 31323334 FF*4";
const std::string kRand = " 00112233445566778899AABBCCDDEEFF";
const std::vector<std::string> kExt1{kPin1, "7F10", "6F4A"};
const std::vector<std::string> kAdn{kPin1, "7F10", "6F3A"};
const std::vector<std::string> kAcm{kPin1, "7F20", "6F39"};
const std::vector<std::string> kLoci{kPin1, "7F20", "6F7E"};
const std::vector<std::string> kAdnWithPin2{kPin1, kPin2, "7F10", "6F3A"};

const WrongCommand kWrongCommands[] = {
    {"class other than A0", {}, "00 A4 00 00 02 3F00", 0x6E00},
    {"class A1", {}, "A1 F2 00 00 16", 0x6E00},
    {"unknown instruction", {}, "A0 CA 00 00 00", 0x6D00},
    {"SELECT P1", {}, "A0 A4 04 00 02 3F00", 0x6B00},
    {"SELECT P3", {}, "A0 A4 00 00 01 3F", 0x6702},
    {"SELECT of an EF of another DF", {"7F20"}, "A0 A4 00 00 02 6F3A", 0x9404},
    {"STATUS", {}, "A0 F2 00 00 16", 0x9000},
    {"STATUS P1", {}, "A0 F2 01 00 16", 0x6B00},
    {"STATUS longer than the response", {}, "A0 F2 00 00 23", 0x6722},
    {"GET RESPONSE P1", {"3F00"}, "A0 C0 01 00 22", 0x6B00},
    {"GET RESPONSE longer than the response", {"3F00"}, "A0 C0 00 00 23", 0x6722},
    {"GET RESPONSE with nothing waiting", {}, "A0 C0 00 00 0F", 0x6700},
    {"READ BINARY without an EF", {kPin1, "7F20"}, "A0 B0 00 00 01", 0x9400},
    {"READ BINARY of a record EF", kExt1, "A0 B0 00 00 01", 0x9408},
    {"READ BINARY offset beyond the file", {"2FE2"}, "A0 B0 00 0A 01", 0x6B00},
    {"READ BINARY past the end", {"2FE2"}, "A0 B0 00 08 03", 0x6700},
    {"READ BINARY of 256 bytes", {"2FE2"}, "A0 B0 00 00 00", 0x6700},
    {"READ BINARY without CHV1", {"7F20", "6F07"}, "A0 B0 00 00 09", 0x9804},
    {"UPDATE BINARY of a NEV file", {kPin1, "2FE2"}, "A0 D6 00 00 01 00", 0x9804},
    {"UPDATE BINARY of an ADM file", {kPin1, kPin2, "7F20", "6F07"}, "A0 D6 00 00 01 00", 0x9804},
    {"UPDATE BINARY past the end", kLoci, "A0 D6 00 0A 02 0000", 0x6700},
    {"UPDATE BINARY offset beyond the file", kLoci, "A0 D6 00 0B 01 00", 0x6B00},
    {"READ RECORD mode 01", kExt1, "A0 B2 01 01 0D", 0x6B00},
    {"READ RECORD mode 05", kExt1, "A0 B2 01 05 0D", 0x6B00},
    {"READ RECORD P3", kExt1, "A0 B2 01 04 0C", 0x670D},
    {"READ RECORD of 256 bytes", kExt1, "A0 B2 01 04 00", 0x670D},
    {"READ RECORD beyond the last", kExt1, "A0 B2 FF 04 0D", 0x9402},
    {"READ RECORD current without one", kExt1, "A0 B2 00 04 0D", 0x9402},
    {"READ RECORD of a transparent EF", {kPin1, "2FE2"}, "A0 B2 01 04 0A", 0x9408},
    {"READ RECORD without CHV1", {"7F10", "6F4A"}, "A0 B2 01 04 0D", 0x9804},
    {"READ RECORD NEXT does not look at P1", kExt1, "A0 B2 05 02 0D", 0x9000},
    {"READ RECORD PREVIOUS does not look at P1", kExt1, "A0 B2 05 03 0D", 0x9000},
    {"UPDATE RECORD absolute on a cyclic EF", kAcm, "A0 DC 01 04 03 000000", 0x6B00},
    {"UPDATE RECORD NEXT on a cyclic EF", kAcm, "A0 DC 00 02 03 000000", 0x6B00},
    {"UPDATE RECORD P3", kExt1, "A0 DC 01 04 0C FF*12", 0x670D},
    {"UPDATE RECORD beyond the last", kExt1, "A0 DC FF 04 0D FF*13", 0x9402},
    {"UPDATE RECORD without CHV2", {kPin1, "7F10", "6F4B"}, "A0 DC 01 04 0D FF*13", 0x9804},
    {"SEEK P1", kAdn, "A0 A2 01 00 01 FF", 0x6B00},
    {"SEEK P2 20", kAdn, "A0 A2 00 20 01 FF", 0x6B00},
    {"SEEK mode 4", kAdn, "A0 A2 00 04 01 FF", 0x6B00},
    {"SEEK pattern longer than a record", kExt1, "A0 A2 00 00 0E FF*14", 0x6700},
    {"SEEK of a transparent EF", kLoci, "A0 A2 00 00 01 FF", 0x9408},
    {"SEEK of a cyclic EF", kAcm, "A0 A2 00 00 01 00", 0x9408},
    {"SEEK pattern not found", kAdn, "A0 A2 00 00 10 5A*16", 0x9404},
    {"INCREASE", kAcm, "A0 32 00 00 03 000001", 0x9F06},
    {"INCREASE P1", kAcm, "A0 32 01 00 03 000001", 0x6B00},
    {"INCREASE P3", kAcm, "A0 32 00 00 02 0001", 0x6703},
    {"INCREASE of a linear fixed EF", kExt1, "A0 32 00 00 03 000001", 0x9408},
    {"INCREASE without CHV1", {"7F20", "6F39"}, "A0 32 00 00 03 000001", 0x9804},
    {"INCREASE past the maximum", {kPin1, "7F20", "6F39", "A0 32 00 00 03 000001"}, "A0 32 00 00 03 FF*3", 0x9850},
    {"VERIFY CHV 0", {}, "A0 20 00 00 08 31323334 FF*4", 0x6B00},
    {"VERIFY CHV 3", {}, "A0 20 00 03 08 31323334 FF*4", 0x6B00},
    {"VERIFY P3", {}, "A0 20 00 01 07 31323334 FF*3", 0x6708},
    {"VERIFY a wrong code", {}, kWrongPin1, 0x9804},
    {"VERIFY a wrong code for the last time", {kWrongPin1, kWrongPin1}, kWrongPin1, 0x9840},
    {"VERIFY a blocked code", {kWrongPin1, kWrongPin1, kWrongPin1}, kPin1, 0x9840},
    {"VERIFY a disabled CHV1", {kDisable}, kPin1, 0x9808},
    {"CHANGE CHV P3", {}, "A0 24 00 01 08 31323334 FF*4", 0x6710},
    {"CHANGE CHV 3", {}, "A0 24 00 03 10 31323334 FF*4 31323334 FF*4", 0x6B00},
    {"DISABLE CHV2", {}, "A0 26 00 02 08 35363738 FF*4", 0x6B00},
    {"DISABLE CHV P3", {}, "A0 26 00 01 10 31323334 FF*4 31323334 FF*4", 0x6708},
    {"DISABLE a disabled CHV1", {kDisable}, kDisable, 0x9808},
    {"ENABLE an enabled CHV1", {}, "A0 28 00 01 08 31323334 FF*4", 0x9808},
    {"UNBLOCK CHV P2 01", {}, "A0 2C 00 01 10 3132333435363738 31323334 FF*4", 0x6B00},
    {"UNBLOCK CHV P3", {}, "A0 2C 00 00 08 3132333435363738", 0x6710},
    {"UNBLOCK CHV with a wrong code", {}, "A0 2C 00 00 10 3030303030303030 31323334 FF*4", 0x9804},
    {"INVALIDATE P1", kAdnWithPin2, "A0 04 01 00 00", 0x6B00},
    {"INVALIDATE P3", kAdnWithPin2, "A0 04 00 00 01", 0x6700},
    {"INVALIDATE without an EF", {kPin1, kPin2, "7F10"}, "A0 04 00 00 00", 0x9400},
    {"INVALIDATE of an ADM file", {kPin1, "7F20", "6F07"}, "A0 04 00 00 00", 0x9804},
    {"REHABILITATE P2", kAdnWithPin2, "A0 44 00 01 00", 0x6B00},
    {"READ RECORD of an invalidated EF", {kPin1, kPin2, "7F10", "6F3A", "A0 04 00 00 00"}, "A0 B2 01 04 1C", 0x9810},
    {"RUN GSM ALGORITHM", {kPin1, "7F20"}, "A0 88 00 00 10" + kRand, 0x9F0C},
    {"RUN GSM ALGORITHM P1", {kPin1, "7F20"}, "A0 88 01 00 10" + kRand, 0x6B00},
    {"RUN GSM ALGORITHM P3", {kPin1, "7F20"}, "A0 88 00 00 08 0011223344556677", 0x6710},
    {"RUN GSM ALGORITHM without CHV1", {"7F20"}, "A0 88 00 00 10" + kRand, 0x9804},
    {"SLEEP", {}, "A0 FA 00 00 00", 0x9000},
    {"SLEEP P1", {}, "A0 FA 01 00 00", 0x6B00},
    {"SLEEP P3", {}, "A0 FA 00 00 01", 0x6700},
    {"TERMINAL PROFILE P1", {}, "A0 10 01 00 01 FF", 0x6B00},
    {"TERMINAL PROFILE without data", {}, "A0 10 00 00 00", 0x6700},
    {"ENVELOPE P2", {}, "A0 C2 00 01 01 D3", 0x6B00},
    {"ENVELOPE without data", {}, "A0 C2 00 00 00", 0x6700},
    {"FETCH P1", {}, "A0 12 01 00 10", 0x6B00},
    {"TERMINAL RESPONSE P2", {}, "A0 14 00 01 01 81", 0x6B00},
    {"TERMINAL RESPONSE without data", {}, "A0 14 00 00 00", 0x6700},
};

TEST(CardConformanceWords, RefusedCommandsGetTheStatusWordsOfGsm1111)
{
    const SimCardData data = StandardCard::simCard();
    for (const WrongCommand& c : kWrongCommands) {
        SCOPED_TRACE(std::string(c.what) + ": " + c.command);
        SimCardModel card(data);
        ASSERT_FALSE(card.powerOn().empty());
        for (const std::string& step : c.before) {
            if (step.size() == 4)
                EXPECT_EQ(gsm::sw1(send(card, "A0 A4 00 00 02 " + step).sw), gsm::sw::kSw1ResponseWaiting) << step;
            else
                send(card, step);
        }
        EXPECT_EQ(swText(send(card, c.command).sw), swText(c.sw));
    }
}

} // namespace
