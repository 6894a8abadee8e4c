// The logic of the SMS parameters dialog.

#include "sms/SmsParametersForm.h"

#include <gtest/gtest.h>

#include "SmsListFixture.h"
#include "sim/SimCard.h"

using namespace kestrel;
using namespace kestrel::test;

namespace {

using SmsParametersFormTest = SmsListFixture;

constexpr std::chrono::milliseconds kNoPause{0};

TEST(SmsParametersChoice, ARelativeValidityPicksTheFirstChoiceNotShorter)
{
    // 0-11 "1 hour", 12-167 "1 day", 168-173 "1 week", above "Maximum".
    const std::pair<int, int> cases[] = {{0, 0},   {11, 0},  {12, 1},  {167, 1}, {168, 2},
                                         {173, 2}, {174, 3}, {244, 3}, {255, 3}, {-4, 0}};
    for (const auto& [validPer, choice] : cases)
        EXPECT_EQ(SmsParametersForm::choiceOf(validPer), choice) << validPer;
}

TEST_F(SmsParametersFormTest, OkKeepsTheFieldsAsSettingsAndRefusesCentresNewMessagesCannotHold)
{
    struct Case
    {
        const char* centre;
        int choice;
        bool accepted;
        int validPer;
    };
    const Case cases[] = {
        {"+420602909909", 3, true, 244},
        {"", 0, true, 11}, // an empty centre is kept empty
        {"12345678901234567890", 2, true, 173},
        {"123456789012345678901", 1, false, 0}, // 21 digits: cut short in every new message
        {"12a4", 1, false, 0},
    };
    for (const Case& c : cases) {
        app->settings().servCenter = QStringLiteral("+111");
        app->settings().validPer = 0;
        prompter.messages.clear();
        SmsParametersForm form(*app, prompter, nullptr);
        form.setServiceCentre(QString::fromLatin1(c.centre));
        form.choose(c.choice);
        ASSERT_EQ(form.accept(), c.accepted) << c.centre;
        if (!c.accepted) {
            EXPECT_EQ(prompter.messages, std::vector<int>{57349});
            EXPECT_EQ(app->settings().servCenter, QStringLiteral("+111")) << "nothing changes";
            continue;
        }
        EXPECT_EQ(app->settings().servCenter, QString::fromLatin1(c.centre));
        EXPECT_EQ(app->settings().validPer, c.validPer);
        EXPECT_EQ(app->store().value(QStringLiteral("SMSData/validPer")).toInt(), c.validPer) << "saved";
    }
}

TEST_F(SmsParametersFormTest, CardButtonsReadAndWriteTheFirstRecord)
{
    useCard();
    app->settings().servCenter = QStringLiteral("+111");
    SmsParametersForm form(*app, prompter, nullptr, {}, kNoPause);
    EXPECT_TRUE(form.cardButtonsEnabled());
    EXPECT_FALSE(form.canPickFromPhoneBook());
    EXPECT_EQ(form.serviceCentre(), QStringLiteral("+111"));
    ASSERT_TRUE(form.readFromSim());
    EXPECT_EQ(form.serviceCentre(), QStringLiteral("+420602909909"));
    EXPECT_EQ(form.choice(), 1);

    // An empty centre is refused before the card is touched.
    form.setServiceCentre(QString());
    EXPECT_FALSE(form.writeToSim());
    EXPECT_EQ(prompter.messages, std::vector<int>{57347});
    form.setServiceCentre(QStringLiteral("+1234567"));
    form.choose(0);
    ASSERT_TRUE(form.writeToSim());
    form.setServiceCentre(QString());
    ASSERT_TRUE(form.readFromSim());
    EXPECT_EQ(form.serviceCentre(), QStringLiteral("+1234567"));
    EXPECT_EQ(form.choice(), 0);
    EXPECT_EQ(app->settings().servCenter, QStringLiteral("+111")) << "the card buttons leave the settings";
}

TEST_F(SmsParametersFormTest, ACardWithoutParametersOrWithoutAReaderLeavesTheFields)
{
    app->settings().servCenter = QStringLiteral("+111");
    app->createSimCard(); // no reader
    SmsParametersForm none(*app, prompter, nullptr, {}, kNoPause);
    EXPECT_FALSE(none.cardButtonsEnabled());
    EXPECT_FALSE(none.readFromSim());
    EXPECT_EQ(prompter.messages, std::vector<int>{57740});

    emulator::SimCardData card = emulator::StandardCard::simCard();
    for (emulator::SimFile& f : card.files)
        if (f.id() == gsm::fid::kEfSmsp)
            std::fill(f.data.begin(), f.data.end(), uint8_t{0xFF});
    useCard(card);
    prompter.messages.clear();
    SmsParametersForm form(*app, prompter, nullptr, {}, kNoPause);
    EXPECT_TRUE(form.readFromSim());
    EXPECT_EQ(prompter.messages, std::vector<int>{57345});
    EXPECT_EQ(form.serviceCentre(), QStringLiteral("+111"));
}

TEST_F(SmsParametersFormTest, FromPhoneBookTakesTheSelectedNumber)
{
    std::optional<DialEntry> picked;
    SmsParametersForm form(*app, prompter, nullptr, [&picked] { return picked; });
    EXPECT_FALSE(form.fromPhoneBook());
    EXPECT_EQ(prompter.messages, std::vector<int>{57348});
    picked = DialEntry{};
    picked->valid = 1;
    std::strcpy(picked->number, "420602909909");
    picked->ton = 1;
    ASSERT_TRUE(form.fromPhoneBook());
    EXPECT_EQ(form.serviceCentre(), QStringLiteral("+420602909909"));
}

} // namespace
