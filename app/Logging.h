#pragma once

#include <string>

// The debug log of the serial conversation: one timestamped line per call, written
// only when the log is switched on. One instance exists per process; callers use
// the static Write and never test an outcome.
class Logging {
public:
    Logging(std::string folder, std::string fileName, int level);
    virtual ~Logging();

    Logging(const Logging&) = delete;
    Logging& operator=(const Logging&) = delete;

    static void Write(std::string text);

    // The timestamp that starts every line, for example "2011/03/07 14:05:09.042 :".
    static std::string TimestampPrefix(int year, int month, int day, int hour, int minute,
                                       int second, int millisecond);

    // True when the text needs a line end of its own (see Write).
    static bool NeedsLineEnd(const std::string& text);

private:
    void WriteLine(const std::string& text) const;

    std::string m_folder;
    std::string m_fileName;
    int m_level;
};
