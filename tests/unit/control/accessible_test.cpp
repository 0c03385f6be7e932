// The accessible description of a bar and the objects handed to screen
// readers, which must go dead with the bar.
#include "control/accessible.h"
#include "bar_fixture.h"

namespace vb::control::testing {
namespace {

using AccessibleTest = BarFixture;

TEST_F(AccessibleTest, PercentageFollowsTheFillAtEveryRange) {
    BarControl* bar = build(100, 20);
    ASSERT_NE(bar, nullptr);
    const std::int32_t quarters[2] = {0, 4};
    bar->Methods->SetRange(bar, quarters);
    bar->Methods->SetCurrentPosition(bar, 1);
    EXPECT_EQ(ShownPercent(bar), 25);
    // Ranges the actions refuse still describe without dividing by zero.
    const std::int32_t reversed[2] = {50, 10};
    bar->Methods->SetRange(bar, reversed);
    EXPECT_EQ(ShownPercent(bar), 0);
    const std::int32_t empty[2] = {7, 7};
    bar->Methods->SetRange(bar, empty);
    bar->Methods->SetCurrentPosition(bar, 7);
    EXPECT_EQ(ShownPercent(bar), 0);
    const std::int32_t wide[2] = {0, 65535};
    bar->Methods->SetRange(bar, wide);
    bar->Methods->SetCurrentPosition(bar, 65535);
    EXPECT_EQ(ShownPercent(bar), 100);
}

TEST_F(AccessibleTest, NameIgnoresTextOfOnlySpaces) {
    EXPECT_EQ(AccessibleName(""), "");
    EXPECT_EQ(AccessibleName("   "), "");
    EXPECT_EQ(AccessibleName(" a "), " a ");
}

TEST_F(AccessibleTest, HeldObjectGoesDeadWhenTheBarIsFreed) {
    BarControl* bar = build(80, 16);
    ASSERT_NE(bar, nullptr);
    platform::Window canvas = bar->Canvas;
    bool handled = false;
    platform::LResult object = AnswerAccessibleQuery(canvas, bar, 0, platform::kClientObjectId, &handled);
    ASSERT_TRUE(handled);
    std::optional<platform::AccessibleDescription> d = sim::readAccessible(object);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->value, "100%");
    EXPECT_EQ(d->location.width(), 80);
    // Asking again gives the same object; other object ids are not ours.
    EXPECT_EQ(AnswerAccessibleQuery(canvas, bar, 0, platform::kClientObjectId, &handled), object);
    AnswerAccessibleQuery(canvas, bar, 0, -1, &handled);
    EXPECT_FALSE(handled);

    bar->Methods->Free(bar);
    EXPECT_FALSE(sim::readAccessible(object));
}

}  // namespace
}  // namespace vb::control::testing
