#include "app/Settings.h"

StartupSettings ReadStartupSettings(Profile& profile, const std::string& programDir)
{
    StartupSettings s;
    s.comPort = profile.GetInt(kSectionInitialize, kKeyComPort, kDefaultComPort);
    s.baudRate = profile.GetInt(kSectionInitialize, kKeyBaudRate, kDefaultBaudRate);
    s.currentDir = profile.GetString(kSectionInitialize, kKeyCurrentDir, programDir);
    if (s.currentDir.empty())
        s.currentDir = programDir;
    s.logLevel = profile.GetInt(kSectionInitialize, kKeyLogLevel, 0);
    return s;
}

void WriteBackSettings(Profile& profile, int comPort, int baudRate, const std::string& currentDir,
                       const std::string& programDir)
{
    profile.WriteString(kSectionInitialize, kKeyComPort, std::to_string(comPort));
    profile.WriteString(kSectionInitialize, kKeyBaudRate, std::to_string(baudRate));
    profile.WriteString(kSectionInitialize, kKeyCurrentDir,
                        currentDir == programDir ? std::string() : currentDir);
}

std::string ProgramFolderOf(const std::string& executablePath, char separator)
{
    const std::size_t last = executablePath.rfind(separator);
    if (last == std::string::npos)
        return executablePath;
    return executablePath.substr(0, last);
}

std::string SettingsFileIn(const std::string& folder, char separator)
{
    return folder + separator + kSettingsFileName;
}
