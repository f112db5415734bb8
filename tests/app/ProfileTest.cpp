// The same cases run against our own private-profile implementation and, on
// Windows, against the platform's functions, so the two are known to agree.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "app/IniProfile.h"
#include "tests/support/TempDir.h"

namespace {

using ProfileFactory = std::function<std::unique_ptr<Profile>(const std::string&)>;

struct Implementation {
    const char* name;
    ProfileFactory make;
};

std::vector<Implementation> Implementations()
{
    std::vector<Implementation> list = {
        {"IniProfile", [](const std::string& p) { return std::make_unique<IniProfile>(p); }},
    };
#ifdef _WIN32
    list.push_back({"Platform", [](const std::string& p) { return OpenPlatformProfile(p); }});
#endif
    return list;
}

class ProfileTest : public ::testing::TestWithParam<Implementation> {
protected:
    std::unique_ptr<Profile> Open() { return GetParam().make(m_path); }
    void Given(const std::string& bytes) { WriteFileBytes(m_path, bytes); }
    std::string Bytes() const { return ReadFileBytes(m_path); }

    TempDir m_dir;
    std::string m_path = m_dir.File("ZUL.ini");
};

}  // namespace

TEST_P(ProfileTest, MissingFileGivesDefaultsAndWriteCreatesIt)
{
    auto p = Open();
    EXPECT_EQ(p->GetInt("Initialize", "COM_PORT", 1), 1);
    EXPECT_EQ(p->GetString("Initialize", "CURRENT_DIR", "C:\\ZUL"), "C:\\ZUL");
    ASSERT_TRUE(p->WriteString("Initialize", "COM_PORT", "5"));
    EXPECT_EQ(Bytes(), "[Initialize]\r\nCOM_PORT=5\r\n");
    EXPECT_EQ(p->GetInt("Initialize", "COM_PORT", 1), 5);
}

TEST_P(ProfileTest, ReplacesInPlaceAndLeavesOtherLinesAlone)
{
    Given("[Initialize]\r\nCOM_PORT=3\r\nBAUDRATE=57600\r\n[RETURN_CODE]\r\nLAST_RESULT=1\r\n");
    auto p = Open();
    ASSERT_TRUE(p->WriteString("Initialize", "COM_PORT", "12"));
    EXPECT_EQ(Bytes(), "[Initialize]\r\nCOM_PORT=12\r\nBAUDRATE=57600\r\n[RETURN_CODE]\r\nLAST_RESULT=1\r\n");
    ASSERT_TRUE(p->WriteString("RETURN_CODE", "LAST_RESULT", "0"));
    EXPECT_EQ(p->GetString("RETURN_CODE", "LAST_RESULT", ""), "0");
    EXPECT_EQ(p->GetInt("Initialize", "BAUDRATE", 0), 57600);
}

TEST_P(ProfileTest, NewKeysJoinTheirSectionAndNewSectionsFollow)
{
    Given("[Initialize]\r\nCOM_PORT=3\r\n[Other]\r\nX=1\r\n");
    auto p = Open();
    ASSERT_TRUE(p->WriteString("Initialize", "BAUDRATE", "115200"));
    ASSERT_TRUE(p->WriteString("RETURN_CODE", "LAST_RESULT", "1"));
    const std::string bytes = Bytes();
    EXPECT_LT(bytes.find("BAUDRATE=115200"), bytes.find("[Other]")) << bytes;
    EXPECT_NE(bytes.find("X=1"), std::string::npos) << bytes;
    EXPECT_EQ(p->GetInt("Initialize", "BAUDRATE", 0), 115200);
    EXPECT_EQ(p->GetInt("Initialize", "COM_PORT", 0), 3);
    EXPECT_EQ(p->GetInt("Other", "X", 0), 1);
    EXPECT_EQ(p->GetString("RETURN_CODE", "LAST_RESULT", ""), "1");
}

TEST_P(ProfileTest, ReadsLikeThePlatform)
{
    Given("; settings\r\n"
          "[initialize]\r\n"
          "  com_port = 12  \r\n"
          "CURRENT_DIR=\"C:\\Firm Ware\"\r\n"
          "EMPTY=\r\n"
          "GARBAGE=abc\r\n"
          "TRAILING=12abc\r\n"
          "NEGATIVE=-5\r\n"
          "HEX=0x10\r\n"
          "PLUS=+7\r\n"
          "NOEQUALS\r\n"
          "[RETURN_CODE]\r\n"
          "COM_PORT=99\r\n");
    auto p = Open();
    EXPECT_EQ(p->GetInt("Initialize", "COM_PORT", 1), 12);
    EXPECT_EQ(p->GetString("Initialize", "CURRENT_DIR", ""), "C:\\Firm Ware");
    EXPECT_EQ(p->GetInt("Initialize", "EMPTY", 77), 77);
    EXPECT_EQ(p->GetString("Initialize", "EMPTY", "dflt"), "");
    EXPECT_EQ(p->GetInt("Initialize", "GARBAGE", 77), 0);
    EXPECT_EQ(p->GetInt("Initialize", "TRAILING", 77), 12);
    EXPECT_EQ(p->GetInt("Initialize", "NEGATIVE", 77), -5);
    EXPECT_EQ(p->GetInt("Initialize", "HEX", 77), 16);
    EXPECT_EQ(p->GetInt("Initialize", "PLUS", 77), 7);
    EXPECT_EQ(p->GetInt("Initialize", "MISSING", 77), 77);
    EXPECT_EQ(p->GetInt("Missing", "COM_PORT", 77), 77);
}

TEST_P(ProfileTest, LongValuesAreCutToTheBuffer)
{
    const std::string longValue(700, 'd');
    auto p = Open();
    ASSERT_TRUE(p->WriteString("Initialize", "CURRENT_DIR", longValue));
    EXPECT_EQ(p->GetString("Initialize", "CURRENT_DIR", ""), longValue.substr(0, 511));
}

TEST_P(ProfileTest, BinaryGarbageFileNeverCrashes)
{
    std::string junk;
    for (int i = 0; i < 4096; ++i)
        junk += static_cast<char>((i * 7919) & 0xFF);
    Given(junk + "\n[Initialize\nCOM_PORT\n=\n==\n[]\n");
    auto p = Open();
    (void)p->GetInt("Initialize", "COM_PORT", 1);
    (void)p->GetString("Initialize", "CURRENT_DIR", "x");
    EXPECT_TRUE(p->WriteString("Initialize", "BAUDRATE", "38400"));
    EXPECT_EQ(p->GetInt("Initialize", "BAUDRATE", 0), 38400);
}

INSTANTIATE_TEST_SUITE_P(Both, ProfileTest, ::testing::ValuesIn(Implementations()),
                         [](const auto& info) { return std::string(info.param.name); });
