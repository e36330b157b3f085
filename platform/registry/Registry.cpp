#include "platform/registry/Registry.h"

#include "platform/core/AtomicFile.h"
#include "platform/core/CaseInsensitive.h"
#include "platform/core/Folders.h"

#include <cstdlib>
#include <map>
#include <mutex>
#include <variant>

namespace tvane {
namespace {

using Value = std::variant<std::string, std::uint32_t>;

struct Key {
    std::string name;
    std::map<std::string, std::pair<std::string, Value>, LessNoCase>
        values; // name -> (name, value)
    std::map<std::string, Key, LessNoCase> subkeys;
};

std::mutex g_mutex;

const char* HiveName(RegHive hive) {
    switch (hive) {
    case RegHive::ClassesRoot:
        return "HKEY_CLASSES_ROOT";
    case RegHive::CurrentUser:
        return "HKEY_CURRENT_USER";
    case RegHive::LocalMachine:
        return "HKEY_LOCAL_MACHINE";
    }
    return "HKEY_UNKNOWN";
}

std::filesystem::path HivePath(RegHive hive) {
    return ConfigDir() / "registry" / (std::string(HiveName(hive)) + ".reg");
}

std::vector<std::string> SplitPath(const std::string& path) {
    std::vector<std::string> parts;
    std::string cur;
    for (char c : path) {
        if (c == '\\' || c == '/') {
            if (!cur.empty())
                parts.push_back(std::move(cur));
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.empty())
        parts.push_back(std::move(cur));
    return parts;
}

// File form, one line each:  K <path>   S <path> \t <name> \t <value>   D <path> \t <name> \t <n>
// with '\\', '\t' and '\n' escaped inside fields.
std::string Escape(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\t')
            out += "\\t";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else
            out += c;
    }
    return out;
}

std::string Unescape(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size()) {
            char n = s[++i];
            out += n == 't' ? '\t' : n == 'n' ? '\n' : n == 'r' ? '\r' : n;
        } else {
            out += s[i];
        }
    }
    return out;
}

std::vector<std::string> SplitTabs(const std::string& line) {
    std::vector<std::string> f;
    std::size_t pos = 0;
    while (true) {
        std::size_t t = line.find('\t', pos);
        f.push_back(
            Unescape(line.substr(pos, t == std::string::npos ? std::string::npos : t - pos)));
        if (t == std::string::npos)
            break;
        pos = t + 1;
    }
    return f;
}

Key* Walk(Key& root, const std::vector<std::string>& parts, bool create) {
    Key* k = &root;
    for (const auto& p : parts) {
        auto it = k->subkeys.find(p);
        if (it == k->subkeys.end()) {
            if (!create)
                return nullptr;
            it = k->subkeys.emplace(p, Key{p, {}, {}}).first;
        }
        k = &it->second;
    }
    return k;
}

std::string JoinPath(const std::vector<std::string>& parts) {
    std::string s;
    for (const auto& p : parts)
        s += (s.empty() ? "" : "\\") + p;
    return s;
}

Key LoadHive(RegHive hive) {
    Key root;
    std::string text;
    if (!ReadWholeFile(HivePath(hive), text))
        return root;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(pos, end - pos);
        pos = end + 1;
        if (line.size() < 2 || line[1] != ' ')
            continue;
        auto f = SplitTabs(line.substr(2));
        Key* k = Walk(root, SplitPath(f[0]), true);
        if (line[0] == 'S' && f.size() == 3)
            k->values[f[1]] = {f[1], Value(f[2])};
        else if (line[0] == 'D' && f.size() == 3)
            k->values[f[1]] = {
                f[1], Value(static_cast<std::uint32_t>(std::strtoul(f[2].c_str(), nullptr, 10)))};
    }
    return root;
}

void Render(const Key& k, std::vector<std::string>& path, std::string& out) {
    std::string p = Escape(JoinPath(path));
    if (!path.empty())
        out += "K " + p + "\n";
    for (const auto& [_, nv] : k.values) {
        if (const auto* s = std::get_if<std::string>(&nv.second))
            out += "S " + p + "\t" + Escape(nv.first) + "\t" + Escape(*s) + "\n";
        else
            out += "D " + p + "\t" + Escape(nv.first) + "\t" +
                   std::to_string(std::get<std::uint32_t>(nv.second)) + "\n";
    }
    for (const auto& [_, sub] : k.subkeys) {
        path.push_back(sub.name);
        Render(sub, path, out);
        path.pop_back();
    }
}

bool SaveHive(RegHive hive, const Key& root) {
    std::string out;
    std::vector<std::string> path;
    Render(root, path, out);
    return WriteFileAtomically(HivePath(hive), out);
}

template <typename F> auto Modify(RegHive hive, F&& f) {
    std::lock_guard lock(g_mutex);
    Key root = LoadHive(hive);
    bool changed = f(root);
    return changed ? SaveHive(hive, root) : false;
}

template <typename F> auto Read(RegHive hive, F&& f) {
    std::lock_guard lock(g_mutex);
    Key root = LoadHive(hive);
    return f(root);
}

bool SetValue(RegHive hive, const std::string& path, const std::string& name, Value v) {
    return Modify(hive, [&](Key& root) {
        Key* k = Walk(root, SplitPath(path), true);
        k->values[name] = {name, std::move(v)};
        return true;
    });
}

// A value of the key, only when it is stored as type T.
template <typename T>
std::optional<T> GetValue(RegHive hive, const std::string& path, const std::string& name) {
    return Read(hive, [&](Key& root) -> std::optional<T> {
        Key* k = Walk(root, SplitPath(path), false);
        if (!k)
            return std::nullopt;
        auto it = k->values.find(name);
        if (it == k->values.end())
            return std::nullopt;
        if (const auto* v = std::get_if<T>(&it->second.second))
            return *v;
        return std::nullopt;
    });
}

} // namespace

bool RegCreateKeyPath(RegHive hive, const std::string& path) {
    return Modify(hive, [&](Key& root) { return Walk(root, SplitPath(path), true) != nullptr; });
}

bool RegKeyExists(RegHive hive, const std::string& path) {
    return Read(hive, [&](Key& root) { return Walk(root, SplitPath(path), false) != nullptr; });
}

bool RegSetString(RegHive hive, const std::string& path, const std::string& name,
                  const std::string& value) {
    return SetValue(hive, path, name, Value(value));
}

bool RegSetDword(RegHive hive, const std::string& path, const std::string& name,
                 std::uint32_t value) {
    return SetValue(hive, path, name, Value(value));
}

std::optional<std::string> RegGetString(RegHive hive, const std::string& path,
                                        const std::string& name) {
    return GetValue<std::string>(hive, path, name);
}

std::optional<std::uint32_t> RegGetDword(RegHive hive, const std::string& path,
                                         const std::string& name) {
    return GetValue<std::uint32_t>(hive, path, name);
}

bool RegDeleteValue(RegHive hive, const std::string& path, const std::string& name) {
    return Modify(hive, [&](Key& root) {
        Key* k = Walk(root, SplitPath(path), false);
        return k && k->values.erase(name) > 0;
    });
}

bool RegDeleteTree(RegHive hive, const std::string& path) {
    return Modify(hive, [&](Key& root) {
        auto parts = SplitPath(path);
        if (parts.empty())
            return false;
        std::string last = parts.back();
        parts.pop_back();
        Key* parent = Walk(root, parts, false);
        return parent && parent->subkeys.erase(last) > 0;
    });
}

std::vector<std::string> RegSubKeys(RegHive hive, const std::string& path) {
    return Read(hive, [&](Key& root) {
        std::vector<std::string> names;
        if (Key* k = Walk(root, SplitPath(path), false))
            for (const auto& [_, sub] : k->subkeys)
                names.push_back(sub.name);
        return names;
    });
}

std::vector<std::string> RegValueNames(RegHive hive, const std::string& path) {
    return Read(hive, [&](Key& root) {
        std::vector<std::string> names;
        if (Key* k = Walk(root, SplitPath(path), false))
            for (const auto& [_, nv] : k->values)
                names.push_back(nv.first);
        return names;
    });
}

} // namespace tvane
