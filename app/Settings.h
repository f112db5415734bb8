#pragma once

#include <string>

#include "app/Profile.h"

// Names in the settings file "ZUL.ini".
inline constexpr const char* kSettingsFileName = "ZUL.ini";
inline constexpr const char* kLogFileName = "DebugLog.txt";
inline constexpr const char* kSectionInitialize = "Initialize";
inline constexpr const char* kSectionReturnCode = "RETURN_CODE";
inline constexpr const char* kKeyComPort = "COM_PORT";
inline constexpr const char* kKeyBaudRate = "BAUDRATE";
inline constexpr const char* kKeyCurrentDir = "CURRENT_DIR";
inline constexpr const char* kKeyLogLevel = "LOGLEVEL";
inline constexpr const char* kKeyConnectType = "CONNECTTYPE";
inline constexpr const char* kKeyLastResult = "LAST_RESULT";

inline constexpr int kDefaultComPort = 1;
inline constexpr int kDefaultBaudRate = 38400;

// What start-up reads before the main window opens.
struct StartupSettings {
    int comPort = kDefaultComPort;
    int baudRate = kDefaultBaudRate;
    std::string currentDir;
    int logLevel = 0;
};

// Reads the start-up keys; a missing or empty CURRENT_DIR means the program folder.
StartupSettings ReadStartupSettings(Profile& profile, const std::string& programDir);

// Writes the window's choices back. A firmware folder equal to the program folder
// (byte for byte) is stored empty, so the installation can move. LOGLEVEL and
// CONNECTTYPE are left alone.
void WriteBackSettings(Profile& profile, int comPort, int baudRate, const std::string& currentDir,
                       const std::string& programDir);

// The folder of an executable path: everything before the last separator, or the
// whole path when it has none.
std::string ProgramFolderOf(const std::string& executablePath, char separator);

// The settings file's full path for a folder.
std::string SettingsFileIn(const std::string& folder, char separator);
