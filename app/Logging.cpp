#include "app/Logging.h"

#include <cstdio>
#include <memory>

#include "app/Platform.h"

namespace {

Logging* g_instance = nullptr;

// The log is a text file in the Windows sense on every platform: each line feed is
// stored as CR LF, also one that the caller's text already preceded with CR.
std::string ToTextMode(const std::string& bytes)
{
    std::string out;
    out.reserve(bytes.size() + 8);
    for (char c : bytes) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

struct FileCloser {
    void operator()(std::FILE* f) const noexcept { std::fclose(f); }
};

}  // namespace

Logging::Logging(std::string folder, std::string fileName, int level)
    : m_folder(std::move(folder)), m_fileName(std::move(fileName)), m_level(level)
{
    g_instance = this;
}

Logging::~Logging()
{
    if (g_instance == this)
        g_instance = nullptr;
}

std::string Logging::TimestampPrefix(int year, int month, int day, int hour, int minute,
                                     int second, int millisecond)
{
    char prefix[64];
    std::snprintf(prefix, sizeof prefix, "%04d/%02d/%02d %02d:%02d:%02d.%03d :", year, month, day,
                  hour, minute, second, millisecond);
    return prefix;
}

bool Logging::NeedsLineEnd(const std::string& text)
{
    // A line end is added unless the text's first line feed is one of its last two
    // bytes; a text shorter than two bytes without one gets none, so the next line
    // carries on where it stopped.
    const std::size_t found = text.find('\n');
    const long long p = found == std::string::npos ? -1 : static_cast<long long>(found);
    const long long n = static_cast<long long>(text.size());
    return p < n - 2;
}

void Logging::Write(std::string text)
{
    if (g_instance == nullptr || g_instance->m_level == 0)
        return;
    g_instance->WriteLine(text);
}

void Logging::WriteLine(const std::string& text) const
{
    const LocalTime t = CurrentLocalTime();
    std::string line = TimestampPrefix(t.year, t.month, t.day, t.hour, t.minute, t.second,
                                       t.millisecond);
    line += text;
    if (NeedsLineEnd(text))
        line += '\n';

    const std::string path = m_folder + PathSeparator() + m_fileName;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "ab"));
    if (!file)
        return;  // the log must never disturb the write it records
    const std::string bytes = ToTextMode(line);
    std::fwrite(bytes.data(), 1, bytes.size(), file.get());
}
