#pragma once

#include <cstdint>
#include <string>

#include "app/Platform.h"

// The version text of a fixed file version: "Ver.%d.%02d", with ".%02d" for a
// third number that is not zero. The fourth number is never shown.
std::string VersionText(std::uint32_t versionMS, std::uint32_t versionLS);

// The version text of this build, from the numbers fixed when it was built.
std::string BuildVersionText();

// The window title before any run-mode suffix: "ZUL " and the version text.
std::string ComposeTitle(const std::string& versionText);

// The title for the version record of the program file at `path`; "ZUL " alone when
// the file is missing or has no version record.
std::string TitleFromProgramFile(const std::string& path);

// Version codes: 0, 1, 3 the Windows 95 family (95, 98, Me), 4 NT 4.0, 5 Windows
// 2000, 6 XP/2003, 7 Vista, 8 Windows 7 and later 6.x; -1 anything else.
int VersionCodeFromReport(const VersionReport& report);

// The code of the platform the program runs on. Off Windows the report is a failed
// query, so the code is -1, which changes no decision.
int GetWindowsVersionCode();
