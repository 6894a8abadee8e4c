// The logic of the SMS edit dialog and the message details dialog.

#include "sms/SmsEditForms.h"

#include <gtest/gtest.h>

#include "HexBytes.h"
#include "SmsListFixture.h"
#include "codec/FixedText.h"
#include "codec/SmsCodec.h"
#include "codec/SmsTime.h"

using namespace kestrel;
using namespace kestrel::test;

namespace {

using SmsEditFormsTest = SmsListFixture;

PhoneBookPick picking(std::optional<DialEntry> entry)
{
    return [entry] { return entry; };
}

DialEntry dialEntry(const char* number, uint8_t ton)
{
    DialEntry e;
    e.valid = 1;
    std::strcpy(e.number, number);
    e.ton = ton;
    return e;
}

TEST_F(SmsEditFormsTest, AFreeRowStartsAsANewMessageAndStaysFreeWhenCancelled)
{
    app->settings().servCenter = QStringLiteral("+420602909909");
    app->settings().validPer = 167;
    {
        SmsEditForm form(*model, 4);
        EXPECT_EQ(std::string(form.working().scNumber), "420602909909");
        EXPECT_EQ(form.working().scTon, 1);
        EXPECT_EQ(std::string(form.working().when), "24 hours");
        EXPECT_EQ(form.working().status, static_cast<int32_t>(SmsStatus::ToBeSent));
        EXPECT_EQ(form.working().position, 4);
        EXPECT_FALSE(form.canPickFromPhoneBook());
    }
    EXPECT_FALSE(used(4));
    EXPECT_EQ(SmsEditForm::lengthText(QStringLiteral("abc")), QStringLiteral("3"));
}

TEST_F(SmsEditFormsTest, OkChecksTheNumberAndTheLength)
{
    put(2, "old", "+420777000111");
    SmsEditForm form(*model, 2);
    EXPECT_EQ(form.phoneNumber(), QStringLiteral("+420777000111"));
    const struct
    {
        QString text;
        QString number;
        int message;
    } refused[] = {
        {QStringLiteral("x"), QStringLiteral("12a"), 57721},
        {QStringLiteral("x"), QStringLiteral("+123456789012345678901"), 57721},      // 21 digits would be cut
        {QStringLiteral("x"), QStringLiteral("+1234 5678 9012 3456 7890 1"), 57721}, // also with blanks
        {QString(161, QLatin1Char('t')), QStringLiteral("123"), 57722},
    };
    for (const auto& c : refused) {
        EXPECT_FALSE(form.accept(c.text, c.number));
        EXPECT_EQ(prompter.messages.back(), c.message);
    }
    EXPECT_EQ(text(2), "old");

    EXPECT_TRUE(form.accept(QStringLiteral("new"), QStringLiteral("+12345678901234567890")));
    EXPECT_EQ(text(2), "new");
    EXPECT_EQ(std::string(model->entry(2).number), "12345678901234567890");
    EXPECT_EQ(model->entry(2).numberTon, 1);
    EXPECT_TRUE(modified(2));
    EXPECT_TRUE(form.accept(QStringLiteral("new"), QStringLiteral("+420 (603) 123-45.6")));
    EXPECT_EQ(std::string(model->entry(2).number), "420603123456");
}

TEST_F(SmsEditFormsTest, PhoneBookPickAndDialingCode)
{
    SmsEditForm none(*model, 0, picking(std::nullopt));
    EXPECT_TRUE(none.canPickFromPhoneBook());
    EXPECT_FALSE(none.fromPhoneBook());
    EXPECT_EQ(prompter.messages, std::vector<int>{57723});
    SmsEditForm picked(*model, 0, picking(dialEntry("4912345", 1)));
    EXPECT_EQ(picked.fromPhoneBook(), QStringLiteral("+4912345"));
    EXPECT_EQ(SmsEditForm::withDialingCode(QStringLiteral("+42077"), QStringLiteral("+49")),
              QStringLiteral("+4942077"));
    EXPECT_EQ(SmsEditForm::withDialingCode(QStringLiteral("+42077"), QString()), QStringLiteral("+42077"));

    SmsEntry e = model->newMessage(0);
    SmsDetailsForm details(e, prompter, picking(std::nullopt));
    EXPECT_FALSE(details.fromPhoneBook());
    EXPECT_EQ(prompter.messages.back(), 57661);
}

bool parsesAbsolute(const QString& text)
{
    SmsTime t;
    return ParseSmsTime(text.toStdString(), t) && t.isAbsolute != 0;
}

TEST_F(SmsEditFormsTest, DetailsStatusAndValidityRules)
{
    struct Step
    {
        const char* openedWhen;
        SmsStatus opened;
        int openChoice;         // radio button at opening
        int statusTo;           // -1: a radio button instead
        int chooseRadio;        // when statusTo is -1
        const char* expectWhen; // nullptr: the current time
        int expectStatus;
        int expectChoice;
    } steps[] = {
        {"24 hours", SmsStatus::Sent, 1, -1, 0, "60 mins", 2, 0},
        {"3 days", SmsStatus::ToBeSent, -1, 0, 0, nullptr, 0, -1},              // no date to go back to
        {"12.03.24 18:45", SmsStatus::Received, -1, 3, 0, "7 days", 3, 2},      // a date is no validity
        {"12.03.24 18:45", SmsStatus::Read, -1, -1, 3, "364 days", 3, 3},       // a radio makes it "to be sent"
        {"12.03.24 18:45", SmsStatus::Read, -1, 1, 0, "12.03.24 18:45", 1, -1}, // a date stays a date
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.openedWhen);
        SmsEntry e = model->newMessage(0);
        std::strcpy(e.when, s.openedWhen);
        e.status = static_cast<int32_t>(s.opened);
        SmsDetailsForm form(e, prompter);
        EXPECT_TRUE(form.opens());
        EXPECT_EQ(form.choice(), s.openChoice);
        EXPECT_EQ(form.choicesEnabled(), s.opened == SmsStatus::Sent || s.opened == SmsStatus::ToBeSent);
        if (s.statusTo >= 0)
            form.setStatus(s.statusTo);
        else
            form.choose(s.chooseRadio);
        if (s.expectWhen)
            EXPECT_EQ(form.whenText(), QString::fromLatin1(s.expectWhen));
        else
            EXPECT_TRUE(parsesAbsolute(form.whenText())) << form.whenText().toStdString();
        EXPECT_EQ(form.status(), s.expectStatus);
        EXPECT_EQ(form.choice(), s.expectChoice);
    }

    // The check on a date typed after a status change uses the working copy's when, not the text.
    SmsEntry e = model->newMessage(0);
    std::strcpy(e.when, "12.03.24 18:45");
    e.status = static_cast<int32_t>(SmsStatus::Sent);
    SmsDetailsForm form(e, prompter);
    form.setWhenText(QStringLiteral("5 days"));
    form.setStatus(static_cast<int>(SmsStatus::ToBeSent));
    EXPECT_EQ(form.whenText(), QStringLiteral("7 days"));

    EXPECT_FALSE(form.accept(1, QStringLiteral("x"), QStringLiteral("12#a")));
    EXPECT_EQ(prompter.messages.back(), 57660);
    EXPECT_TRUE(form.accept(1, QStringLiteral("a text too long to fit"), QStringLiteral("+4915")));
    EXPECT_EQ(std::string(e.when), "a text too long");
    EXPECT_EQ(std::string(e.scNumber), "4915");
    EXPECT_EQ(e.status, 1);
    EXPECT_TRUE(form.accept(1, QStringLiteral("x"), QStringLiteral("+49 171-076 0000")));
    EXPECT_EQ(std::string(e.scNumber), "491710760000");

    SmsEntry free;
    EXPECT_FALSE(SmsDetailsForm(free, prompter).opens());
}

} // namespace

// A message the plain encoder cannot write as it is (UCS2 here) keeps its record until it is
// edited; an edit asks first and makes it a plain message. Lengths count septets.
TEST_F(SmsEditFormsTest, EditingAUcs2MessageAsksAndMakesItPlain)
{
    std::vector<uint8_t> r = hexBytes("01 00 04 04 81 21 43 00 08 30 20 11 21 43 65 00 04 04 1F 00 41");
    r.resize(176, 0xFF);
    const SmsEntry ucs2 = DecodeSmsRecord(r, 2);
    struct Case
    {
        const char* text;
        PromptAnswer answer;
        bool accepted;
        bool asked;
        bool kept;
        const char* stored;
    };
    const Case cases[] = {
        {"\xD0\x9F"
         "A",
         PromptAnswer::Yes, true, false, true,
         "\xD0\x9F"
         "A"}, // unchanged: no question
        {"\xD0\x9F"
         "B",
         PromptAnswer::No, false, true, true,
         "\xD0\x9F"
         "A"},
        {"\xD0\x9F"
         "B",
         PromptAnswer::Yes, true, true, false, "?B"}, // stored as the card gives it back
    };
    for (const Case& c : cases) {
        model->entry(2) = ucs2;
        prompter.questions.clear();
        prompter.answers = {c.answer};
        SmsEditForm form(*model, 2);
        EXPECT_EQ(form.accept(QString::fromUtf8(c.text), QStringLiteral("1234")), c.accepted) << c.text;
        EXPECT_EQ(!prompter.questions.empty(), c.asked) << c.text;
        EXPECT_EQ(model->entry(2).keptLength != 0, c.kept) << c.text;
        EXPECT_EQ(fixedText(model->entry(2).text), c.stored) << c.text;
    }
    EXPECT_EQ(model->entry(2).encoding, SmsEncoding::Default);
    EXPECT_EQ(EncodeSmsRecord(model->entry(2), 176).record[9], 0x00);

    // A plain message: a new number just re-encodes, nothing asked.
    prompter.questions.clear();
    SmsEditForm plain(*model, 2);
    EXPECT_TRUE(plain.accept(QStringLiteral("?B"), QStringLiteral("5678")));
    EXPECT_TRUE(prompter.questions.empty());

    // The euro sign takes two septets of the 160.
    EXPECT_EQ(SmsEditForm::lengthText(QString::fromUtf8("\xE2\x82\xAC")), QStringLiteral("2"));
    EXPECT_FALSE(plain.accept(QString(81, QChar(0x20AC)), QStringLiteral("5678")));
    EXPECT_EQ(prompter.messages.back(), 57722);
    EXPECT_TRUE(plain.accept(QString(80, QChar(0x20AC)), QStringLiteral("5678")));
}
