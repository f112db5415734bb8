#pragma once

#include "app/Profile.h"

// Our own private-profile implementation, for platforms that have none. It reads
// like the Windows functions (case-insensitive names, blanks around names and values
// ignored, one pair of matching quotes around a value dropped, integers with an
// optional sign and 0x/0o/0b prefix) and edits the file line by line.
class IniProfile : public Profile {
public:
    explicit IniProfile(std::string path);

    int GetInt(const std::string& section, const std::string& key, int defaultValue) override;
    std::string GetString(const std::string& section, const std::string& key,
                          const std::string& defaultValue) override;
    bool WriteString(const std::string& section, const std::string& key,
                     const std::string& value) override;

private:
    std::string m_path;
};

// The integer that the platform's integer reader makes of a profile value.
int ProfileTextToInt(const std::string& text);
