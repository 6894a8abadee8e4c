#include "base/CardStatus.h"

#include <gtest/gtest.h>

#include "base/StringTable.h"

using namespace kestrel;

TEST(CardStatus, CodesAreTheDefinedOnes)
{
    for (int code = 102; code <= 113; ++code)
        EXPECT_TRUE(isCardStatus(code)) << code;
    for (int code = 114; code <= 126; ++code)
        EXPECT_FALSE(isCardStatus(code)) << code;
    for (int code = 127; code <= 153; ++code)
        EXPECT_TRUE(isCardStatus(code)) << code;
    for (int code : {0, 101, 154, 5000})
        EXPECT_FALSE(isCardStatus(code)) << code;
}

TEST(CardStatus, AllStatusesAscendingAndComplete)
{
    const auto all = allCardStatuses();
    EXPECT_EQ(all.size(), 39u);
    for (std::size_t i = 1; i < all.size(); ++i)
        EXPECT_LT(toInt(all[i - 1]), toInt(all[i]));
    EXPECT_EQ(all.front(), CardStatus::Ok);
    EXPECT_EQ(all.back(), CardStatus::AuthenticationBlocked);
}

TEST(CardStatus, OnlyOkIsOk)
{
    for (CardStatus s : allCardStatuses())
        EXPECT_EQ(isOk(s), s == CardStatus::Ok) << toInt(s);
}

TEST(CardStatus, MessageComesFromTheStringTable)
{
    EXPECT_EQ(cardStatusMessage(CardStatus::Ok), QString::fromUtf16(u"O.K."));
    EXPECT_EQ(cardStatusMessage(CardStatus::CancelledByUser), QString::fromUtf16(u"Operation cancelled by user"));
    EXPECT_EQ(cardStatusMessage(CardStatus::WrongPin), StringTable::text(136));
}
