#pragma once

#include "app/Profile.h"

// The settings file through the Windows private-profile functions.
class Win32Profile : public Profile {
public:
    explicit Win32Profile(std::string path);

    int GetInt(const std::string& section, const std::string& key, int defaultValue) override;
    std::string GetString(const std::string& section, const std::string& key,
                          const std::string& defaultValue) override;
    bool WriteString(const std::string& section, const std::string& key,
                     const std::string& value) override;

private:
    std::string m_path;
};
