#include "sim/FileResponses.h"

#include <vector>

#include <gtest/gtest.h>

using namespace kestrel;

// EF responses as cards send them: size, id, file status, structure and record length decide every
// transfer, and a short answer leaves the rest at 0.
TEST(FileResponses, FileInfoFromEfResponses)
{
    struct Case
    {
        const char* what;
        std::vector<uint8_t> response;
        FileStructure structure;
        int size, recordLength, recordCount;
        bool invalidated;
    };
    // Bytes 1-15: RFU, RFU, size (2), id (2), type, RFU, access (3), status, length, structure, record length.
    const Case cases[] = {
        {"linear fixed",
         {0, 0, 0x1B, 0x58, 0x6F, 0x3A, 4, 0, 0x11, 0xFF, 0x44, 0x01, 2, 0x01, 28},
         FileStructure::LinearFixed,
         7000,
         28,
         250,
         false},
        {"cyclic, invalidated",
         {0, 0, 0, 30, 0x6F, 0x44, 4, 0, 0x11, 0xFF, 0x44, 0x04, 2, 0x03, 15},
         FileStructure::Cyclic,
         30,
         15,
         2,
         true},
        {"transparent has no records",
         {0, 0, 0, 9, 0x6F, 0x07, 4, 0, 0x14, 0xFF, 0x44, 0x01, 2, 0x00, 28},
         FileStructure::Transparent,
         9,
         0,
         0,
         false},
        {"unknown structure",
         {0, 0, 0, 20, 0x6F, 0x07, 4, 0, 0, 0, 0, 0x01, 2, 0x02, 10},
         FileStructure::Other,
         20,
         10,
         2,
         false},
        {"record length 0",
         {0, 0, 0, 20, 0x6F, 0x3A, 4, 0, 0, 0, 0, 0x01, 2, 0x01, 0},
         FileStructure::LinearFixed,
         20,
         0,
         0,
         false},
        {"only the size", {0, 0, 0x01, 0x00}, FileStructure::Transparent, 256, 0, 0, true},
        {"nothing", {}, FileStructure::Transparent, 0, 0, 0, true},
    };
    for (const Case& c : cases) {
        const FileInfo info = FileInfo::parse(c.response);
        EXPECT_EQ(info.structure, c.structure) << c.what;
        EXPECT_EQ(info.fileSize, c.size) << c.what;
        EXPECT_EQ(info.recordLength, c.recordLength) << c.what;
        EXPECT_EQ(info.recordCount, c.recordCount) << c.what;
        EXPECT_EQ(info.invalidated, c.invalidated) << c.what;
        EXPECT_TRUE(std::equal(c.response.begin(), c.response.end(), info.bytes.begin())) << c.what;
    }

    FileInfo adn = FileInfo::parse(cases[0].response);
    EXPECT_EQ(adn.fileId, 0x6F3A);
    EXPECT_EQ(adn.access, (std::array<uint8_t, 3>{0x11, 0xFF, 0x44}));
    adn.setInvalidated(true);
    EXPECT_TRUE(adn.invalidated);
    EXPECT_EQ(adn.status, 0x00);
    EXPECT_EQ(adn.bytes[11], 0x00);
    adn.setInvalidated(false);
    EXPECT_EQ(adn.bytes[11], 0x01);
}

// MF/DF responses: CHV1 enabled from the file characteristics, the four code status bytes, and a
// CHV2 that is not set up never counts as blocked.
TEST(FileResponses, DirectoryInfoFromMfResponses)
{
    // Bytes 1-22: RFU, RFU, free memory (2), id (2), type, RFU x5, length, characteristics, DFs,
    // EFs, codes, RFU, CHV1, UNBLOCK CHV1, CHV2, UNBLOCK CHV2.
    const std::vector<uint8_t> mf = {0, 0, 0x12, 0x34, 0x3F, 0x00, 1, 0,    0,    0,    0,
                                     0, 9, 0x83, 2,    9,    4,    0, 0x83, 0x8A, 0x00, 0x0A};
    const DirectoryInfo info = DirectoryInfo::parse(mf);
    EXPECT_EQ(info.freeMemory, 0x1234);
    EXPECT_EQ(info.fileId, 0x3F00);
    EXPECT_FALSE(info.chv1Enabled);
    EXPECT_EQ(info.dfCount, 2);
    EXPECT_EQ(info.efCount, 9);
    EXPECT_EQ(info.codeCount, 4);
    EXPECT_TRUE(info.chv1.initialised);
    EXPECT_EQ(info.chvAttemptsLeft(1, false), 3);
    EXPECT_EQ(info.chvAttemptsLeft(1, true), 10);
    EXPECT_FALSE(info.chv2.initialised);
    EXPECT_EQ(info.chvAttemptsLeft(2, false), 0);
    EXPECT_EQ(info.chvAttemptsLeft(2, true), 10);
    EXPECT_FALSE(info.chvBlocked(1));
    EXPECT_FALSE(info.chvBlocked(2)); // no PIN2 on this card

    std::vector<uint8_t> blocked = mf;
    blocked[13] = 0x03; // CHV1 enabled
    blocked[18] = 0x80; // CHV1: no try left
    blocked[20] = 0x80; // CHV2 set up, no try left
    const DirectoryInfo b = DirectoryInfo::parse(blocked);
    EXPECT_TRUE(b.chv1Enabled);
    EXPECT_TRUE(b.chvBlocked(1));
    EXPECT_TRUE(b.chvBlocked(2));

    // A bare answer: nothing is known, so CHV1 reads as enabled and without tries.
    const DirectoryInfo none = DirectoryInfo::parse({});
    EXPECT_TRUE(none.chv1Enabled);
    EXPECT_TRUE(none.chvBlocked(1));
    EXPECT_EQ(none.fileId, 0);
}
