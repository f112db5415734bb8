#include <gtest/gtest.h>

#include <regex>

#include "app/Logging.h"
#include "app/Platform.h"
#include "tests/support/TempDir.h"

namespace {

class LoggingTest : public ::testing::Test {
protected:
    std::string LogPath() const { return m_dir.File("DebugLog.txt"); }
    // The file with every timestamp replaced by "T", for exact comparisons.
    std::string Contents() const
    {
        static const std::regex stamp(R"(\d{4}/\d{2}/\d{2} \d{2}:\d{2}:\d{2}\.\d{3} :)");
        return std::regex_replace(ReadFileBytes(LogPath()), stamp, "T");
    }
    TempDir m_dir;
};

}  // namespace

TEST(LoggingFormat, TimestampPrefix)
{
    EXPECT_EQ(Logging::TimestampPrefix(2011, 3, 7, 14, 5, 9, 42), "2011/03/07 14:05:09.042 :");
}

TEST(LoggingFormat, LineEndRule)
{
    const struct {
        const char* text;
        bool lineEnd;
    } cases[] = {
        {"SRLCOM:Read err", true},  // no line feed: one is added
        {"ab", true},
        {"done\n", false},          // first line feed is the last byte
        {"done\nx", false},         // ... or the next-to-last
        {"a\nbcd", true},           // earlier: one more at the end
        {"a\nb\n", true},
        {"x", false},               // under two bytes without one: none
        {"", false},
        {"\n", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Logging::NeedsLineEnd(c.text), c.lineEnd) << '"' << c.text << '"';
}

TEST_F(LoggingTest, WritesTimestampedLinesAsTextWithCrLf)
{
    {
        Logging log(m_dir.Path().string(), "DebugLog.txt", 1);
        Logging::Write("SRLCOM:Read err");
        Logging::Write("count %d 100%\n");
        Logging::Write("x");
        Logging::Write("joined");
        Logging::Write("two\nlines");
    }
    EXPECT_EQ(Contents(), "TSRLCOM:Read err\r\nTcount %d 100%\r\nTxTjoined\r\nTtwo\r\nlines\r\n");
    EXPECT_TRUE(std::regex_search(ReadFileBytes(LogPath()),
                                  std::regex(R"(^\d{4}/\d{2}/\d{2} \d{2}:\d{2}:\d{2}\.\d{3} :SRLCOM)")));
}

TEST_F(LoggingTest, AppendsAcrossRunsAndAnyNonZeroLevelIsOn)
{
    {
        Logging log(m_dir.Path().string(), "DebugLog.txt", 1);
        Logging::Write("first run");
    }
    {
        Logging log(m_dir.Path().string(), "DebugLog.txt", 7);
        Logging::Write("second run");
    }
    EXPECT_EQ(Contents(), "Tfirst run\r\nTsecond run\r\n");
}

TEST_F(LoggingTest, OffOrAbsentTouchesNoFile)
{
    {
        Logging log(m_dir.Path().string(), "DebugLog.txt", 0);
        Logging::Write("nothing");
    }
    Logging::Write("no instance at all");
    EXPECT_FALSE(std::filesystem::exists(LogPath()));
}

TEST_F(LoggingTest, UnwritableFolderLeavesTheCallerRunning)
{
    Logging log((m_dir.Path() / "missing" / "deeper").string(), "DebugLog.txt", 1);
    Logging::Write("lost line");
    Logging::Write("another");
    SUCCEED();
}
