#pragma once

#include <cstdint>
#include <string>

// The few platform services the application shell needs. Each platform folder
// (app/win32, app/posix) implements them in one file.

struct LocalTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

// The wall-clock time in the local time zone, to the millisecond.
LocalTime CurrentLocalTime();

// The character that separates folders in a path.
char PathSeparator();

// Full path of the running executable.
std::string ExecutablePath();

// What the platform says about its version, as the version query reports it.
struct VersionReport {
    bool ok = false;
    unsigned platformId = 0;
    unsigned major = 0;
    unsigned minor = 0;
};
VersionReport QueryVersionReport();

// The fixed file version of a program file (the two 32-bit halves of the version
// record). False when the file has no version record.
bool ReadFileVersion(const std::string& path, std::uint32_t& versionMS, std::uint32_t& versionLS);

// Where the settings file and the debug log live. On Windows they stay in the
// program folder; elsewhere they move to the user's folders when the program
// folder cannot be written.
std::string SettingsFolder(const std::string& programDir);
std::string LogFolder(const std::string& programDir);
