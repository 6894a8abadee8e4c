#include "codec/DialRecord.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "HexBytes.h"

#include "codec/AlphaCodec.h"
#include "codec/FixedText.h"

using namespace kestrel;

namespace {

using Bytes = std::vector<uint8_t>;

using test::hexBytes;

DialEntry entry(std::string_view name, std::string_view number, uint8_t ton = 0, uint8_t npi = 1)
{
    DialEntry e = DialEntry::emptyAt(0);
    e.valid = 1;
    setFixedText(e.name, name);
    setFixedText(e.number, number);
    e.ton = ton;
    e.npi = npi;
    return e;
}

// Hands out 1, 2, 3 ... like an extension file whose first free records are those.
struct SequentialAllocator
{
    int next = 1;
    int last = 255;
    int calls = 0;
    std::optional<uint8_t> operator()()
    {
        ++calls;
        if (next > last)
            return std::nullopt;
        return static_cast<uint8_t>(next++);
    }
};

// The extension file image after writing the records made, sized for `count` records.
Bytes extensionImage(const std::vector<ExtensionRecord>& records, std::size_t count)
{
    Bytes image(count * kExtensionRecordLength, 0xFF);
    for (const ExtensionRecord& r : records)
        std::copy(r.bytes.begin(), r.bytes.end(), image.begin() + (r.id - 1) * kExtensionRecordLength);
    return image;
}

std::string digits(std::size_t n)
{
    std::string out;
    for (std::size_t i = 0; i < n; ++i)
        out.push_back(static_cast<char>('0' + (i + 1) % 10));
    return out;
}

} // namespace

// --- Reading ---------------------------------------------------------------------------------

TEST(DialRecord, FreeRecordsDecodeAsFreePositions)
{
    const Bytes cases[] = {
        hexBytes("FF*28"),                                    // all 0xFF
        hexBytes("41 6E 6E 61 FF*10 FF 81 21 43 FF*8 FF FF"), // name present, L = 0xFF
        hexBytes("FF*14"),                                    // no alpha at all
    };
    for (const Bytes& record : cases) {
        const DialEntry e = DecodeDialRecord(record, 7, {});
        EXPECT_EQ(e.valid, 0) << test::toSpacedHex(record);
        EXPECT_EQ(e.position, 6);
        EXPECT_STREQ(e.name, "");
        EXPECT_STREQ(e.number, "");
        EXPECT_EQ(e.ton, 0);
        EXPECT_EQ(e.npi, 0);
        EXPECT_EQ(e.ccpId, 0);
        EXPECT_EQ(e.extId, 0);
    }
}

TEST(DialRecord, DecodesFields)
{
    struct Case
    {
        const char* record;
        const char* name;
        const char* number;
        uint8_t ton, npi, ccp, ext;
    };
    const Case cases[] = {
        // "Anna", +420123, TON 1 NPI 1
        {"41 6E 6E 61 FF FF 05 91 24 10 32 FF*7 FF FF", "Anna", "420123", 1, 1, 0xFF, 0xFF},
        // odd digit count: filler in the high nibble
        {"41 FF*5 04 81 21 43 F5 FF*7 07 FF", "A", "12345", 0, 1, 0x07, 0xFF},
        // every nibble value: * # p D E
        {"FF*6 04 A9 BA DC FE FF*7 FF FF", "", "*#pDE", 2, 9, 0xFF, 0xFF},
        // a filler in the middle ends the number
        {"FF*6 05 81 21 3F 65 87 FF*6 FF FF", "", "12", 0, 1, 0xFF, 0xFF},
        // L = 0: valid, empty number, TON/NPI not taken
        {"42 6F FF*4 00 91 21 43 FF*8 FF 03", "Bo", "", 0, 0, 0xFF, 0x03},
        // L counts more digit bytes than the record has: 20 digits at most
        {"FF*6 FE 81 21 43 65 87 09 21 43 65 87 09 FF FF", "", "12345678901234567890", 0, 1, 0xFF, 0xFF},
        // L limits the digits even when more bytes hold some
        {"FF*6 02 81 21 43 65 FF*7 FF FF", "", "12", 0, 1, 0xFF, 0xFF},
        // alpha: escape code reads as no-break space, 0x80-0xFE as "?", 0xFF ends the name
        {"41 1B 80 FE FF 43 01 81 FF*10 FF FF", "A\u00A0??", "", 0, 1, 0xFF, 0xFF},
    };
    for (const Case& c : cases) {
        const Bytes record = hexBytes(c.record);
        ASSERT_EQ(record.size(), 20u) << c.record;
        const DialEntry e = DecodeDialRecord(record, 1, {});
        EXPECT_EQ(e.valid, 1) << c.record;
        EXPECT_EQ(e.position, 0);
        EXPECT_STREQ(e.name, c.name) << c.record;
        EXPECT_STREQ(e.number, c.number) << c.record;
        EXPECT_EQ(e.ton, c.ton) << c.record;
        EXPECT_EQ(e.npi, c.npi) << c.record;
        EXPECT_EQ(e.ccpId, c.ccp) << c.record;
        EXPECT_EQ(e.extId, c.ext) << c.record;
    }
}

TEST(DialRecord, LongestAlphaKeepsEveryCharacter)
{
    // 50 alpha bytes: 50 letters, or 47 Greek capitals of the 0x81 form (two UTF-8 bytes each).
    Bytes record(64, 0xFF);
    std::fill_n(record.begin(), 50, 0x61);
    record[50] = 0x01;
    record[51] = 0x81;
    EXPECT_EQ(std::string(DecodeDialRecord(record, 1, {}).name), std::string(50, 'a'));
    record[0] = 0x81;
    record[1] = 47;
    record[2] = 0x07;                                 // base 0x0380
    std::fill_n(record.begin() + 3, 47, 0x80 | 0x23); // U+03A3
    std::string sigmas;
    for (int i = 0; i < 47; ++i)
        sigmas += "\u03A3";
    EXPECT_EQ(std::string(DecodeDialRecord(record, 1, {}).name), sigmas);
}

TEST(DialRecord, RecordLengthOutsideTheLayoutIsFree)
{
    for (std::size_t r : {0u, 1u, 13u, 65u, 200u}) {
        const Bytes record(r, 0x01);
        const DialEntry e = DecodeDialRecord(record, 3, {});
        EXPECT_EQ(e.valid, 0) << r;
        EXPECT_EQ(e.position, 2) << r;

        Bytes out(r, 0x55);
        const DialEncodeResult result = EncodeDialRecord(entry("A", "1"), out, SequentialAllocator());
        EXPECT_FALSE(result.ok) << r;
        EXPECT_EQ(result.status, DialEncodeStatus::BadRecordLength) << r;
        EXPECT_EQ(out, Bytes(r, 0x55)) << r;
    }
    EXPECT_TRUE(IsDialRecordLength(14));
    EXPECT_TRUE(IsDialRecordLength(64));
}

TEST(DialRecord, ExtensionChains)
{
    // Main record (R = 14, no alpha) with 20 digits and a link; the image holds four records.
    const auto main = [](uint8_t link, uint8_t length = 0x0B) {
        Bytes r = hexBytes("0B 81 21 43 65 87 09 21 43 65 87 09 FF FF");
        r[0] = length;
        r[13] = link;
        return r;
    };
    const std::string twenty = "12345678901234567890";
    struct Case
    {
        const char* what;
        Bytes record;
        Bytes image;
        std::string number;
    };
    const Case cases[] = {
        {"two links", main(1), hexBytes("02 01 87 FF*9 02  02 01 09 FF*9 FF  FF*13 FF*13"), twenty + "7890"},
        {"loop 1 -> 2 -> 1", main(1), hexBytes("02 01 87 FF*9 02  02 01 09 FF*9 01"), twenty + "7890"},
        {"points to itself", main(1), hexBytes("02 01 87 FF*9 01"), twenty + "78"},
        {"link beyond the file", main(3), hexBytes("02 01 87 FF*9 FF  02 01 09 FF*9 FF"), twenty},
        {"later link beyond the file", main(1), hexBytes("02 01 87 FF*9 09"), twenty + "78"},
        {"partial last record is not read", main(2), hexBytes("02 01 87 FF*9 FF  02 01 09"), twenty},
        {"link 0 ends", main(0), hexBytes("02 01 87 FF*9 FF"), twenty},
        {"next 0 ends", main(1), hexBytes("02 01 87 FF*9 00  02 01 09 FF*9 FF"), twenty + "78"},
        {"type 1 adds nothing but is followed", main(1), hexBytes("01 01 87 FF*9 02  02 01 09 FF*9 FF"), twenty + "90"},
        {"type 0x06 is additional data", main(1), hexBytes("06 01 87 FF*9 FF"), twenty + "78"},
        {"last piece with a filler", main(1), hexBytes("02 01 F7 FF*9 FF"), twenty + "7"},
        {"byte count beyond 10 stops at 20 digits", main(1), hexBytes("02 FF 21 43 65 87 09 21 43 65 87 09 FF"),
         twenty + twenty},
        {"empty image", main(1), Bytes(), twenty},
        {"L = 0 follows nothing", main(1, 0), hexBytes("02 01 87 FF*9 FF"), ""},
        {"short main record", main(1, 0x03), hexBytes("02 01 87 FF*9 FF"), "123478"},
        {"filler in the main record ends the number", hexBytes("03 81 21 3F FF*8 FF 01"), hexBytes("02 01 87 FF*9 FF"),
         "12"},
        {"filler in a piece ends the number", main(1), hexBytes("02 02 87 F9 FF*8 02  02 01 09 FF*9 FF"),
         twenty + "789"},
    };
    for (const Case& c : cases) {
        const DialEntry e = DecodeDialRecord(c.record, 1, c.image);
        EXPECT_EQ(std::string(e.number), c.number) << c.what;
        EXPECT_EQ(e.extId, c.record[13]) << c.what;
    }
}

TEST(DialRecord, ChainStopsAt60Digits)
{
    const Bytes record = hexBytes("0B 81 21 43 65 87 09 21 43 65 87 09 FF 01");
    Bytes image;
    for (int id = 1; id <= 5; ++id) {
        const Bytes ext = hexBytes("02 0A 21 43 65 87 09 21 43 65 87 09");
        image.insert(image.end(), ext.begin(), ext.end());
        image.push_back(static_cast<uint8_t>(id + 1));
    }
    const DialEntry e = DecodeDialRecord(record, 1, image);
    const std::string twenty = "12345678901234567890";
    EXPECT_EQ(std::string(e.number), twenty + twenty + twenty);
}

// --- Writing ---------------------------------------------------------------------------------

TEST(DialRecord, EncodesExactBytes)
{
    const std::string n20 = digits(20);
    const std::string n40 = digits(40);
    struct Case
    {
        const char* what;
        DialEntry entry;
        const char* record;                  // R = 20, alpha length 6
        std::vector<std::string> extensions; // "id: bytes", in the order made
    };
    const Case cases[] = {
        {"short number", entry("Anna", "420123", 1, 1), "41 6E 6E 61 FF FF 04 91 24 10 32 FF*7 FF FF", {}},
        {"odd count", entry("A", "12345", 0, 1), "41 FF*5 04 81 21 43 F5 FF*7 FF FF", {}},
        {"empty number", entry("Bo", "", 0, 0), "42 6F FF*4 01 80 FF*10 FF FF", {}},
        {"\"+\" alone", entry("", "", 1, 1), "FF*6 01 91 FF*10 FF FF", {}},
        {"all of TON and NPI", entry("", "1", 7, 15), "FF*6 02 FF F1 FF*9 FF FF", {}},
        {"P is nibble C, F is the filler", entry("", "1P2F3", 0, 1), "FF*6 04 81 C1 F2 F3 FF*7 FF FF", {}},
        {"letters of the dial table", entry("", "*#pDE", 0, 1), "FF*6 04 81 BA DC FE FF*7 FF FF", {}},
        {"name cut to the alpha length", entry("Alexandra", "1", 0, 1), "41 6C 65 78 61 6E 02 81 F1 FF*9 FF FF", {}},
        {"diacritics folded", entry("Černý", "", 0, 1), "43 65 72 6E 79 FF 01 81 FF*10 FF FF", {}},
        {"no-break space and sharp s", entry("a\u00A0ß", "", 0, 1), "61 1B 1E FF*3 01 81 FF*10 FF FF", {}},
        {"20 digits fit the record", entry("", n20, 0, 1), "FF*6 0B 81 21 43 65 87 09 21 43 65 87 09 FF FF", {}},
        {"21 digits",
         entry("", n20 + "7", 0, 1),
         "FF*6 0B 81 21 43 65 87 09 21 43 65 87 09 FF 01",
         {"1: 02 01 F7 FF*9 FF"}},
        {"45 digits",
         entry("", n40 + "12345", 0, 1),
         "FF*6 0B 81 21 43 65 87 09 21 43 65 87 09 FF 02",
         {"1: 02 03 21 43 F5 FF*7 FF", "2: 02 0A 21 43 65 87 09 21 43 65 87 09 01"}},
        {"60 digits",
         entry("", digits(60), 1, 1),
         "FF*6 0B 91 21 43 65 87 09 21 43 65 87 09 FF 02",
         {"1: 02 0A 21 43 65 87 09 21 43 65 87 09 FF", "2: 02 0A 21 43 65 87 09 21 43 65 87 09 01"}},
        {"41 digits",
         entry("", n40 + "9", 0, 1),
         "FF*6 0B 81 21 43 65 87 09 21 43 65 87 09 FF 02",
         {"1: 02 01 F9 FF*9 FF", "2: 02 0A 21 43 65 87 09 21 43 65 87 09 01"}},
    };
    for (const Case& c : cases) {
        Bytes record(20, 0x00);
        const DialEncodeResult result = EncodeDialRecord(c.entry, record, SequentialAllocator());
        ASSERT_TRUE(result.ok) << c.what;
        EXPECT_EQ(result.status, DialEncodeStatus::Ok);
        EXPECT_EQ(test::toSpacedHex(record), test::toSpacedHex(hexBytes(c.record))) << c.what;
        ASSERT_EQ(result.extensions.size(), c.extensions.size()) << c.what;
        for (std::size_t i = 0; i < c.extensions.size(); ++i) {
            const std::string& want = c.extensions[i];
            const auto colon = want.find(':');
            EXPECT_EQ(result.extensions[i].id, std::stoi(want.substr(0, colon))) << c.what;
            EXPECT_EQ(test::toSpacedHex(result.extensions[i].bytes),
                      test::toSpacedHex(hexBytes(want.substr(colon + 1))))
                << c.what;
        }
    }
}

TEST(DialRecord, CapabilityIdIsNeverWrittenBack)
{
    DialEntry e = entry("X", "123");
    e.ccpId = 0x05;
    e.extId = 0x09;
    Bytes record(14);
    ASSERT_TRUE(EncodeDialRecord(e, record, SequentialAllocator()).ok);
    EXPECT_EQ(record[12], 0xFF);
    EXPECT_EQ(record[13], 0xFF);
}

TEST(DialRecord, EmptyLengthIsWrittenBackWithTonNpi)
{
    const Bytes stored = hexBytes("42 6F FF*4 00 A5 21 43 FF*8 07 03");
    const DialEntry e = DecodeDialRecord(stored, 1, {});
    Bytes record(20);
    ASSERT_TRUE(EncodeDialRecord(e, record, SequentialAllocator()).ok);
    EXPECT_EQ(test::toSpacedHex(record), test::toSpacedHex(hexBytes("42 6F FF*4 01 80 FF*10 FF FF")));
}

TEST(DialRecord, FreeEntryIsAllFfAndMakesNoExtension)
{
    DialEntry e = entry("Name", digits(60));
    e.valid = 0;
    Bytes record(30, 0x00);
    SequentialAllocator allocator;
    const DialEncodeResult result =
        EncodeDialRecord(e, record, [&allocator]() -> std::optional<uint8_t> { return allocator(); });
    EXPECT_TRUE(result.ok);
    EXPECT_TRUE(result.extensions.empty());
    EXPECT_EQ(allocator.calls, 0);
    EXPECT_EQ(record, Bytes(30, 0xFF));
}

TEST(DialRecord, NoFreeExtensionRecordWritesNothing)
{
    struct Case
    {
        const char* what;
        std::size_t digitCount;
        std::function<std::optional<uint8_t>()> allocate;
    };
    int handedOut = 0;
    const Case cases[] = {
        {"none free", 21, [] { return std::nullopt; }},
        {"one free, two needed", 45,
         [&handedOut]() -> std::optional<uint8_t> {
             if (handedOut++ == 0)
                 return uint8_t{4};
             return std::nullopt;
         }},
        {"0xFF is no record", 21, [] { return uint8_t{0xFF}; }},
        {"0 is no record", 21, [] { return uint8_t{0}; }},
        {"no allocator", 21, nullptr},
    };
    for (const Case& c : cases) {
        Bytes record(20, 0x55);
        const DialEncodeResult result = EncodeDialRecord(entry("A", digits(c.digitCount)), record, c.allocate);
        EXPECT_FALSE(result.ok) << c.what;
        EXPECT_EQ(result.status, DialEncodeStatus::NoFreeExtension) << c.what;
        EXPECT_TRUE(result.extensions.empty()) << c.what;
        EXPECT_EQ(record, Bytes(20, 0x55)) << c.what;
    }
    // Without extension pieces the allocator is never needed.
    Bytes record(20);
    EXPECT_TRUE(EncodeDialRecord(entry("A", digits(20)), record, nullptr).ok);
}

TEST(DialRecord, NumberTextsReadBackAsTheDecoderSeesThem)
{
    struct Case
    {
        std::string written;
        std::string read;
    };
    const Case cases[] = {
        {"12F34", "12"},
        {"F", ""},
        {"1P2", "1p2"},
        {digits(20) + "F" + digits(10), digits(20)},
        {"123F" + digits(30), "123"},
    };
    for (const Case& c : cases) {
        Bytes record(24);
        SequentialAllocator allocator;
        const DialEncodeResult result =
            EncodeDialRecord(entry("", c.written), record, [&allocator] { return allocator(); });
        ASSERT_TRUE(result.ok) << c.written;
        const DialEntry e = DecodeDialRecord(record, 1, extensionImage(result.extensions, 10));
        EXPECT_EQ(std::string(e.number), c.read) << c.written;
    }
}

TEST(DialRecord, RandomEntriesRoundTrip)
{
    // Characters whose alpha code reads back as the same character.
    std::vector<std::string> nameChars;
    for (uint8_t code = 0; code < 0x80; ++code) {
        const std::string pc = GsmToAnsi(code);
        std::size_t pos = 0;
        if (AnsiToGsm(pc, pos) == code)
            nameChars.push_back(pc);
    }
    ASSERT_EQ(nameChars.size(), 110u);
    const std::string numberChars = "0123456789*#pDE";

    std::mt19937 rng(20240611);
    const auto pick = [&rng](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n)(rng); };
    for (int round = 0; round < 2000; ++round) {
        const std::size_t recordLength = 14 + pick(50);
        const std::size_t alphaLength = recordLength - 14;
        DialEntry in = DialEntry::emptyAt(static_cast<uint16_t>(pick(249)));
        in.valid = 1;
        std::string name, number;
        for (std::size_t i = pick(alphaLength); i > 0; --i)
            name += nameChars[pick(nameChars.size() - 1)];
        for (std::size_t i = pick(60); i > 0; --i)
            number += numberChars[pick(numberChars.size() - 1)];
        setFixedText(in.name, name);
        setFixedText(in.number, number);
        in.ton = static_cast<uint8_t>(pick(7));
        in.npi = static_cast<uint8_t>(pick(15));

        // Hand out free records of a 10-record extension file in a random order.
        std::vector<uint8_t> freeIds = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
        std::shuffle(freeIds.begin(), freeIds.end(), rng);
        std::size_t next = 0;
        Bytes record(recordLength);
        const DialEncodeResult result = EncodeDialRecord(in, record, [&]() -> std::optional<uint8_t> {
            return next < freeIds.size() ? std::optional<uint8_t>(freeIds[next++]) : std::nullopt;
        });
        ASSERT_TRUE(result.ok);
        ASSERT_EQ(result.extensions.size(), number.size() > 20 ? (number.size() - 1) / 20 : 0u);

        const DialEntry out = DecodeDialRecord(record, in.position + 1, extensionImage(result.extensions, 10));
        SCOPED_TRACE(name + " / " + number);
        EXPECT_EQ(out.valid, 1);
        EXPECT_EQ(out.position, in.position);
        EXPECT_EQ(std::string(out.name), name);
        EXPECT_EQ(std::string(out.number), number);
        EXPECT_EQ(out.ton, in.ton);
        EXPECT_EQ(out.npi, in.npi);
        EXPECT_EQ(out.ccpId, 0xFF);
        EXPECT_EQ(out.extId, result.extensions.empty() ? 0xFF : result.extensions.back().id);
    }
}

// What a window shows after a write: the name and number as the card gives them back, the rest of
// the entry as it was; the "stored as" text of a name is the same name.
TEST(DialRecord, StoredFormIsWhatTheCardGivesBack)
{
    const std::tuple<std::string, std::string, std::size_t, std::string, std::string> cases[] = {
        {"Jiří Novák", "420603", 20, "Jiri Novak", "420603"},
        {"Abcdefgh", "1P2", 4, "Abcd", "1p2"},
        {"Říha", digits(20) + "F" + digits(10), 10, "Riha", digits(20)},
        {"Long number", digits(45), 14, "Long number", digits(45)},
    };
    for (const auto& [name, number, alpha, storedName, storedNumber] : cases) {
        DialEntry in = entry(name, number);
        in.ccpId = 3;
        in.modified = 1;
        DialEntry expected = entry(storedName, storedNumber);
        expected.ccpId = 3;
        expected.modified = 1;
        EXPECT_EQ(StoredDialEntry(in, alpha), expected) << name;
        EXPECT_EQ(StoredAlphaText(name, alpha), storedName) << name;
    }
    EXPECT_EQ(StoredDialEntry(DialEntry::emptyAt(3), 20), DialEntry::emptyAt(3));
}

// A record read keeps its bytes and chain; they decode to the entry while it is unchanged, and a
// moved chain keeps every byte but its links.
TEST(DialRecord, KeptBytesFollowTheEntry)
{
    // Record 2 of a 20-byte file: ccp 05, links to 3, which links to 1 (a type-1 subaddress record).
    const Bytes record = hexBytes("81 03 13 53 95 A6 0B 81 21 43 65 87 09 21 43 65 87 09 05 03");
    Bytes ext = hexBytes("01 02 A1 B2 FF*8 FF  FF*13  02 01 F1 FF*9 01");
    DialEntry e = DecodeDialRecord(record, 2, ext);
    EXPECT_EQ(std::string(e.name), "S\u0995\u09A6");
    EXPECT_EQ(std::string(e.number), std::string("12345678901234567890") + "1");
    ASSERT_EQ(e.kept.recordLength, 20);
    ASSERT_EQ(e.kept.extensionCount, 2);
    EXPECT_EQ(Bytes(e.kept.record.begin(), e.kept.record.begin() + 20), record);
    EXPECT_EQ(Bytes(e.kept.extensions[0].begin(), e.kept.extensions[0].end()), Bytes(ext.begin() + 26, ext.end()));
    EXPECT_EQ(Bytes(e.kept.extensions[1].begin(), e.kept.extensions[1].end()), Bytes(ext.begin(), ext.begin() + 13));
    EXPECT_TRUE(KeptBytesCurrent(e));

    const uint8_t ids[] = {7, 9};
    const KeptRecord moved = RelinkKeptBytes(e.kept, ids);
    Bytes expected = record;
    expected[19] = 7;
    EXPECT_EQ(Bytes(moved.record.begin(), moved.record.begin() + 20), expected);
    ASSERT_EQ(moved.extensions.size(), 2u);
    EXPECT_EQ(moved.extensions[0].id, 7);
    EXPECT_EQ(moved.extensions[0].bytes[12], 9);
    EXPECT_EQ(moved.extensions[1].id, 9);
    EXPECT_EQ(moved.extensions[1].bytes[12], 0xFF);

    // Any field changed ends the kept bytes' authority; position, ccp and flags do not count.
    const std::vector<std::function<void(DialEntry&)>> edits = {
        [](DialEntry& d) { setFixedText(d.name, "S"); },
        [](DialEntry& d) { setFixedText(d.number, "1"); },
        [](DialEntry& d) { d.ton = 1; },
        [](DialEntry& d) { d.npi = 2; },
        [](DialEntry& d) { d.valid = 0; },
    };
    for (const auto& edit : edits) {
        DialEntry changed = e;
        edit(changed);
        EXPECT_FALSE(KeptBytesCurrent(changed));
    }
    e.position = 40;
    e.modified = 1;
    EXPECT_TRUE(KeptBytesCurrent(e));

    // A chain that loops keeps nothing.
    ext[12] = 3;
    EXPECT_TRUE(DecodeDialRecord(record, 2, ext).kept.empty());
    EXPECT_FALSE(KeptBytesCurrent(DialEntry::emptyAt(1)));
}
