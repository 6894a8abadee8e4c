#include "sim/DialFiles.h"

#include "DialFilesFixture.h"

// The first read of the phone book: the opening, EF_ADN's size, the invalidation test, the sizes
// of both extension files and their records, then every EF_ADN record after a progress update.
// A second read with the images kept sends the SELECTs again and no READ RECORD.
TEST_F(DialFilesTest, FirstPhoneBookReadSequenceAndNoRecordReadsFromTheCache)
{
    Sink sink;
    ASSERT_TRUE(sim().beginProgress(&sink, 5000, 5100));
    ASSERT_TRUE(open());
    std::vector<DialEntry> entries(250);
    DialListSize result;
    ASSERT_TRUE(files->readDialList(kEfAdn, entries, result)) << toInt(sim().lastStatus());
    sim().closeCard();
    EXPECT_FALSE(bench->reader->cardPowered());

    std::vector<std::string> expected = {
        "ATR",
        "A0 A4 00 00 02 3F 00",
        "A0 C0 00 00 22",
        "A0 A4 00 00 02 2F E2",
        "A0 C0 00 00 0F",
        "A0 B0 00 00 0A",
        "A0 A4 00 00 02 3F 00",
        "A0 C0 00 00 22",
        "A0 A4 00 00 02 2F E2",
        "A0 C0 00 00 0F",
        "A0 B0 00 00 0A",
        "A0 20 00 01 08 31 32 33 34 FF FF FF FF",
        "A0 A4 00 00 02 3F 00",
        "A0 C0 00 00 22",
        "A0 A4 00 00 02 7F 20",
        "A0 C0 00 00 22",
        "A0 A4 00 00 02 6F 38",
        "A0 C0 00 00 0F",
        "A0 B0 00 00 0A",
        "A0 A4 00 00 02 6F AE",
        "A0 C0 00 00 0F",
        "A0 B0 00 00 01",
    };
    const std::size_t opening = expected.size();
    auto add = [&](const std::vector<std::string>& more) { expected.insert(expected.end(), more.begin(), more.end()); };
    add(select(kMf, 0x22));
    add(select(kDfTelecom, 0x22));
    add(select(kEfAdn, 0x0F));
    add(select(kEfAdn, 0x0F)); // invalidation test
    add(select(kEfExt2, 0x0F));
    add(select(kEfExt1, 0x0F));
    for (int r = 1; r <= 10; ++r)
        expected.push_back(readRecordApdu(r, 13));
    add(select(kEfExt2, 0x0F));
    for (int r = 1; r <= 10; ++r)
        expected.push_back(readRecordApdu(r, 13));
    add(select(kEfAdn, 0x0F));
    for (int r = 1; r <= 250; ++r)
        expected.push_back(readRecordApdu(r, kRecordLength));
    EXPECT_EQ(rec().log, expected);

    // One progress update before each EF_ADN record, none for the extension files.
    EXPECT_EQ(sink.count(QStringLiteral("Reading phone book from SIM\nReading item ")), 250);
    EXPECT_EQ(sink.texts.back(), QStringLiteral("Reading phone book from SIM\nReading item 250 (total 250)"));
    EXPECT_EQ(sink.percents.back(), 100);
    EXPECT_EQ(result.count, 250);
    EXPECT_EQ(result.alphaLength, 14);

    // Again with the images kept: the same selections, no record read, the same entries.
    bench->clearLog();
    ASSERT_TRUE(open());
    EXPECT_EQ(prompt.asked, 1); // the remembered PIN1
    std::vector<DialEntry> again(250);
    ASSERT_TRUE(files->readDialList(kEfAdn, again, result));
    sim().closeCard();
    EXPECT_EQ(rec().count("A0 B2"), 0);
    std::vector<std::string> selects(expected.begin() + static_cast<std::ptrdiff_t>(opening),
                                     expected.begin() + static_cast<std::ptrdiff_t>(opening) + 12);
    selects.push_back("A0 A4 00 00 02 6F 3A");
    selects.push_back("A0 C0 00 00 0F");
    EXPECT_EQ(std::vector<std::string>(rec().log.begin() + static_cast<std::ptrdiff_t>(opening), rec().log.end()),
              selects);
    for (std::size_t k = 0; k < again.size(); ++k)
        EXPECT_EQ(numberOf(again[k]), numberOf(entries[k])) << k;
    sim().endProgress(true);
}

// What the standard card holds, file by file, including the 24-digit number whose last four
// digits live in EF_EXT1 and the last-dialled number without a name.
TEST_F(DialFilesTest, ReadsTheStandardCard)
{
    struct Expected
    {
        int position;
        std::string name;
        std::string number;
        uint8_t ton;
        uint8_t extId;
    };
    struct Case
    {
        uint16_t file;
        std::size_t capacity;
        int count;
        std::vector<Expected> entries;
    };
    const Case cases[] = {
        {kEfAdn,
         250,
         250,
         {{0, "Mother", "420602111222", 1, 0xFF},
          {1, "Office", "224123456", 0, 0xFF},
          {2, "Voicemail", "*77#", 0, 0xFF},
          {3, "Conference bri", "123456789012345678901234", 0, 1},
          {5, "Pizza", "777888999", 0, 0xFF},
          {6, "Hotel Vienna", "43153163001", 1, 0xFF},
          {7, "Jens Weber", "4930123456", 1, 0xFF},
          {8, "Frau Grossmann", "4315121234", 1, 0xFF},
          {9, "Dr. Strauss", "4989765432", 1, 0xFF},
          {10, "Taxi", "14014", 0, 0xFF},
          {11, "Anne Marie", "33145678901", 1, 0xFF},
          {12, "Dentist", "241012345", 0, 0xFF}}},
        {kEfFdn, 250, 10, {{0, "Emergency", "112", 0, 0xFF}, {1, "Mother", "420602111222", 1, 0xFF}}},
        {kEfLnd, 150, 10, {{0, "Office", "224123456", 0, 0xFF}, {1, "", "800123456", 0, 0xFF}}},
        {kEfMsisdn, 150, 2, {{0, "My number", "420603123456", 1, 0xFF}}},
    };
    for (const Case& c : cases) {
        DialListSize size;
        const std::vector<DialEntry> got = read(c.file, c.capacity, &size);
        ASSERT_EQ(size.count, c.count) << c.file;
        EXPECT_EQ(size.alphaLength, 14);
        int valid = 0;
        for (const DialEntry& e : got) {
            EXPECT_EQ(e.position, &e - got.data());
            valid += e.valid ? 1 : 0;
        }
        EXPECT_EQ(valid, static_cast<int>(c.entries.size())) << c.file;
        for (const Expected& x : c.entries) {
            const DialEntry& e = got[static_cast<std::size_t>(x.position)];
            EXPECT_TRUE(e.valid) << c.file << " " << x.position;
            EXPECT_EQ(nameOf(e), x.name);
            EXPECT_EQ(numberOf(e), x.number);
            EXPECT_EQ(e.ton, x.ton);
            EXPECT_EQ(e.extId, x.extId);
        }
    }
    // The nameless EF_LND record counts as free in its check map, its neighbour as used.
    const RecordMap& lnd = *sim().recordMap(CachedFile::Lnd);
    EXPECT_EQ(lnd.flags[0], CheckFlag::kInUse);
    EXPECT_EQ(lnd.flags[1], 0);
}

TEST_F(DialFilesTest, EntriesReadAreTheFewerOfRoomAndRecords)
{
    struct Case
    {
        int records;
        std::size_t room;
        int count;
    };
    for (const Case c : {Case{200, 250, 200}, Case{254, 250, 250}, Case{10, 6, 6}}) {
        use(standardCardWith([&](emulator::SimCardData& d) {
            findFile(d, kEfAdn)->data.resize(static_cast<std::size_t>(c.records * kRecordLength), 0xFF);
        }));
        std::vector<DialEntry> entries(c.room);
        entries[c.room - 1].valid = 1; // cleared by the read whether it is filled or not
        DialListSize result;
        ASSERT_TRUE(open());
        ASSERT_TRUE(files->readDialList(kEfAdn, entries, result));
        EXPECT_EQ(result.count, c.count) << c.records;
        EXPECT_EQ(rec().count("A0 B2"), 20 + c.records);      // both extension files, then every record
        EXPECT_EQ(entries.back().valid, c.room == 6 ? 1 : 0); // record 6 holds an entry
        EXPECT_EQ(entries.back().position, c.room - 1);
    }
}

// Numbers of every length the records and EF_EXT1 can hold, written and read back from the card;
// a second write with short numbers gives the extension records back.
TEST_F(DialFilesTest, WriteAndReadBackWithExtensionRecords)
{
    std::vector<DialEntry> book = {
        entry(0, "Twenty", digits(20)), entry(1, "Twenty-one", digits(21)), entry(2, "Forty-five", digits(45), 1),
        entry(4, "Sixty", digits(60)),  entry(9, "Plain", "5551234"),       entry(249, "Last", "*31#"),
    };
    ASSERT_TRUE(write(kEfAdn, book)) << toInt(sim().lastStatus());
    for (const DialEntry& e : book)
        EXPECT_EQ(e.modified, 0);
    // 21 digits: one extension record; 45 and 60 digits: two each.
    EXPECT_EQ(usedExtensionRecords(kEfExt1), 5);
    // The old contents of the records not given are gone.
    EXPECT_EQ(cardRecord(kEfAdn, 6), std::vector<uint8_t>(kRecordLength, 0xFF));

    // The images kept by the write and the card read afresh agree with what was written.
    for (const bool fresh : {false, true}) {
        if (fresh)
            sim().flushCaches();
        bench->clearLog();
        const std::vector<DialEntry> got = read(kEfAdn);
        EXPECT_EQ(rec().count("A0 B2") > 0, fresh);
        ASSERT_EQ(got.size(), 250u);
        for (const DialEntry& e : book) {
            const DialEntry& g = got[e.position];
            EXPECT_TRUE(g.valid) << e.position;
            EXPECT_EQ(nameOf(g), nameOf(e)) << e.position;
            EXPECT_EQ(numberOf(g), numberOf(e)) << e.position;
            EXPECT_EQ(g.ton, e.ton);
        }
        EXPECT_EQ(std::count_if(got.begin(), got.end(), [](const DialEntry& e) { return e.valid != 0; }),
                  static_cast<long>(book.size()));
    }

    std::vector<DialEntry> shorter = {entry(0, "Short", "123")};
    ASSERT_TRUE(write(kEfAdn, shorter));
    EXPECT_EQ(usedExtensionRecords(kEfExt1), 0);
    const RecordMap& links = *sim().recordMap(CachedFile::Ext1);
    EXPECT_TRUE(std::all_of(links.flags.begin(), links.flags.end(), [](uint8_t f) { return f == 0; }));
}

TEST_F(DialFilesTest, CyclicLastDialledFileKeepsItsOrder)
{
    std::vector<DialEntry> lnd = {entry(0, "Newest", "111"), entry(1, "", digits(30)), entry(9, "Oldest", "999")};
    ASSERT_TRUE(write(kEfLnd, lnd)) << toInt(sim().lastStatus());
    EXPECT_EQ(rec().count("A0 DC 00 03 1C"), 10); // UPDATE RECORD PREVIOUS, once per record
    sim().flushCaches();
    const std::vector<DialEntry> got = read(kEfLnd, 150);
    ASSERT_EQ(got.size(), 10u);
    EXPECT_EQ(nameOf(got[0]), "Newest");
    EXPECT_EQ(numberOf(got[1]), digits(30));
    EXPECT_EQ(nameOf(got[9]), "Oldest");
    EXPECT_FALSE(got[2].valid);
}

TEST_F(DialFilesTest, Failures)
{
    struct Case
    {
        const char* what;
        std::function<void(emulator::SimCardData&)> edit;
        uint16_t file;
        bool writing;
        std::vector<DialEntry> entries;
        CardStatus status;
    };
    auto noService = [](int n) {
        return [n](emulator::SimCardData& d) {
            auto& sst = findFile(d, kEfSst)->data;
            sst[static_cast<std::size_t>((n - 1) / 4)] &= static_cast<uint8_t>(~(3 << (2 * ((n - 1) % 4))));
        };
    };
    auto invalidatedAdn = [](emulator::SimCardData& d) { findFile(d, kEfAdn)->invalidated = true; };
    const Case cases[] = {
        {"position past the file",
         {},
         kEfAdn,
         true,
         {entry(0, "A", "1"), entry(250, "B", "2")},
         CardStatus::PositionsOverflow},
        {"fixed dialling in force, read", invalidatedAdn, kEfAdn, false, {}, CardStatus::InaccessibleRecord},
        {"fixed dialling in force, write",
         invalidatedAdn,
         kEfAdn,
         true,
         {entry(0, "A", "1")},
         CardStatus::InaccessibleRecord},
        {"no ADN service, read", noService(gsm::service::kAdn), kEfAdn, false, {}, CardStatus::FileNotAccessible},
        {"no ADN service, write", noService(gsm::service::kAdn), kEfAdn, true, {}, CardStatus::FileNotAccessible},
        {"no LND service", noService(gsm::service::kLnd), kEfLnd, false, {}, CardStatus::FileNotAccessible},
        {"not a dialling-number file", {}, kEfSms, false, {}, CardStatus::NonSpecificError},
        {"FDN without PIN2", {}, kEfFdn, true, {entry(0, "Taxi", "1414")}, CardStatus::NoValidPin},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        use(standardCardWith([&](emulator::SimCardData& d) {
            if (c.edit)
                c.edit(d);
        }));
        const emulator::SimCardData before = card();
        ASSERT_TRUE(open());
        // An image kept from before: dropped by a failure, kept by a missing service and by an
        // invalidated file (nothing was read).
        sim().image(CachedFile::Msisdn) = FileImage(2, kRecordLength);
        bench->clearLog();
        std::vector<DialEntry> entries = c.entries;
        entries.resize(std::max<std::size_t>(entries.size(), 1));
        DialListSize result;
        const bool ok =
            c.writing ? files->writeDialList(c.file, entries, result) : files->readDialList(c.file, entries, result);
        EXPECT_FALSE(ok);
        EXPECT_EQ(sim().lastStatus(), c.status);
        EXPECT_EQ(sim().image(CachedFile::Msisdn).has_value(),
                  c.status == CardStatus::FileNotAccessible || c.status == CardStatus::InaccessibleRecord);
        EXPECT_EQ(card(), before); // nothing written
        if (c.status != CardStatus::NoValidPin) {
            EXPECT_EQ(rec().count("A0 DC"), 0);
        }
        if (c.status == CardStatus::FileNotAccessible) {
            EXPECT_EQ(rec().log.size(), 0u);
        }
        sim().closeCard();
    }

    // Without a reader.
    SimCard lonely([]() -> CardReader* { return nullptr; });
    DialFiles none(lonely);
    std::vector<DialEntry> entries(1);
    DialListSize result;
    EXPECT_FALSE(none.readDialList(kEfAdn, entries, result));
    EXPECT_EQ(lonely.lastStatus(), CardStatus::ReaderInaccessible);
    EXPECT_FALSE(none.writeDialList(kEfAdn, entries, result));
    EXPECT_EQ(lonely.lastStatus(), CardStatus::ReaderInaccessible);
}

// Six numbers of 45 digits want twelve extension records, EF_EXT1 has ten: the write is refused
// whole before the first UPDATE.
TEST_F(DialFilesTest, NoFreeExtensionRecordWritesNothing)
{
    std::vector<DialEntry> book;
    for (uint16_t p = 0; p < 6; ++p)
        book.push_back(entry(p, "Long", digits(45)));
    const emulator::SimCardData before = card();
    bench->clearLog();
    EXPECT_FALSE(write(kEfAdn, book));
    EXPECT_EQ(sim().lastStatus(), CardStatus::ExtensionSpaceOverflow);
    EXPECT_EQ(rec().count("A0 DC"), 0);
    EXPECT_EQ(card(), before);
    EXPECT_FALSE(sim().image(CachedFile::Adn).has_value());
    EXPECT_FALSE(sim().image(CachedFile::Ext1).has_value());
    EXPECT_EQ(book[0].modified, 1);
    EXPECT_EQ(nameOf(read(kEfAdn)[5]), "Pizza");
}

// Abort at the 5th of 100 writes: records 1-4 hold the new entries, the others their old contents,
// including an old entry whose chain shares its extension record with a record already rewritten.
TEST_F(DialFilesTest, AbortLeavesTheRestOfTheFileUnchanged)
{
    use(standardCardWith([](emulator::SimCardData& d) {
        findFile(d, kEfAdn)->data.resize(100 * kRecordLength, 0xFF);
        const auto conference = fileRecord(d, kEfAdn, 4);
        std::vector<uint8_t> copy(conference.begin(), conference.end());
        std::copy(copy.begin(), copy.end(), fileRecord(d, kEfAdn, 50).begin());
    }));
    const emulator::SimCardData before = card();
    std::vector<DialEntry> book;
    for (uint16_t p = 0; p < 100; ++p)
        book.push_back(entry(p, "New", "12345"));

    Sink sink;
    sink.abortPrefix = QStringLiteral("Writing phone book to SIM\nWriting Item");
    sink.abortAtCount = 5;
    ASSERT_TRUE(sim().beginProgress(&sink, 5000, 5100));
    EXPECT_FALSE(write(kEfAdn, book));
    sim().endProgress(true);
    EXPECT_EQ(sim().lastStatus(), CardStatus::CancelledByUser);
    EXPECT_EQ(sink.texts.back(), QStringLiteral("Writing phone book to SIM\nWriting Item 5 (total 100)"));
    EXPECT_EQ(sink.percents.back(), 4);
    const emulator::SimFile* old = findFile(before, kEfAdn);
    for (int r = 1; r <= 100; ++r) {
        const std::vector<uint8_t> was(old->data.begin() + (r - 1) * kRecordLength,
                                       old->data.begin() + r * kRecordLength);
        if (r <= 4) {
            EXPECT_NE(cardRecord(kEfAdn, r), was) << r;
        } else {
            EXPECT_EQ(cardRecord(kEfAdn, r), was) << r;
        }
    }
    EXPECT_FALSE(sim().image(CachedFile::Adn).has_value());
    EXPECT_FALSE(sim().recordMap(CachedFile::Ext1).has_value());

    const std::vector<DialEntry> got = read(kEfAdn);
    for (int p = 0; p < 4; ++p)
        EXPECT_EQ(nameOf(got[static_cast<std::size_t>(p)]), "New");
    EXPECT_EQ(nameOf(got[5]), "Pizza");
    EXPECT_EQ(numberOf(got[49]), "123456789012345678901234");
}

// An EF_EXT1 record linked from EF_ADN and EF_LND is neither cleared nor reused by a write of
// EF_ADN; one linked from EF_ADN alone is.
TEST_F(DialFilesTest, ExtensionRecordSharedWithAnotherFileSurvives)
{
    use(standardCardWith([](emulator::SimCardData& d) {
        const auto conference = fileRecord(d, kEfAdn, 4);
        std::vector<uint8_t> copy(conference.begin(), conference.end());
        std::copy(copy.begin(), copy.end(), fileRecord(d, kEfLnd, 3).begin());
        // A second chain, EF_ADN's alone, in EF_EXT1 record 2, from record 7.
        auto ext = fileRecord(d, kEfExt1, 2);
        const uint8_t piece[13] = {0x02, 0x01, 0xF5, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
        std::copy(std::begin(piece), std::end(piece), ext.begin());
        fileRecord(d, kEfAdn, 7)[kX + 13] = 2;
    }));
    ASSERT_TRUE(open());
    ASSERT_TRUE(files->loadLinkMaps(DialScan::kAdn | DialScan::kLnd));
    const RecordMap& links = *sim().recordMap(CachedFile::Ext1);
    EXPECT_EQ(links.flags[0], LinkFlag::kInUse | LinkFlag::kLinked | LinkFlag::kLinkedTwice | LinkFlag::kSharedByFiles |
                                  LinkFlag::kFromAdnOrFdn | LinkFlag::kFromLnd);
    EXPECT_EQ(links.flags[1], LinkFlag::kInUse | LinkFlag::kLinked | LinkFlag::kFromAdnOrFdn);
    sim().closeCard();

    const std::vector<uint8_t> shared = cardRecord(kEfExt1, 1);
    std::vector<DialEntry> book = {entry(0, "Long", digits(21))};
    ASSERT_TRUE(write(kEfAdn, book));
    EXPECT_EQ(cardRecord(kEfExt1, 1), shared);
    EXPECT_NE(cardRecord(kEfAdn, 1)[kX + 13], 1);
    EXPECT_EQ(cardRecord(kEfExt1, 2), std::vector<uint8_t>(13, 0xFF)); // EF_ADN's alone: given up
    EXPECT_EQ(usedExtensionRecords(kEfExt1), 2);
    EXPECT_EQ(numberOf(read(kEfLnd, 150)[2]), "123456789012345678901234");
}

// With EF_ADN invalidated its links cannot be read: a write of EF_LND takes only empty extension
// records, so EF_ADN's chain stays whole for when fixed dialling is switched off.
TEST_F(DialFilesTest, UnreadablePhoneBookKeepsItsExtensionRecords)
{
    use(standardCardWith([](emulator::SimCardData& d) { findFile(d, kEfAdn)->invalidated = true; }));
    const std::vector<uint8_t> adnChain = cardRecord(kEfExt1, 1);
    std::vector<DialEntry> lnd = {entry(0, "Long", digits(30))};
    ASSERT_TRUE(write(kEfLnd, lnd)) << toInt(sim().lastStatus());
    EXPECT_TRUE(files->adnInvalidated());
    EXPECT_EQ(cardRecord(kEfExt1, 1), adnChain);
    EXPECT_EQ(cardRecord(kEfLnd, 1)[kX + 13], 2);
    EXPECT_EQ(numberOf(read(kEfLnd, 150)[0]), digits(30));
}

TEST_F(DialFilesTest, FixedDiallingWriteNeedsPin2)
{
    std::vector<DialEntry> fdn = {entry(0, "Emergency", "112"), entry(1, "Abroad", digits(30), 1)};
    EXPECT_FALSE(write(kEfFdn, fdn));
    EXPECT_EQ(sim().lastStatus(), CardStatus::NoValidPin);

    ASSERT_TRUE(write(kEfFdn, fdn, true)) << toInt(sim().lastStatus());
    EXPECT_EQ(usedExtensionRecords(kEfExt2), 1);
    EXPECT_EQ(usedExtensionRecords(kEfExt1), 1); // EF_ADN's, untouched
    sim().flushCaches();
    const std::vector<DialEntry> got = read(kEfFdn);
    EXPECT_EQ(numberOf(got[1]), digits(30));
    EXPECT_EQ(got[1].ton, 1);
    EXPECT_FALSE(got[2].valid);
}

// Check maps of records with broken chains, and the link map they leave. EF_ADN record 4 links
// EF_EXT1 record 1 on the standard card; record 1 is changed here.
TEST_F(DialFilesTest, CheckMapsOfBrokenChains)
{
    struct Case
    {
        const char* what;
        uint8_t link;       // EF_ADN record 4, byte X+13
        uint8_t next;       // EF_EXT1 record 1, byte 12
        uint8_t type;       // EF_EXT1 record 1, byte 0
        uint8_t check;      // check map of EF_ADN record 4
        uint8_t linkFlags1; // link map of EF_EXT1 record 1
        uint8_t linkFlags3;
    };
    constexpr uint8_t used = LinkFlag::kInUse;
    constexpr uint8_t adn = LinkFlag::kInUse | LinkFlag::kLinked | LinkFlag::kFromAdnOrFdn;
    const Case cases[] = {
        {"sound", 1, 0xFF, 0x02, CheckFlag::kInUse | CheckFlag::kAdditionalData, adn, used},
        {"subaddress", 1, 0xFF, 0x01, CheckFlag::kInUse | CheckFlag::kSubaddress, adn, used},
        {"link 0", 0, 0xFF, 0x02, CheckFlag::kInUse | CheckFlag::kBadLink, used, used},
        {"link past the file", 11, 0xFF, 0x02, CheckFlag::kInUse | CheckFlag::kBadLink, used, used},
        {"link to an empty record", 9, 0xFF, 0x02, CheckFlag::kInUse | CheckFlag::kEmptyLink, used, used},
        {"chain link 0", 1, 0, 0x02, CheckFlag::kInUse | CheckFlag::kAdditionalData | CheckFlag::kBadChainLink, adn,
         used},
        {"chain link past the file", 1, 200, 0x02,
         CheckFlag::kInUse | CheckFlag::kAdditionalData | CheckFlag::kBadChainLink, adn, used},
        {"chain link to an empty record", 1, 8, 0x02,
         CheckFlag::kInUse | CheckFlag::kAdditionalData | CheckFlag::kEmptyChainLink, adn, used},
        {"chain into record 3", 1, 3, 0x02, CheckFlag::kInUse | CheckFlag::kAdditionalData, adn,
         adn | LinkFlag::kFromChain},
        // 1 -> 3 -> 1: record 1 is linked from EF_ADN and from record 3.
        {"loop", 1, 3, 0x02, CheckFlag::kInUse | CheckFlag::kAdditionalData,
         adn | LinkFlag::kLinkedTwice | LinkFlag::kFromChain, adn | LinkFlag::kFromChain},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const bool loop = std::string(c.what) == "loop";
        use(standardCardWith([&](emulator::SimCardData& d) {
            fileRecord(d, kEfAdn, 4)[kX + 13] = c.link;
            auto ext1 = fileRecord(d, kEfExt1, 1);
            ext1[12] = c.next;
            ext1[0] = c.type;
            // Record 3: one more digit, ending the chain (or closing the loop).
            const uint8_t piece[13] = {0x02, 0x01, 0xF9, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
            auto ext3 = fileRecord(d, kEfExt1, 3);
            std::copy(std::begin(piece), std::end(piece), ext3.begin());
            if (loop)
                ext3[12] = 1;
        }));
        ASSERT_TRUE(open());
        ASSERT_TRUE(files->loadLinkMaps(DialScan::kAdn));
        EXPECT_EQ(sim().recordMap(CachedFile::Adn)->flags[3], c.check);
        EXPECT_EQ(sim().recordMap(CachedFile::Ext1)->flags[0], c.linkFlags1);
        EXPECT_EQ(sim().recordMap(CachedFile::Ext1)->flags[2], c.linkFlags3);
        EXPECT_EQ(sim().recordMap(CachedFile::Adn)->flags[0], CheckFlag::kInUse);
        EXPECT_EQ(sim().recordMap(CachedFile::Adn)->flags[4], 0);
        sim().closeCard();

        // Whatever the chain, the file reads and a rewrite gives back what EF_ADN alone held.
        const std::vector<DialEntry> got = read(kEfAdn);
        EXPECT_EQ(numberOf(got[3]).substr(0, 20), "12345678901234567890");
        std::vector<DialEntry> book = {entry(3, "Short", "1")};
        ASSERT_TRUE(write(kEfAdn, book));
        EXPECT_EQ(usedExtensionRecords(kEfExt1),
                  2 - (c.linkFlags1 & LinkFlag::kLinked ? 1 : 0) - (c.linkFlags3 & LinkFlag::kLinked ? 1 : 0));
    }
}

TEST_F(DialFilesTest, ScanNeedsTheLinkMapAndAKnownFile)
{
    ASSERT_TRUE(open());
    EXPECT_FALSE(files->scanDialFile(kEfAdn));
    EXPECT_EQ(sim().lastStatus(), CardStatus::NonSpecificError);
    EXPECT_FALSE(files->scanDialFile(kEfSms));
    EXPECT_EQ(sim().lastStatus(), CardStatus::NonSpecificError);
    // EF_SMS is read by its own reader; without one the request fails rather than half-done.
    EXPECT_FALSE(files->loadLinkMaps(DialScan::kSms));
    EXPECT_EQ(sim().lastStatus(), CardStatus::NonSpecificError);
    int smsTexts = 0;
    ASSERT_TRUE(open());
    files->setSmsScan([&](int textId) {
        smsTexts = textId;
        return true;
    });
    EXPECT_TRUE(files->loadLinkMaps(DialScan::kSms | DialScan::kMsisdn, 5016));
    EXPECT_EQ(smsTexts, 5016);
    EXPECT_TRUE(sim().recordMap(CachedFile::Msisdn).has_value());
    EXPECT_FALSE(sim().recordMap(CachedFile::Adn).has_value());
}
