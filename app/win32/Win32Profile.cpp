#include "app/win32/Win32Profile.h"

#include <windows.h>

Win32Profile::Win32Profile(std::string path) : m_path(std::move(path)) {}

int Win32Profile::GetInt(const std::string& section, const std::string& key, int defaultValue)
{
    return static_cast<int>(
        GetPrivateProfileIntA(section.c_str(), key.c_str(), defaultValue, m_path.c_str()));
}

std::string Win32Profile::GetString(const std::string& section, const std::string& key,
                                    const std::string& defaultValue)
{
    char buffer[kStringBufferSize] = {};
    const DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(),
                                             buffer, sizeof buffer, m_path.c_str());
    return std::string(buffer, n < sizeof buffer ? n : sizeof buffer - 1);
}

bool Win32Profile::WriteString(const std::string& section, const std::string& key,
                               const std::string& value)
{
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(),
                                      m_path.c_str()) != FALSE;
}
