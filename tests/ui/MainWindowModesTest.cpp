#include <gtest/gtest.h>

#include "ui/MainWindowModes.h"

TEST(MainWindowModes, TitleSuffixAndButtonsByRunMode)
{
    const struct {
        RunMode mode;
        const char* caption;
        bool fileConv, dump;
    } cases[] = {
        {MODE_NORMAL, "ZUL Ver.1.00", false, false},
        {MODE_MANU, "ZUL Ver.1.00 (M)", true, false},
        {MODE_DUMP, "ZUL Ver.1.00 (D)", false, true},
        {MODE_SHIP, "ZUL Ver.1.00 (SHIP)", false, false},
        {MODE_LTR, "ZUL Ver.1.00 (LTR)", false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MainWindowCaption("ZUL Ver.1.00", c.mode), c.caption);
        EXPECT_EQ(ModeLookFor(c.mode).fileConvShown, c.fileConv) << c.mode;
        EXPECT_EQ(ModeLookFor(c.mode).dumpShown, c.dump) << c.mode;
    }
}
