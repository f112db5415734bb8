#include "app/Platform.h"

#include <windows.h>

#include <memory>
#include <vector>

#include "app/win32/Win32Profile.h"

LocalTime CurrentLocalTime()
{
    SYSTEMTIME st;
    GetLocalTime(&st);
    LocalTime t;
    t.year = st.wYear;
    t.month = st.wMonth;
    t.day = st.wDay;
    t.hour = st.wHour;
    t.minute = st.wMinute;
    t.second = st.wSecond;
    t.millisecond = st.wMilliseconds;
    return t;
}

char PathSeparator()
{
    return '\\';
}

std::string ExecutablePath()
{
    char path[512] = {};
    const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    return std::string(path, n < sizeof path ? n : sizeof path - 1);
}

VersionReport QueryVersionReport()
{
    OSVERSIONINFOA info;
    ZeroMemory(&info, sizeof info);
    info.dwOSVersionInfoSize = sizeof info;  // 148 bytes
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    const BOOL ok = GetVersionExA(&info);
#pragma GCC diagnostic pop
    VersionReport report;
    report.ok = ok != FALSE;
    report.platformId = info.dwPlatformId;
    report.major = info.dwMajorVersion;
    report.minor = info.dwMinorVersion;
    return report;
}

bool ReadFileVersion(const std::string& path, std::uint32_t& versionMS, std::uint32_t& versionLS)
{
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
    if (size == 0)
        return false;
    std::vector<char> block(size);
    if (!GetFileVersionInfoA(path.c_str(), 0, size, block.data()))
        return false;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedSize = 0;
    if (!VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &fixedSize) ||
        fixed == nullptr || fixedSize < sizeof(VS_FIXEDFILEINFO))
        return false;
    versionMS = fixed->dwFileVersionMS;
    versionLS = fixed->dwFileVersionLS;
    return true;
}

std::string SettingsFolder(const std::string& programDir)
{
    return programDir;
}

std::string LogFolder(const std::string& programDir)
{
    return programDir;
}

std::unique_ptr<Profile> OpenPlatformProfile(const std::string& path)
{
    return std::make_unique<Win32Profile>(path);
}
