// The "Kestrel_Dial" payload and the text form beside it.

#include "phonebook/DialClipboard.h"

#include <algorithm>
#include <cstring>

#include <gtest/gtest.h>

#include "HexBytes.h"
#include "phonebook/EditorRows.h"

using namespace kestrel;
using namespace kestrel::test;

namespace {

DialEntry entry(uint16_t position, const char* name, const char* number, uint8_t ton)
{
    DialEntry e = DialEntry::emptyAt(position);
    e.valid = 1;
    std::strcpy(e.name, name);
    std::strcpy(e.number, number);
    e.ton = ton;
    return e;
}

QByteArray bytes(std::initializer_list<int> list)
{
    QByteArray out;
    for (int b : list)
        out.append(static_cast<char>(b));
    return out;
}

// The payload of a valid entry (Anna, +420123, npi 1, modified) and a free one, source list
// 0x01020304.
const QByteArray kKnown = bytes({
    0x04, 0x03, 0x02, 0x01,                // source list
    0x07, 0x00, 0x00, 0x00,                // position 7
    0x01, 0x00, 0x00, 0x00,                // valid
    0x04, 'A',  'n',  'n',  'a',           // name
    0x06, '4',  '2',  '0',  '1', '2', '3', // number, no "+"
    0x01, 0x01, 0x05, 0xFF,                // ton, npi, ccpId, extId
    0x01, 0x00, 0x00, 0x00,                // modified
    0x08, 0x00, 0x00, 0x00,                // position 8
    0x00, 0x00, 0x00, 0x00,                // free
    0x00, 0x00,                            // empty name and number
    0x00, 0x00, 0xFF, 0xFF,                // ton, npi, ccpId, extId
    0x00, 0x00, 0x00, 0x00,                // not modified
    0xFF, 0xFF, 0xFF, 0xFF,                // end mark
});

std::vector<DialEntry> knownEntries()
{
    DialEntry anna = entry(7, "Anna", "420123", 1);
    anna.npi = 1;
    anna.ccpId = 5;
    anna.modified = 1;
    anna.dragMark = 1; // not carried
    return {anna, DialEntry::emptyAt(8)};
}

std::vector<const DialEntry*> pointers(const std::vector<DialEntry>& v)
{
    std::vector<const DialEntry*> p;
    for (const DialEntry& e : v)
        p.push_back(&e);
    return p;
}

// After the rows older readers read: the trailer with the UTF-8 names and the kept bytes.
const QByteArray kKnownTrailer = bytes({
    0x0C, 'K',  'e',  's',  't', 'r',  'e',  'l',  '-', 'U', 'T', 'F', '8', // mark
    0x02, 0x00, 0x00, 0x00,                                                 // rows
    0x04, 'A',  'n',  'n',  'a', 0x00, 0x00, 0x00,                          // name, nothing kept
    0x00, 0x00, 0x00, 0x00,                                                 // empty name, nothing kept
});

TEST(DialClipboard, PayloadBytesOfAKnownSelection)
{
    const auto entries = knownEntries();
    EXPECT_EQ(toSpacedHex(encodeDialPayload(0x01020304, pointers(entries))), toSpacedHex(kKnown + kKnownTrailer));
    EXPECT_EQ(toSpacedHex(encodeDialPayload(-2, {})),
              "FE FF FF FF FF FF FF FF 0C 4B 65 73 74 72 65 6C 2D 55 54 46 38 00 00 00 00");
}

// A name Windows-1250 lacks and the bytes of a card record travel in the trailer; a reader of the
// rows alone sees "?" and nothing kept, a broken trailer is ignored whole.
TEST(DialClipboard, TrailerCarriesUnicodeNamesAndKeptBytes)
{
    DialEntry greek = entry(3, "Ωμέγα Čech", "1", 0);
    greek.kept.recordLength = 15;
    greek.kept.extensionCount = 1;
    std::fill_n(greek.kept.record.begin(), 15, 0xA5);
    greek.kept.extensions[0].fill(0x5A);
    const std::vector<DialEntry> entries = {greek};
    const QByteArray payload = encodeDialPayload(1, pointers(entries));

    const std::optional<DialPayload> p = decodeDialPayload(payload);
    ASSERT_TRUE(p.has_value());
    ASSERT_EQ(p->records.size(), 1u);
    EXPECT_EQ(p->records[0].name, "Ωμέγα Čech");
    EXPECT_EQ(p->records[0].kept, greek.kept);

    const qsizetype rowsEnd = payload.indexOf(kKnownTrailer.left(13));
    ASSERT_GT(rowsEnd, 0);
    for (qsizetype n = rowsEnd; n < payload.size(); ++n) {
        const std::optional<DialPayload> cut = decodeDialPayload(payload.left(n));
        ASSERT_TRUE(cut.has_value()) << n;
        EXPECT_EQ(cut->records[0].name, "????? Čech") << n;
        EXPECT_TRUE(cut->records[0].kept.empty()) << n;
    }
    // Sizes that do not fit: a record length outside 14-64, five extension records, a byte count
    // that is not theirs, another number of rows.
    const qsizetype keptAt = payload.size() - (2 + 1 + 15 + 13);
    for (const auto& [offset, value] : std::vector<std::pair<qsizetype, char>>{
             {keptAt, 13}, {keptAt, 65}, {keptAt + 1, 5}, {keptAt + 2, 27}, {rowsEnd + 13, 2}}) {
        QByteArray broken = payload;
        broken[offset] = value;
        const std::optional<DialPayload> q = decodeDialPayload(broken);
        ASSERT_TRUE(q.has_value());
        EXPECT_TRUE(q->records[0].kept.empty()) << offset;
    }
}

TEST(DialClipboard, PayloadReadsBack)
{
    const std::optional<DialPayload> p = decodeDialPayload(kKnown);
    ASSERT_TRUE(p.has_value());
    EXPECT_EQ(p->sourceList, 0x01020304);
    ASSERT_EQ(p->records.size(), 2u);
    const DialClipRecord& a = p->records[0];
    EXPECT_EQ(a.position, 7);
    EXPECT_EQ(a.valid, 1);
    EXPECT_EQ(a.name, "Anna");
    EXPECT_EQ(a.number, "420123");
    EXPECT_EQ(a.ton, 1);
    EXPECT_EQ(a.npi, 1);
    EXPECT_EQ(a.ccpId, 5);
    EXPECT_EQ(a.extId, 0xFF);
    EXPECT_EQ(a.modified, 1);
    EXPECT_EQ(p->records[1].valid, 0);
    EXPECT_EQ(payloadSourceList(kKnown), 0x01020304);
    EXPECT_FALSE(payloadSourceList(kKnown.left(3)).has_value());

    // Clipboard memory may be longer than what was put there.
    EXPECT_TRUE(decodeDialPayload(kKnown + QByteArray(7, '\x55')).has_value());
}

TEST(DialClipboard, EveryCutOfThePayloadIsRefused)
{
    // Cutting anywhere before the last byte of the end mark leaves a record or the mark unfinished
    // (the trailer after it is a test of its own).
    for (qsizetype n = 0; n < kKnown.size(); ++n)
        EXPECT_FALSE(decodeDialPayload(kKnown.left(n)).has_value()) << n;
}

TEST(DialClipboard, BrokenPayloadsAreRefused)
{
    const QByteArray head = bytes({0x01, 0, 0, 0, 0x00, 0, 0, 0, 0x01, 0, 0, 0});
    const QByteArray tail = bytes({0xFF, 0xFF, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}); // ccpId, extId, modified, end
    auto record = [&](const QByteArray& texts, const QByteArray& typeBytes = bytes({0x00, 0x00})) {
        return head + texts + typeBytes + tail;
    };
    struct Case
    {
        const char* what;
        QByteArray payload;
        bool accepted;
    };
    const std::vector<Case> cases = {
        {"plain record", record(bytes({1, 'N', 2, '1', '2'})), true},
        {"name in the 16-bit length form", record(bytes({0xFF, 3, 0, 'a', 'b', 'c', 1, '5'})), true},
        {"name length past the end", record(bytes({0xFF, 0xFE, 0xFF, 'a'})), false},
        {"32-bit length past the end", record(bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 'a'})), false},
        {"name of 50 bytes", record(bytes({50}) + QByteArray(50, 'x') + bytes({1, '1'})), false},
        {"name of 49 bytes", record(bytes({49}) + QByteArray(49, 'x') + bytes({1, '1'})), true},
        {"NUL in the name", record(bytes({2, 'a', 0, 1, '1'})), false},
        {"number of 61 digits", record(bytes({1, 'N', 61}) + QByteArray(61, '1')), false},
        {"number with a plus", record(bytes({1, 'N', 2, '+', '1'})), false},
        {"number with a letter", record(bytes({1, 'N', 2, '1', 'a'})), false},
        {"ton 8", record(bytes({1, 'N', 1, '1'}), bytes({0x08, 0x00})), false},
        {"npi 16", record(bytes({1, 'N', 1, '1'}), bytes({0x01, 0x10})), false},
        {"no end mark", bytes({1, 0, 0, 0}), false},
        {"end mark only", bytes({1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}), true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(decodeDialPayload(c.payload).has_value(), c.accepted) << c.what;
}

TEST(DialClipboard, TextFormHoldsTheValidEntries)
{
    std::vector<DialEntry> entries = {entry(0, "Anna", "420123", 1), DialEntry::emptyAt(1), entry(2, "Bob", "555", 0),
                                      entry(3, "Odd", "777", 2)};
    EXPECT_EQ(dialClipText(pointers(entries)), "Anna\t'+420123\r\nBob\t'555\r\nOdd\t'777\r\n");
    EXPECT_EQ(dialClipText(pointers({DialEntry::emptyAt(1)})), "");
}

} // namespace
