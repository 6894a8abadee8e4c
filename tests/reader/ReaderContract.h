#pragma once

// The session every reader kind must carry through alike, written once: answer to reset, SELECT
// with GET RESPONSE, VERIFY CHV1 wrong then right, READ and UPDATE RECORD, commands with P3 = 0,
// and a pulled card. The reader comes opened, with the standard SIM (PIN1 1234, CHV1 enabled) in it.

#include <algorithm>
#include <cstdint>
#include <functional>
#include <ios>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "gsm/FileIds.h"
#include "gsm/Instructions.h"
#include "gsm/Responses.h"
#include "gsm/StatusWords.h"
#include "reader/CardReader.h"
#include "reader/ReaderCommands.h"

namespace kestrel::test {

namespace contract {

namespace response = gsm::response;
using gsm::kClass;

// SELECT, then GET RESPONSE of the length the card announced with 9F xx; the response bytes.
inline std::vector<uint8_t> select(CardReader& reader, uint16_t id)
{
    const Reply s = command(reader, {kClass, gsm::ins::kSelect, 0, 0, 2},
                            {static_cast<uint8_t>(id >> 8), static_cast<uint8_t>(id)});
    EXPECT_EQ(s.status, CardStatus::Ok);
    EXPECT_EQ(gsm::sw1(s.sw), gsm::sw::kSw1ResponseWaiting) << std::hex << id << ": " << s.sw;
    const Reply r = command(reader, {kClass, gsm::ins::kGetResponse, 0, 0, gsm::sw2(s.sw)});
    EXPECT_EQ(r.status, CardStatus::Ok);
    EXPECT_EQ(r.sw, gsm::sw::kOk) << std::hex << id;
    return r.data;
}

// CHV1's false presentations left, as the MF's response tells; -1 when it cannot be read.
inline int chv1Attempts(CardReader& reader)
{
    const std::vector<uint8_t> mf = select(reader, gsm::fid::kMf);
    return mf.size() > response::kChv1Status ? mf[response::kChv1Status] & response::kAttemptsMask : -1;
}

inline Reply verifyChv1(CardReader& reader, const std::string& code)
{
    return command(reader, {kClass, gsm::ins::kVerifyChv, 0, 1, gsm::kChvBlockLength}, pinBlock(code));
}

inline std::vector<uint8_t> recordHeader(uint8_t ins, uint8_t p3)
{
    return {kClass, ins, 1, gsm::recordMode::kAbsolute, p3};
}

} // namespace contract

// pullCard takes the card out of the reader (and returns once the reader can see it is gone).
inline void readerContractSession(CardReader& reader, const std::function<void()>& pullCard)
{
    using namespace contract;
    using gsm::ins::kReadRecord;
    using gsm::ins::kUpdateRecord;

    ReaderBuffer atr(33);
    unsigned flags = 0;
    ASSERT_EQ(reader.activateCard(&atr, flags), CardStatus::Ok);
    ASSERT_GE(atr.count, 2);
    EXPECT_EQ(atr.data[0], 0x3B);
    EXPECT_TRUE(reader.cardPowered());
    EXPECT_TRUE(reader.cardActive());

    // SELECT with GET RESPONSE; GET RESPONSE with P3 = 0 gets the card's answer: wrong length,
    // and the right one.
    const std::vector<uint8_t> mf = select(reader, gsm::fid::kMf);
    ASSERT_GE(mf.size(), response::kDirectoryMinimum);
    EXPECT_EQ(mf[response::kFileId], 0x3F);
    EXPECT_EQ(mf[response::kFileId + 1], 0x00);
    const int attempts = mf[response::kChv1Status] & response::kAttemptsMask;
    EXPECT_EQ(attempts, 3);
    Reply r = command(reader, {kClass, gsm::ins::kGetResponse, 0, 0, 0});
    EXPECT_EQ(r.status, CardStatus::Ok);
    EXPECT_EQ(r.sw, gsm::sw::kWrongP3 | mf.size());

    // A wrong CHV1 costs a try; the right one gives it back.
    r = verifyChv1(reader, "0000");
    EXPECT_EQ(r.status, CardStatus::Ok);
    EXPECT_EQ(r.sw, gsm::sw::kAccessNotFulfilled);
    EXPECT_EQ(chv1Attempts(reader), attempts - 1);
    r = verifyChv1(reader, "1234");
    EXPECT_EQ(r.sw, gsm::sw::kOk);
    EXPECT_EQ(chv1Attempts(reader), attempts);

    // READ RECORD, UPDATE RECORD, read back; the old record goes back at the end.
    select(reader, gsm::fid::kDfTelecom);
    const std::vector<uint8_t> adn = select(reader, gsm::fid::kEfAdn);
    ASSERT_GE(adn.size(), response::kEfMinimum);
    const uint8_t length = adn[response::kRecordLength];
    ASSERT_GT(length, 14);
    r = command(reader, recordHeader(kReadRecord, length));
    ASSERT_EQ(r.sw, gsm::sw::kOk);
    const std::vector<uint8_t> before = r.data;
    std::vector<uint8_t> entry(length, 0xFF);
    const std::string name = "CONTRACT";
    std::copy(name.begin(), name.end(), entry.begin());
    EXPECT_EQ(command(reader, recordHeader(kUpdateRecord, length), entry).sw, gsm::sw::kOk);
    r = command(reader, recordHeader(kReadRecord, length));
    EXPECT_EQ(r.sw, gsm::sw::kOk);
    EXPECT_EQ(r.data, entry);
    // P3 = 0 asks for 256 bytes, which the card refuses with the record's length.
    r = command(reader, recordHeader(kReadRecord, 0));
    EXPECT_EQ(r.status, CardStatus::Ok);
    EXPECT_EQ(r.sw, gsm::sw::kWrongP3 | length);
    EXPECT_EQ(command(reader, recordHeader(kUpdateRecord, length), before).sw, gsm::sw::kOk);

    // A pulled card: the command fails, and the reader then reports the slot empty.
    pullCard();
    r = command(reader, {kClass, gsm::ins::kSelect, 0, 0, 2}, {0x3F, 0x00});
    EXPECT_NE(r.status, CardStatus::Ok);
    reader.deactivateCard();
    uint16_t status = 0xFFFF;
    EXPECT_EQ(reader.readStatus(status), CardStatus::Ok);
    EXPECT_EQ(status & 0x40, 0);
    EXPECT_EQ(reader.activateCard(nullptr, flags), CardStatus::CardNotInserted);
    EXPECT_FALSE(reader.cardActive());
}

} // namespace kestrel::test
