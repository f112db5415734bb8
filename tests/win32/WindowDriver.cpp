#include "tests/win32/WindowDriver.h"

#include <vector>

std::string ExecutableFolder()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string s(path);
    return s.substr(0, s.rfind('\\'));
}

std::string WindowText(HWND window)
{
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

namespace {

struct Search {
    DWORD processId;
    const std::function<bool(const std::string&)>* match;
    HWND found;
};

BOOL CALLBACK VisitWindow(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<Search*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == search->processId && IsWindowVisible(window) && (*search->match)(WindowText(window))) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND WaitForWindow(DWORD processId, const std::function<bool(const std::string&)>& match,
                   DWORD timeoutMs)
{
    if (processId == 0)
        processId = GetCurrentProcessId();
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    do {
        Search search{processId, &match, nullptr};
        EnumWindows(VisitWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr)
            return search.found;
        Sleep(50);
    } while (GetTickCount64() < end);
    return nullptr;
}

HWND WaitForWindowTitled(DWORD processId, const std::string& title, DWORD timeoutMs)
{
    return WaitForWindow(processId, [&](const std::string& t) { return t == title; }, timeoutMs);
}

bool WaitForWindowGone(HWND window, DWORD timeoutMs)
{
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    while (IsWindow(window)) {
        if (GetTickCount64() >= end)
            return false;
        Sleep(50);
    }
    return true;
}

ChildProcess::ChildProcess(const std::string& exePath, const std::string& arguments)
{
    std::string commandLine = "\"" + exePath + "\"";
    if (!arguments.empty())
        commandLine += " " + arguments;
    std::vector<char> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessA(exePath.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &m_info))
        m_info = PROCESS_INFORMATION{};
}

ChildProcess::~ChildProcess()
{
    if (m_info.hProcess != nullptr) {
        if (WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(m_info.hProcess, 99);
            WaitForSingleObject(m_info.hProcess, 5000);
        }
        CloseHandle(m_info.hProcess);
        CloseHandle(m_info.hThread);
    }
}

bool ChildProcess::Wait(DWORD timeoutMs, DWORD* exitCode)
{
    if (m_info.hProcess == nullptr || WaitForSingleObject(m_info.hProcess, timeoutMs) != WAIT_OBJECT_0)
        return false;
    if (exitCode != nullptr)
        GetExitCodeProcess(m_info.hProcess, exitCode);
    return true;
}
