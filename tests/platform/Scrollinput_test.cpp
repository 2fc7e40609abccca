#include "Scrollinput.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

using namespace ov;

// Random runs of small turns one way give exactly one notch per whole 120
// they add up to, in that direction; a whole-notch turn counts once, and
// turning back starts the gathering over.
TEST(WheelNotches, FractionsGatherIntoWholeNotchesEitherWay) {
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        TWheelNotches wheel;
        const int sign = round % 2 ? 1 : -1;
        long sum = 0;
        int notches = 0;
        const int turns = 1 + int(random() % 60);
        for (int k = 0; k < turns; ++k) {
            const int delta = sign * (1 + int(random() % 119));
            sum += delta;
            const TScrollCode code = wheel.Turn(delta);
            if (code != TScrollCode::Other) {
                EXPECT_EQ(code, sign < 0 ? TScrollCode::LineForward : TScrollCode::LineBack);
                ++notches;
            }
            ASSERT_EQ(notches, std::abs(sum) / TWheelNotches::Notch) << round << " " << k;
        }
        EXPECT_EQ(wheel.Remainder(), sum % TWheelNotches::Notch);
        // The other way: what had gathered is gone, so a small turn is not
        // enough even when the old remainder was close to a notch.
        EXPECT_EQ(wheel.Turn(-sign * 119), TScrollCode::Other);
        EXPECT_EQ(wheel.Remainder(), -sign * 119);
    }
    TWheelNotches wheel;
    EXPECT_EQ(wheel.Turn(0), TScrollCode::Other);
    EXPECT_EQ(wheel.Turn(-100), TScrollCode::Other);
    EXPECT_EQ(wheel.Turn(-480), TScrollCode::LineForward); // a fast turn: one notch
    EXPECT_EQ(wheel.Remainder(), 0);
    EXPECT_EQ(wheel.Turn(120), TScrollCode::LineBack);
}

TEST(ScrollTarget, LinesPagesAndThumbInWideUnits) {
    const int64_t far = int64_t(1) << 40;
    EXPECT_EQ(ScrollTarget<int64_t>(far, TScrollCode::LineForward, 30, 0), far + 1);
    EXPECT_EQ(ScrollTarget<int64_t>(far, TScrollCode::PageBack, 30, 0), far - 30);
    EXPECT_EQ(ScrollTarget<int64_t>(far, TScrollCode::Track, 30, 5), 5);
    EXPECT_EQ(ScrollTarget<int64_t>(far, TScrollCode::Other, 30, 5), far);
}
