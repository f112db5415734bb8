// Whole runs of ZUL.exe from a folder of its own: single instance, run modes,
// title and the settings written on the way out.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>

#include "resources/resource.h"
#include "tests/support/TempDir.h"
#include "tests/win32/WindowDriver.h"

namespace {

const DWORD kStartMs = 20000;

bool StartsWith(const std::string& s, const std::string& prefix)
{
    return s.compare(0, prefix.size(), prefix) == 0;
}

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::copy_file(ExecutableFolder() + "\\ZUL.exe", m_dir.File("ZUL.exe"));
    }

    std::string Exe() const { return m_dir.File("ZUL.exe"); }
    std::string Ini() const { return m_dir.File("ZUL.ini"); }
    std::string Folder() const { return m_dir.Path().string(); }

    // Starts the program and waits for its main window.
    HWND StartMainWindow(ChildProcess& process)
    {
        EXPECT_TRUE(process.Started());
        return WaitForWindow(process.Id(), [](const std::string& t) { return StartsWith(t, "ZUL "); },
                             kStartMs);
    }

    void ExpectEnds(ChildProcess& process)
    {
        DWORD code = 1;
        EXPECT_TRUE(process.Wait(kStartMs, &code));
        EXPECT_EQ(code, 0u);
    }

    TempDir m_dir;
};

}  // namespace

TEST_F(StartupTest, SecondInstanceEndsAtOnceWithoutTouchingTheSettings)
{
    const std::string before = "[Initialize]\r\nCOM_PORT=7\r\n";
    WriteFileBytes(Ini(), before);
    ChildProcess first(Exe(), "");
    HWND window = StartMainWindow(first);
    ASSERT_NE(window, nullptr);

    ChildProcess second(Exe(), "-SHIP");
    ASSERT_TRUE(second.Started());
    DWORD code = 1;
    EXPECT_TRUE(second.Wait(kStartMs, &code)) << "the second instance must end by itself";
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(ReadFileBytes(Ini()), before);
    EXPECT_TRUE(IsWindow(window)) << "the first instance is left alone";

    PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    ExpectEnds(first);
    EXPECT_NE(ReadFileBytes(Ini()).find("BAUDRATE=38400"), std::string::npos);
}

TEST_F(StartupTest, TitleBarCloseSavesSettingsButLeavesLastResult)
{
    WriteFileBytes(Ini(), "[Initialize]\r\nCOM_PORT=7\r\nBAUDRATE=57600\r\nCURRENT_DIR=" + Folder() +
                              "\r\nLOGLEVEL=3\r\n[RETURN_CODE]\r\nLAST_RESULT=1\r\n");
    ChildProcess zul(Exe(), "");
    HWND window = StartMainWindow(zul);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(WindowText(window), "ZUL Ver.1.00");

    // Escape is swallowed: the window stays.
    PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    PostMessageA(window, WM_COMMAND, IDOK, 0);
    Sleep(300);
    EXPECT_TRUE(IsWindow(window));

    PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    ExpectEnds(zul);
    EXPECT_EQ(ReadFileBytes(Ini()), "[Initialize]\r\nCOM_PORT=7\r\nBAUDRATE=57600\r\nCURRENT_DIR=\r\n"
                                    "LOGLEVEL=3\r\n[RETURN_CODE]\r\nLAST_RESULT=1\r\n");
    EXPECT_FALSE(std::filesystem::exists(m_dir.File("DebugLog.txt")));
}

TEST_F(StartupTest, CloseButtonRecordsLastResultAndCreatesTheSettings)
{
    ChildProcess zul(Exe(), "");
    HWND window = StartMainWindow(zul);
    ASSERT_NE(window, nullptr);
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_CLOSE, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(window, IDC_CLOSE)));
    ExpectEnds(zul);
    const std::string ini = ReadFileBytes(Ini());
    EXPECT_NE(ini.find("[RETURN_CODE]\r\nLAST_RESULT=0\r\n"), std::string::npos) << ini;
    EXPECT_NE(ini.find("[Initialize]\r\nCOM_PORT=1\r\nBAUDRATE=38400\r\nCURRENT_DIR=\r\n"), std::string::npos) << ini;
}

TEST_F(StartupTest, RunModesByCommandLine)
{
    {
        ChildProcess zul(Exe(), "-manu");
        ASSERT_TRUE(zul.Started());
        HWND password = WaitForWindowTitled(zul.Id(), "Password", kStartMs);
        ASSERT_NE(password, nullptr);
        SetWindowTextA(GetDlgItem(password, IDC_PASSWORD_EDIT), "Harbor Lantern");
        SendMessageA(GetDlgItem(password, IDOK), BM_CLICK, 0, 0);
        HWND window = StartMainWindow(zul);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(WindowText(window), "ZUL Ver.1.00 (M)");
        EXPECT_TRUE(IsWindowVisible(GetDlgItem(window, IDC_FILE_CONV)));
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(window, IDC_DUMP)));
        PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        ExpectEnds(zul);
    }
    {
        ChildProcess zul(Exe(), "-SHIP");
        HWND window = StartMainWindow(zul);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(WindowText(window), "ZUL Ver.1.00 (SHIP)");
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(window, IDC_FILE_CONV)));
        PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        ExpectEnds(zul);
    }
    {
        ChildProcess zul(Exe(), "-DUMP -MANU");
        HWND window = StartMainWindow(zul);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(WindowText(window), "ZUL Ver.1.00");
        PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        ExpectEnds(zul);
    }
}

TEST_F(StartupTest, TitleIsBareWithoutZulExeBesideTheProgram)
{
    std::filesystem::rename(Exe(), m_dir.File("Other.exe"));
    ChildProcess zul(m_dir.File("Other.exe"), "");
    HWND window = StartMainWindow(zul);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(WindowText(window), "ZUL ");
    PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    ExpectEnds(zul);
}
