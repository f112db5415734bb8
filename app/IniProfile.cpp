#include "app/IniProfile.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <vector>

namespace {

struct Line {
    std::string text;  // without its line end
    std::string end;   // "\r\n", "\n" or "" for a last line without one
};

bool IsBlank(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}

std::string Trim(const std::string& s)
{
    std::size_t first = 0;
    std::size_t last = s.size();
    while (first < last && IsBlank(s[first]))
        ++first;
    while (last > first && IsBlank(s[last - 1]))
        --last;
    return s.substr(first, last - first);
}

bool SameName(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (x >= 'a' && x <= 'z')
            x = static_cast<unsigned char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z')
            y = static_cast<unsigned char>(y - 'a' + 'A');
        if (x != y)
            return false;
    }
    return true;
}

std::optional<std::string> ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<Line> SplitLines(const std::string& bytes)
{
    std::vector<Line> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t nl = bytes.find('\n', start);
        if (nl == std::string::npos) {
            lines.push_back({bytes.substr(start), ""});
            break;
        }
        const bool crlf = nl > start && bytes[nl - 1] == '\r';
        const std::size_t textEnd = crlf ? nl - 1 : nl;
        lines.push_back({bytes.substr(start, textEnd - start), crlf ? "\r\n" : "\n"});
        start = nl + 1;
    }
    return lines;
}

// The section name when the line is a section header.
std::optional<std::string> SectionName(const std::string& text)
{
    std::string t = Trim(text);
    if (t.empty() || t[0] != '[')
        return std::nullopt;
    std::size_t close = t.find(']');
    std::string name = close == std::string::npos ? t.substr(1) : t.substr(1, close - 1);
    return Trim(name);
}

struct KeyLine {
    std::string name;
    std::string value;
};

KeyLine SplitKey(const std::string& text)
{
    std::size_t eq = text.find('=');
    if (eq == std::string::npos)
        return {Trim(text), ""};
    return {Trim(text.substr(0, eq)), Trim(text.substr(eq + 1))};
}

std::string Unquote(const std::string& value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

// Finds the value of section/key the way the platform does: every section of that
// name is searched in file order, the first matching key wins.
std::optional<std::string> FindValue(const std::vector<Line>& lines, const std::string& section,
                                     const std::string& key)
{
    bool inSection = false;
    for (const Line& line : lines) {
        if (auto name = SectionName(line.text)) {
            inSection = SameName(*name, section);
            continue;
        }
        if (!inSection)
            continue;
        KeyLine kl = SplitKey(line.text);
        if (!kl.name.empty() && SameName(kl.name, key))
            return Unquote(kl.value);
    }
    return std::nullopt;
}

std::string Truncated(std::string s, std::size_t bufferSize)
{
    if (s.size() > bufferSize - 1)
        s.resize(bufferSize - 1);
    return s;
}

bool WriteAllReplacing(const std::string& path, const std::string& bytes)
{
    const std::string temp = path + ".new";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out)
            return false;
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            out.close();
            std::remove(temp.c_str());
            return false;
        }
    }
    std::error_code ec;
    std::filesystem::rename(temp, path, ec);
    if (ec) {
        std::remove(temp.c_str());
        return false;
    }
    return true;
}

}  // namespace

int ProfileTextToInt(const std::string& text)
{
    // The platform reads integers through a 30-character buffer.
    const std::string s = text.substr(0, 29);
    std::size_t i = 0;
    while (i < s.size() && IsBlank(s[i]))
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    unsigned base = 10;
    if (i + 1 < s.size() && s[i] == '0') {
        const char p = s[i + 1];
        if (p == 'x' || p == 'X')
            base = 16;
        else if (p == 'o' || p == 'O')
            base = 8;
        else if (p == 'b' || p == 'B')
            base = 2;
        if (base != 10)
            i += 2;
    }
    std::uint32_t value = 0;  // wraps like the platform's unsigned arithmetic
    for (; i < s.size(); ++i) {
        const char c = s[i];
        unsigned digit;
        if (c >= '0' && c <= '9')
            digit = static_cast<unsigned>(c - '0');
        else if (c >= 'a' && c <= 'f')
            digit = static_cast<unsigned>(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F')
            digit = static_cast<unsigned>(c - 'A' + 10);
        else
            break;
        if (digit >= base)
            break;
        value = value * base + digit;
    }
    if (negative)
        value = 0u - value;
    return static_cast<int>(value);
}

IniProfile::IniProfile(std::string path) : m_path(std::move(path)) {}

int IniProfile::GetInt(const std::string& section, const std::string& key, int defaultValue)
{
    auto bytes = ReadAll(m_path);
    if (!bytes)
        return defaultValue;
    auto value = FindValue(SplitLines(*bytes), section, key);
    if (!value || value->empty())
        return defaultValue;
    return ProfileTextToInt(*value);
}

std::string IniProfile::GetString(const std::string& section, const std::string& key,
                                  const std::string& defaultValue)
{
    std::optional<std::string> value;
    if (auto bytes = ReadAll(m_path))
        value = FindValue(SplitLines(*bytes), section, key);
    return Truncated(value ? *value : defaultValue, kStringBufferSize);
}

bool IniProfile::WriteString(const std::string& section, const std::string& key,
                             const std::string& value)
{
    const std::string bytes = ReadAll(m_path).value_or(std::string());
    std::vector<Line> lines = SplitLines(bytes);

    // New lines follow the file's own line ends; a new file gets the platform's CR LF.
    std::string eol = "\r\n";
    if (!lines.empty() && !lines.front().end.empty())
        eol = lines.front().end;
    const std::string keyLine = key + "=" + value;

    std::size_t header = lines.size();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        auto name = SectionName(lines[i].text);
        if (name && SameName(*name, section)) {
            header = i;
            break;
        }
    }

    if (header == lines.size()) {
        if (!lines.empty()) {
            if (lines.back().end.empty())
                lines.back().end = eol;
            if (!Trim(lines.back().text).empty())
                lines.push_back({"", eol});
        }
        lines.push_back({"[" + section + "]", eol});
        lines.push_back(Line{keyLine, eol});
    } else {
        std::size_t end = header + 1;
        while (end < lines.size() && !SectionName(lines[end].text))
            ++end;
        bool replaced = false;
        std::size_t lastFilled = header;
        for (std::size_t i = header + 1; i < end; ++i) {
            KeyLine kl = SplitKey(lines[i].text);
            if (!kl.name.empty() && SameName(kl.name, key)) {
                lines[i].text = keyLine;
                replaced = true;
                break;
            }
            if (!Trim(lines[i].text).empty())
                lastFilled = i;
        }
        if (!replaced) {
            if (lines[lastFilled].end.empty())
                lines[lastFilled].end = eol;
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(lastFilled + 1), Line{keyLine, eol});
        }
    }

    std::string out;
    for (const Line& line : lines)
        out += line.text + line.end;
    return WriteAllReplacing(m_path, out);
}
