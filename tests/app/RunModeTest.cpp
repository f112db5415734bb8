#include <gtest/gtest.h>

#include "app/RunMode.h"

TEST(RunMode, CommandLineIsUpperCasedAndComparedWhole)
{
    const struct {
        const char* commandTail;
        RunMode expected;
    } cases[] = {
        {"", MODE_NORMAL},
        {"-MANU", MODE_MANU},
        {"-manu", MODE_MANU},
        {"-MaNu", MODE_MANU},
        {"-DUMP", MODE_DUMP},
        {"-SHIP", MODE_SHIP},
        {"-ltr", MODE_LTR},
        {"-MANU ", MODE_NORMAL},
        {" -MANU", MODE_NORMAL},
        {"-MANU -DUMP", MODE_NORMAL},
        {"MANU", MODE_NORMAL},
        {"/MANU", MODE_NORMAL},
        {"-MANUAL", MODE_NORMAL},
        {"-", MODE_NORMAL},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseRunMode(c.commandTail), c.expected) << "command line '" << c.commandTail << "'";
}

TEST(RunMode, Passwords)
{
    EXPECT_EQ(RunModePassword(MODE_MANU), "Harbor Lantern");
    EXPECT_EQ(RunModePassword(MODE_DUMP), "Tide Pool");
    EXPECT_EQ(RunModePassword(MODE_LTR), "toggle9pqr");
    EXPECT_EQ(RunModePassword(MODE_SHIP), "");
    EXPECT_EQ(RunModePassword(MODE_NORMAL), "");
}
