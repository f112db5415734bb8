#include <gtest/gtest.h>

#include "app/AppState.h"
#include "app/IniProfile.h"
#include "app/Platform.h"
#include "app/Settings.h"
#include "tests/support/TempDir.h"

namespace {

class SettingsTest : public ::testing::Test {
protected:
    TempDir m_dir;
    std::string m_programDir = m_dir.Path().string();
    std::string m_path = SettingsFileIn(m_programDir, PathSeparator());
    IniProfile m_profile{m_path};
};

}  // namespace

TEST_F(SettingsTest, NoFileGivesTheDefaults)
{
    const StartupSettings s = ReadStartupSettings(m_profile, m_programDir);
    EXPECT_EQ(s.comPort, 1);
    EXPECT_EQ(s.baudRate, 38400);
    EXPECT_EQ(s.currentDir, m_programDir);
    EXPECT_EQ(s.logLevel, 0);
}

TEST_F(SettingsTest, WrittenBackAndReadAgain)
{
    WriteBackSettings(m_profile, 7, 115200, "D:\\firmware", m_programDir);
    const StartupSettings s = ReadStartupSettings(m_profile, m_programDir);
    EXPECT_EQ(s.comPort, 7);
    EXPECT_EQ(s.baudRate, 115200);
    EXPECT_EQ(s.currentDir, "D:\\firmware");
}

TEST_F(SettingsTest, ProgramFolderIsStoredEmptyAndReadBackAsTheProgramFolder)
{
    WriteBackSettings(m_profile, 1, 38400, m_programDir, m_programDir);
    EXPECT_EQ(m_profile.GetString(kSectionInitialize, kKeyCurrentDir, "unset"), "");
    EXPECT_EQ(ReadStartupSettings(m_profile, m_programDir).currentDir, m_programDir);
    EXPECT_EQ(ReadFileBytes(m_path), "[Initialize]\r\nCOM_PORT=1\r\nBAUDRATE=38400\r\nCURRENT_DIR=\r\n");
}

TEST_F(SettingsTest, FolderDifferingOnlyInLetterCaseIsKept)
{
    const std::string programDir = "C:\\Program Files\\ZUL";
    WriteBackSettings(m_profile, 1, 38400, "c:\\program files\\zul", programDir);
    EXPECT_EQ(m_profile.GetString(kSectionInitialize, kKeyCurrentDir, ""), "c:\\program files\\zul");
}

TEST_F(SettingsTest, LogLevelAndOtherKeysAreNeverRewritten)
{
    WriteFileBytes(m_path, "[Initialize]\r\nLOGLEVEL=7\r\nCONNECTTYPE=1\r\nCOM_PORT=4\r\n");
    EXPECT_EQ(ReadStartupSettings(m_profile, m_programDir).logLevel, 7);
    WriteBackSettings(m_profile, 9, 57600, m_programDir, m_programDir);
    EXPECT_EQ(ReadFileBytes(m_path),
              "[Initialize]\r\nLOGLEVEL=7\r\nCONNECTTYPE=1\r\nCOM_PORT=9\r\nBAUDRATE=57600\r\nCURRENT_DIR=\r\n");
}

TEST_F(SettingsTest, GarbageValuesGiveWhatThePlatformGives)
{
    WriteFileBytes(m_path, "[Initialize]\r\nCOM_PORT=COM3\r\nBAUDRATE=\r\nLOGLEVEL=yes\r\n");
    const StartupSettings s = ReadStartupSettings(m_profile, m_programDir);
    EXPECT_EQ(s.comPort, 0);       // text that is no number reads as 0
    EXPECT_EQ(s.baudRate, 38400);  // an empty value is the default
    EXPECT_EQ(s.logLevel, 0);
}

TEST_F(SettingsTest, LastResultFollowsTheLatestWrite)
{
    SetSettingsPath(m_path);
    SetLastResult(false);
    WriteLastResult();
    EXPECT_EQ(m_profile.GetString(kSectionReturnCode, kKeyLastResult, ""), "0");
    SetLastResult(true);
    WriteLastResult();
    EXPECT_EQ(m_profile.GetString(kSectionReturnCode, kKeyLastResult, ""), "1");
    SetLastResult(false);  // a failed write after a successful one
    WriteLastResult();
    EXPECT_EQ(m_profile.GetString(kSectionReturnCode, kKeyLastResult, ""), "0");
}

TEST(ProgramFolder, CutBeforeTheLastSeparator)
{
    EXPECT_EQ(ProgramFolderOf("C:\\Tools\\ZUL\\ZUL.exe", '\\'), "C:\\Tools\\ZUL");
    EXPECT_EQ(ProgramFolderOf("ZUL.exe", '\\'), "ZUL.exe");
    EXPECT_EQ(ProgramFolderOf("/opt/zul/bin/zul", '/'), "/opt/zul/bin");
    EXPECT_EQ(SettingsFileIn("C:\\ZUL", '\\'), "C:\\ZUL\\ZUL.ini");
}
