#pragma once

#include <memory>
#include <string>

// A private-profile (INI) settings file, read and written key by key. Every call
// goes to the file itself, so two objects on one path always agree.
class Profile {
public:
    // Texts are read into a buffer of this size, so values keep at most 511 bytes.
    static constexpr std::size_t kStringBufferSize = 512;

    virtual ~Profile() = default;

    // The key's value as an integer; the default when the file, section or key is
    // missing or the value is empty. Text that is not a number reads as 0.
    virtual int GetInt(const std::string& section, const std::string& key, int defaultValue) = 0;

    // The key's value, or the default when the file, section or key is missing.
    virtual std::string GetString(const std::string& section, const std::string& key,
                                  const std::string& defaultValue) = 0;

    // Creates the file, the section and the key as needed and replaces an existing
    // value in place; every other line of the file stays as it was.
    virtual bool WriteString(const std::string& section, const std::string& key,
                             const std::string& value) = 0;
};

// The platform's own private-profile functions on the file at `path`.
std::unique_ptr<Profile> OpenPlatformProfile(const std::string& path);
