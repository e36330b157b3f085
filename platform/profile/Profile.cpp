#include "platform/profile/Profile.h"

#include "platform/core/AtomicFile.h"
#include "platform/core/CaseInsensitive.h"
#include "platform/core/Folders.h"

#include <algorithm>
#include <cctype>
#include <climits>

namespace tvane {
namespace {

struct Line {
    std::string key;   // empty for a comment or blank line
    std::string value; // the raw text for comments
    bool isEntry = false;
};

struct Section {
    std::string name;
    std::vector<Line> lines;
};

struct IniFile {
    std::vector<Line> preamble; // lines before the first section
    std::vector<Section> sections;
};

std::string Trim(const std::string& s) {
    std::size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t' || s[b] == '\r'))
        ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r'))
        --e;
    return s.substr(b, e - b);
}

IniFile Parse(const std::string& text) {
    IniFile ini;
    Section* current = nullptr;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string::npos)
            end = text.size();
        std::string raw = text.substr(pos, end - pos);
        pos = end + 1;
        if (!raw.empty() && raw.back() == '\r')
            raw.pop_back();
        std::string t = Trim(raw);
        if (!t.empty() && t.front() == '[') {
            // Up to the last "]": names written by the program may hold one.
            std::size_t close = t.rfind(']');
            std::string name =
                Trim(t.substr(1, close == std::string::npos ? t.size() - 1 : close - 1));
            ini.sections.push_back({name, {}});
            current = &ini.sections.back();
            continue;
        }
        Line line;
        std::size_t eq = t.find('=');
        if (!t.empty() && t.front() != ';' && eq != std::string::npos) {
            line.isEntry = true;
            line.key = Trim(t.substr(0, eq));
            line.value = Trim(t.substr(eq + 1));
        } else {
            line.value = raw;
        }
        (current ? current->lines : ini.preamble).push_back(std::move(line));
    }
    return ini;
}

std::string Render(const IniFile& ini) {
    std::string out;
    auto emit = [&out](const std::vector<Line>& lines) {
        for (const auto& l : lines)
            out += l.isEntry ? l.key + "=" + l.value + "\n" : l.value + "\n";
    };
    emit(ini.preamble);
    for (const auto& s : ini.sections) {
        out += "[" + s.name + "]\n";
        emit(s.lines);
    }
    return out;
}

IniFile Load(const std::string& file) {
    std::string text;
    if (!ReadWholeFile(ConfigFile(file), text))
        return {};
    return Parse(text);
}

bool Save(const std::string& file, const IniFile& ini) {
    return WriteFileAtomically(ConfigFile(file), Render(ini));
}

Section* FindSection(IniFile& ini, const std::string& name) {
    for (auto& s : ini.sections)
        if (EqualsNoCase(s.name, name))
            return &s;
    return nullptr;
}

Line* FindKey(Section& s, const std::string& key) {
    for (auto& l : s.lines)
        if (l.isEntry && EqualsNoCase(l.key, key))
            return &l;
    return nullptr;
}

std::string OneLine(std::string text) {
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return text;
}

std::string Unquote(const std::string& v) {
    if (v.size() >= 2 &&
        ((v.front() == '"' && v.back() == '"') || (v.front() == '\'' && v.back() == '\'')))
        return v.substr(1, v.size() - 2);
    return v;
}

} // namespace

std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                    const std::string& def, const std::string& file,
                                    std::size_t bufferSize) {
    IniFile ini = Load(file);
    std::string result = def;
    if (Section* s = FindSection(ini, section))
        if (Line* l = FindKey(*s, key))
            result = Unquote(l->value);
    if (bufferSize > 0 && result.size() > bufferSize - 1)
        result.resize(bufferSize - 1);
    return result;
}

int GetPrivateProfileInt(const std::string& section, const std::string& key, int def,
                         const std::string& file) {
    IniFile ini = Load(file);
    Section* s = FindSection(ini, section);
    Line* l = s ? FindKey(*s, key) : nullptr;
    if (!l)
        return def;
    const std::string& v = l->value;
    std::size_t i = 0;
    while (i < v.size() && (v[i] == ' ' || v[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < v.size() && (v[i] == '-' || v[i] == '+'))
        negative = v[i++] == '-';
    long long n = 0;
    for (; i < v.size() && std::isdigit(static_cast<unsigned char>(v[i])); ++i)
        if (n <= INT_MAX)
            n = n * 10 + (v[i] - '0');
    if (n > INT_MAX)
        n = INT_MAX;
    return static_cast<int>(negative ? -n : n);
}

bool WritePrivateProfileString(const std::string& sectionText, const std::string& keyText,
                               const std::optional<std::string>& text, const std::string& file) {
    // A line break written raw would end the line and could start a section of
    // its own: each goes in as a blank.
    const std::string section = OneLine(sectionText);
    const std::string key = OneLine(keyText);
    const std::optional<std::string> value =
        text ? std::optional<std::string>(OneLine(*text)) : std::nullopt;
    IniFile ini = Load(file);
    Section* s = FindSection(ini, section);
    if (!value) {
        if (!s)
            return true;
        std::erase_if(s->lines,
                      [&](const Line& l) { return l.isEntry && EqualsNoCase(l.key, key); });
        return Save(file, ini);
    }
    if (!s) {
        ini.sections.push_back({section, {}});
        s = &ini.sections.back();
    }
    if (Line* l = FindKey(*s, key)) {
        l->value = *value;
    } else {
        // New keys go after the section's last entry, before trailing blank lines.
        auto it = s->lines.end();
        while (it != s->lines.begin() && !(it - 1)->isEntry && Trim((it - 1)->value).empty())
            --it;
        s->lines.insert(it, Line{key, *value, true});
    }
    return Save(file, ini);
}

bool DeletePrivateProfileSection(const std::string& section, const std::string& file) {
    IniFile ini = Load(file);
    std::erase_if(ini.sections, [&](const Section& s) { return EqualsNoCase(s.name, section); });
    return Save(file, ini);
}

std::vector<std::string> GetPrivateProfileSectionNames(const std::string& file) {
    std::vector<std::string> names;
    for (const auto& s : Load(file).sections)
        names.push_back(s.name);
    return names;
}

std::vector<std::string> GetPrivateProfileKeys(const std::string& section,
                                               const std::string& file) {
    std::vector<std::string> keys;
    IniFile ini = Load(file);
    if (Section* s = FindSection(ini, section))
        for (const auto& l : s->lines)
            if (l.isEntry)
                keys.push_back(l.key);
    return keys;
}

std::vector<ProfileSection> ReadPrivateProfile(const std::string& file) {
    std::vector<ProfileSection> sections;
    for (const auto& s : Load(file).sections) {
        ProfileSection& out = sections.emplace_back();
        out.name = s.name;
        for (const auto& l : s.lines)
            if (l.isEntry)
                out.entries.emplace_back(l.key, Unquote(l.value));
    }
    return sections;
}

} // namespace tvane
