#pragma once

#include <string>

// Values of the application object that other parts of the program use.

// Full path of the settings file, set once during start-up.
const std::string& SettingsPath();
void SetSettingsPath(std::string path);

// The success of the latest write of this process; false until a write ends. The
// write worker sets it, the main thread reads it.
bool LastResult();
void SetLastResult(bool success);

// Records LastResult in the settings file as RETURN_CODE/LAST_RESULT, "1" or "0",
// for automated callers.
void WriteLastResult();
