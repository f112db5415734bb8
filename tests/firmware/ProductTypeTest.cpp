#include <gtest/gtest.h>

#include <string>

#include "app/RunMode.h"
#include "firmware/ProductType.h"

TEST(ProductType, MatchesByRunMode)
{
    const RunMode allModes[] = {MODE_NORMAL, MODE_MANU, MODE_DUMP, MODE_SHIP, MODE_LTR};
    const struct {
        std::string code;
        int normal;  // every mode but MODE_LTR
        int ltr;
    } cases[] = {
        {"TQ614MOBILE 2010", 0, 0},
        {"TQ615/TQ616 2010", 1, 1},
        {"TQ614MOBILE 2011", 0, 0},
        {"TQ615/TQ616 2011", 1, 1},
        {"TQ614MOBILE 2019", -1, 0},  // only the year's last digit differs
        {"TQ615/TQ616 201", -1, 1},   // the NUL takes the sixteenth place
        {"tq615/tq616 2011", -1, -1},
        {"TQ615/TQ616 20", -1, -1},
        {"", -1, -1},
        {"TQ615/TQ616 2012", -1, 1},
    };
    for (const auto& c : cases) {
        for (RunMode mode : allModes) {
            const int expected = mode == MODE_LTR ? c.ltr : c.normal;
            EXPECT_EQ(MatchProductType(c.code.c_str(), mode), expected)
                << "'" << c.code << "' in mode " << mode;
        }
    }
}
