#include "app/AppState.h"

#include <atomic>

#include "app/Profile.h"
#include "app/Settings.h"

namespace {
std::string g_settingsPath;
std::atomic<bool> g_lastResult{false};
}  // namespace

const std::string& SettingsPath()
{
    return g_settingsPath;
}

void SetSettingsPath(std::string path)
{
    g_settingsPath = std::move(path);
}

bool LastResult()
{
    return g_lastResult.load();
}

void SetLastResult(bool success)
{
    g_lastResult.store(success);
}

void WriteLastResult()
{
    OpenPlatformProfile(SettingsPath())
        ->WriteString(kSectionReturnCode, kKeyLastResult, LastResult() ? "1" : "0");
}
