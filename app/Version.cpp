#include "app/Version.h"

#include <cstdio>

std::string VersionText(std::uint32_t versionMS, std::uint32_t versionLS)
{
    const unsigned major = versionMS >> 16;
    const unsigned minor = versionMS & 0xFFFFu;
    const unsigned third = versionLS >> 16;
    char text[48];
    if (third == 0)
        std::snprintf(text, sizeof text, "Ver.%u.%02u", major, minor);
    else
        std::snprintf(text, sizeof text, "Ver.%u.%02u.%02u", major, minor, third);
    return text;
}

std::string BuildVersionText()
{
    return VersionText((static_cast<std::uint32_t>(ZUL_VERSION_MAJOR) << 16) | ZUL_VERSION_MINOR,
                       (static_cast<std::uint32_t>(ZUL_VERSION_PATCH) << 16) | ZUL_VERSION_TWEAK);
}

std::string ComposeTitle(const std::string& versionText)
{
    return "ZUL " + versionText;
}

std::string TitleFromProgramFile(const std::string& path)
{
    std::uint32_t ms = 0;
    std::uint32_t ls = 0;
    if (!ReadFileVersion(path, ms, ls))
        return ComposeTitle("");
    return ComposeTitle(VersionText(ms, ls));
}

namespace {

struct VersionRow {
    int code;
    unsigned major;
    unsigned minor;
};

// Searched in order; the first row with the same major version and a minor version
// not above the reported one wins.
const VersionRow kNtRows[] = {{8, 6, 1}, {7, 6, 0}, {6, 5, 1}, {5, 5, 0}, {4, 4, 0}};
const VersionRow k9xRows[] = {{3, 4, 90}, {1, 4, 10}, {0, 4, 0}};

template <std::size_t N>
int Search(const VersionRow (&rows)[N], const VersionReport& report)
{
    for (const VersionRow& row : rows)
        if (row.major == report.major && row.minor <= report.minor)
            return row.code;
    return -1;
}

}  // namespace

int VersionCodeFromReport(const VersionReport& report)
{
    if (!report.ok)
        return -1;
    if (report.platformId == 2)
        return Search(kNtRows, report);
    if (report.platformId == 1)
        return Search(k9xRows, report);
    return -1;
}

int GetWindowsVersionCode()
{
    return VersionCodeFromReport(QueryVersionReport());
}
