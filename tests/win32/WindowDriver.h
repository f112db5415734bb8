#pragma once

#include <windows.h>

#include <functional>
#include <string>

// Drives real windows from a test: finds them, reads them, and runs programs.

// Folder of the running test executable (ZUL.exe is built beside it).
std::string ExecutableFolder();

// Waits until a visible top-level window of the process whose caption satisfies
// `match` exists; nullptr after the time-out. Process 0 means this process.
HWND WaitForWindow(DWORD processId, const std::function<bool(const std::string&)>& match,
                   DWORD timeoutMs);
HWND WaitForWindowTitled(DWORD processId, const std::string& title, DWORD timeoutMs);

// Waits until the window no longer exists.
bool WaitForWindowGone(HWND window, DWORD timeoutMs);

std::string WindowText(HWND window);

// A started program, ended by force if the test leaves it running.
class ChildProcess {
public:
    ChildProcess(const std::string& exePath, const std::string& arguments);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return m_info.hProcess != nullptr; }
    DWORD Id() const { return m_info.dwProcessId; }
    // Waits for the end; true with the exit code when it ended in time.
    bool Wait(DWORD timeoutMs, DWORD* exitCode = nullptr);

private:
    PROCESS_INFORMATION m_info{};
};
