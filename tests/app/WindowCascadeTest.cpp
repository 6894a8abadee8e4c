#include "app/WindowCascade.h"

#include <gtest/gtest.h>

using namespace kestrel;

TEST(WindowCascade, StepsOnFromTheLastWindowAndNeverOntoAnOpenOne)
{
    const QRect screen(0, 0, 1000, 800);
    const QSize size(600, 420);
    const QPoint first(150, 50);
    struct Case
    {
        std::optional<QPoint> last;
        std::vector<QPoint> taken;
        QPoint expected;
    };
    const Case cases[] = {
        {std::nullopt, {}, first},
        {std::nullopt, {first}, {170, 70}}, // the first place is held
        {QPoint(150, 50), {{150, 50}}, {170, 70}},
        {QPoint(170, 70), {{170, 70}, {190, 90}}, {210, 110}},  // held places are passed over
        {QPoint(390, 300), {{390, 300}}, {0, 320}},             // the right edge: back to the left
        {QPoint(390, 370), {{390, 370}}, {0, 0}},               // both edges
        {QPoint(380, 200), {{380, 200}, {400, 220}}, {0, 240}}, // a step off the edge, then free
    };
    for (const Case& c : cases)
        EXPECT_EQ(WindowCascade::next(c.last, c.taken, size, screen, first), c.expected)
            << c.expected.x() << "," << c.expected.y();
    // A window as large as the area still finds a place of its own beside the one held.
    EXPECT_NE(WindowCascade::next(QPoint(0, 0), {{0, 0}}, QSize(1000, 500), screen, first), QPoint(0, 0));
}
