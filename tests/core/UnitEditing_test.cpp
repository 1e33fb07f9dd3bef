#include "model/MusicFunctions.h"
#include "model/UnitEditing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

TEST(SteppedMelodyPitchTest, StaysOnTheScaleInBothDirections)
{
    const std::vector<int> major = {0, 2, 4, 5, 7, 9, 11};
    const std::vector<int> harmonic = {0, 2, 4, 5, 8, 9, 11};
    const auto inScale = [](const std::vector<int>& scale, int p)
    { return std::find(scale.begin(), scale.end(), PitchClass(p)) != scale.end(); };
    for (int p = -12; p <= 24; ++p)
        for (int direction : {1, -1})
        {
            const int majorStep = SteppedMelodyPitch(p, direction, 0, 5, false);
            EXPECT_TRUE(inScale(major, majorStep)) << p << " " << direction;
            const int minorStep = SteppedMelodyPitch(p, direction, 1, 5, false);
            EXPECT_TRUE(inScale(harmonic, minorStep)) << p << " " << direction;
            // Moves go the asked way by at most a minor third (G# to F), unless clamped.
            for (int step : {majorStep, minorStep})
                if ((direction > 0 && p < 24) || (direction < 0 && p > -12))
                {
                    EXPECT_GT(step * direction, p * direction);
                    EXPECT_LE(std::abs(step - p), 3);
                }
            EXPECT_EQ(SteppedMelodyPitch(p, direction, 1, 5, true),
                      std::clamp(p + direction, -12, 24));
        }
}
