#include "sim/CardProgress.h"

#include <vector>

#include <gtest/gtest.h>

#include "sim/ProgressSink.h"

using namespace kestrel;

namespace {

class RecordingSink final : public ProgressSink
{
public:
    bool open() override
    {
        ++opened;
        return canOpen;
    }
    void close() override { ++closed; }
    void setCaption(const QString& c) override { caption = c; }
    void setText(const QString& t) override { text = t; }
    void setPercent(int p) override { percents.push_back(p); }
    bool processEvents() override
    {
        ++polls;
        return abortAtPoll == polls;
    }

    bool canOpen = true;
    int opened = 0;
    int closed = 0;
    int polls = 0;
    int abortAtPoll = -1;
    QString caption;
    QString text;
    std::vector<int> percents;
};

} // namespace

TEST(CardProgress, NestedBeginAndEndShareOneWindow)
{
    RecordingSink sink;
    CardProgress p;
    ASSERT_TRUE(p.beginProgress(&sink, 5000, 5100));
    EXPECT_EQ(sink.caption, QStringLiteral("Kestrel! - Reading Phone Book"));
    EXPECT_EQ(sink.text, QStringLiteral("Initializing SIM Card"));
    EXPECT_TRUE(sink.percents.empty()); // the opening text leaves the bar

    ASSERT_TRUE(p.beginProgress(&sink, 5008, 5105));
    EXPECT_EQ(p.nesting(), 1);
    EXPECT_EQ(sink.opened, 1);
    p.endProgress(false);
    // The outer window stays, with the inner caption and text.
    EXPECT_TRUE(p.showing());
    EXPECT_EQ(sink.closed, 0);
    EXPECT_EQ(sink.caption, QStringLiteral("Kestrel! - Unblocking SIM Card"));
    EXPECT_EQ(sink.text, QStringLiteral("Checking SIM card condition"));
    p.endProgress(false);
    EXPECT_FALSE(p.showing());
    EXPECT_EQ(sink.closed, 1);
    p.endProgress(false); // nothing left to close
    EXPECT_EQ(sink.closed, 1);

    // force closes at any depth.
    ASSERT_TRUE(p.beginProgress(&sink, 0, 0));
    ASSERT_TRUE(p.beginProgress(&sink, 0, 0));
    p.endProgress(true);
    EXPECT_EQ(sink.closed, 2);
    EXPECT_EQ(p.nesting(), 0);
}

TEST(CardProgress, BarAndItemTexts)
{
    struct Case
    {
        unsigned i;
        unsigned n;
        bool write;
        int percent;
    };
    for (const Case c : {Case{1, 1, false, 100}, Case{1, 1, true, 0}, Case{3, 10, false, 30}, Case{3, 10, true, 20},
                         Case{250, 250, false, 100}, Case{1, 3, false, 33}}) {
        RecordingSink sink;
        CardProgress p;
        ASSERT_TRUE(p.beginProgress(&sink, 5000, 5100));
        EXPECT_TRUE(p.showProgressItem(5001, c.i, c.n, c.write));
        ASSERT_EQ(sink.percents.size(), 1u);
        EXPECT_EQ(sink.percents[0], c.percent) << c.i << "/" << c.n << c.write;
    }
    EXPECT_EQ(CardProgress::itemText(5003, 7, 250),
              QStringLiteral("Writing phone book to SIM\nWriting Item 7 (total 250)"));
    RecordingSink sink;
    CardProgress p;
    ASSERT_TRUE(p.beginProgress(&sink, 0, 0));
    EXPECT_TRUE(p.showProgress(QStringLiteral("text"), 101));
    EXPECT_EQ(sink.text, QStringLiteral("text"));
    EXPECT_TRUE(sink.percents.empty());
    EXPECT_TRUE(p.showProgressText(0, 50));
    EXPECT_EQ(sink.text, QString());
}

TEST(CardProgress, AbortIsStickyUntilTheNextWindow)
{
    RecordingSink sink;
    sink.abortAtPoll = 2;
    CardProgress p;
    ASSERT_TRUE(p.beginProgress(&sink, 5000, 5100));
    EXPECT_FALSE(p.showProgress(QStringLiteral("a"), 10));
    EXPECT_FALSE(p.showProgress(QStringLiteral("b"), 20));
    EXPECT_TRUE(p.cancelRequested());
    p.endProgress(false);
    ASSERT_TRUE(p.beginProgress(&sink, 5000, 5100));
    EXPECT_TRUE(p.showProgress(QStringLiteral("c"), 30));
}

TEST(CardProgress, WithoutAWindowWorkGoesOn)
{
    RecordingSink sink;
    sink.canOpen = false;
    sink.abortAtPoll = 1;
    CardProgress p;
    EXPECT_FALSE(p.beginProgress(&sink, 5000, 5100));
    EXPECT_FALSE(p.beginProgress(nullptr, 5000, 5100));
    EXPECT_TRUE(p.showProgress(QStringLiteral("x"), 50));
    EXPECT_EQ(sink.polls, 0);
    p.endProgress(false);
    EXPECT_EQ(sink.closed, 0);
}
