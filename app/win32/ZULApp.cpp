#include "app/win32/ZULApp.h"

#include <commctrl.h>

#include <memory>

#include "app/AppState.h"
#include "app/Logging.h"
#include "app/Platform.h"
#include "app/RunMode.h"
#include "app/Settings.h"
#include "app/Version.h"
#include "app/win32/Handle.h"
#include "app/win32/PasswordDlg.h"
#include "app/win32/Win32Profile.h"
#include "ui/win32/ZULDlg.h"

namespace {
const char* const kMutexName = "ZUL_MUTEX_STRING";
const char* const kProgramFileName = "ZUL.exe";
}  // namespace

CZULApp::CZULApp(HINSTANCE instance, std::string commandTail)
    : m_instance(instance), m_commandTail(std::move(commandTail))
{
}

void CZULApp::SetOwnPriority(DWORD priorityClass)
{
    UniqueHandle process(OpenProcess(PROCESS_SET_INFORMATION, FALSE, GetCurrentProcessId()));
    if (process)
        SetPriorityClass(process.Get(), priorityClass);
}

bool CZULApp::InitInstance()
{
    INITCOMMONCONTROLSEX controls;
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_WIN95_CLASSES;
    InitCommonControlsEx(&controls);

    const std::string programDir = ProgramFolderOf(ExecutablePath(), '\\');

    // One instance at a time; a second start ends quietly and touches nothing.
    UniqueHandle mutex(CreateMutexA(nullptr, FALSE, kMutexName));
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        if (mutex)
            ReleaseMutex(mutex.Get());
        return false;
    }

    SetOwnPriority(HIGH_PRIORITY_CLASS);

    PasswordDlg passwordDialog;
    const RunMode runMode = PromptRunMode(ParseRunMode(m_commandTail), passwordDialog);

    SetSettingsPath(SettingsFileIn(programDir, '\\'));
    Win32Profile settings(SettingsPath());
    const StartupSettings startup = ReadStartupSettings(settings, programDir);

    auto log = std::make_unique<Logging>(programDir, kLogFileName, startup.logLevel);

    CZULDlg dlg;
    dlg.m_runMode = runMode;
    dlg.m_comPort = startup.comPort;
    dlg.m_baudRate = startup.baudRate;
    dlg.m_programDir = programDir;
    dlg.m_currentDir = startup.currentDir;
    dlg.m_title = TitleFromProgramFile(programDir + "\\" + kProgramFileName);
    dlg.DoModal();

    WriteBackSettings(settings, dlg.m_comPort, dlg.m_baudRate, dlg.m_currentDir, programDir);
    log.reset();
    SetOwnPriority(NORMAL_PRIORITY_CLASS);
    if (mutex)
        ReleaseMutex(mutex.Get());
    return false;
}
