#include "app/Platform.h"

#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <memory>

#include "app/IniProfile.h"

LocalTime CurrentLocalTime()
{
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    const auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    struct tm local {};
    localtime_r(&seconds, &local);
    LocalTime t;
    t.year = local.tm_year + 1900;
    t.month = local.tm_mon + 1;
    t.day = local.tm_mday;
    t.hour = local.tm_hour;
    t.minute = local.tm_min;
    t.second = local.tm_sec;
    t.millisecond = static_cast<int>(ms < 0 ? ms + 1000 : ms);
    return t;
}

char PathSeparator()
{
    return '/';
}

std::string ExecutablePath()
{
    char buffer[4096];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0)
        return {};
    return std::string(buffer, static_cast<std::size_t>(n));
}

VersionReport QueryVersionReport()
{
    // Not Windows: a failed query, which maps to a code that changes no behaviour.
    return VersionReport{};
}

bool ReadFileVersion(const std::string& /*path*/, std::uint32_t& versionMS, std::uint32_t& versionLS)
{
    // No version records here: the numbers are fixed when the program is built.
    versionMS = (static_cast<std::uint32_t>(ZUL_VERSION_MAJOR) << 16) | ZUL_VERSION_MINOR;
    versionLS = (static_cast<std::uint32_t>(ZUL_VERSION_PATCH) << 16) | ZUL_VERSION_TWEAK;
    return true;
}

namespace {

bool MakeFolders(const std::string& path)
{
    for (std::size_t i = 1; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == '/') {
            const std::string part = path.substr(0, i);
            if (mkdir(part.c_str(), 0755) != 0 && errno != EEXIST)
                return false;
        }
    }
    return true;
}

// $XDG_<name> when it is an absolute path, else $HOME/<fallback>, with "zul" appended.
std::string UserFolder(const char* xdgVariable, const char* homeFallback)
{
    const char* xdg = std::getenv(xdgVariable);
    std::string base;
    if (xdg != nullptr && xdg[0] == '/') {
        base = xdg;
    } else {
        const char* home = std::getenv("HOME");
        base = std::string(home != nullptr && home[0] != '\0' ? home : "/tmp") + "/" + homeFallback;
    }
    return base + "/zul";
}

std::string WritableOr(const std::string& programDir, const char* xdgVariable, const char* homeFallback)
{
    if (!programDir.empty() && access(programDir.c_str(), W_OK) == 0)
        return programDir;
    std::string folder = UserFolder(xdgVariable, homeFallback);
    MakeFolders(folder);
    return folder;
}

}  // namespace

std::string SettingsFolder(const std::string& programDir)
{
    return WritableOr(programDir, "XDG_CONFIG_HOME", ".config");
}

std::string LogFolder(const std::string& programDir)
{
    return WritableOr(programDir, "XDG_STATE_HOME", ".local/state");
}

std::unique_ptr<Profile> OpenPlatformProfile(const std::string& path)
{
    return std::make_unique<IniProfile>(path);
}
