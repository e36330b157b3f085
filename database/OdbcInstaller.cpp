#include "database/OdbcInstaller.h"

#include <dlfcn.h>

#include <vector>

namespace tvane {
namespace {

// The installer's calling conventions (odbcinst.h), looked up by name.
using WriteFn = int (*)(const char*, const char*, const char*, const char*);
using GetFn = int (*)(const char*, const char*, const char*, char*, int, const char*);
using SetConfigModeFn = int (*)(unsigned short);
using ErrorFn = short (*)(unsigned short, unsigned int*, char*, unsigned short, unsigned short*);

constexpr unsigned short kBothDsn = 0; // ODBC_BOTH_DSN
constexpr unsigned short kUserDsn = 1; // ODBC_USER_DSN

IOdbcInstaller* g_installer = nullptr;

} // namespace

SystemOdbcInstaller::SystemOdbcInstaller() = default;

// The library stays loaded: it keeps a cache of what it read in its own memory,
// which must stay valid for the life of the process.
SystemOdbcInstaller::~SystemOdbcInstaller() = default;

bool SystemOdbcInstaller::Load() {
    if (m_library)
        return m_write && m_get;
    m_library = dlopen("libodbcinst.so.2", RTLD_NOW | RTLD_LOCAL);
    if (!m_library) {
        const char* why = dlerror();
        m_lastError = why ? why : "cannot load libodbcinst.so.2";
        return false;
    }
    m_write = dlsym(m_library, "SQLWritePrivateProfileString");
    m_get = dlsym(m_library, "SQLGetPrivateProfileString");
    m_setConfigMode = dlsym(m_library, "SQLSetConfigMode");
    m_error = dlsym(m_library, "SQLInstallerError");
    if (!m_write || !m_get) {
        m_lastError = "libodbcinst.so.2 lacks the profile functions";
        return false;
    }
    return true;
}

bool SystemOdbcInstaller::WritePrivateProfileString(const std::string& section,
                                                    const std::string& key,
                                                    const std::string& value,
                                                    const std::string& file) {
    if (!Load())
        return false;
    // Writes go to the user's file; the mode is put back so that the driver
    // manager's own lookups still see system data sources too.
    auto setMode = reinterpret_cast<SetConfigModeFn>(m_setConfigMode);
    if (setMode)
        setMode(kUserDsn);
    const bool written = reinterpret_cast<WriteFn>(m_write)(section.c_str(), key.c_str(),
                                                            value.c_str(), file.c_str());
    if (setMode)
        setMode(kBothDsn);
    if (written)
        return true;
    m_lastError = "cannot write " + key + " in [" + section + "] of " + file;
    if (m_error) {
        unsigned int code = 0;
        char message[512] = {};
        unsigned short length = 0;
        if (reinterpret_cast<ErrorFn>(m_error)(1, &code, message, sizeof message, &length) == 0)
            m_lastError += ": " + std::string(message);
    }
    return false;
}

std::string SystemOdbcInstaller::GetPrivateProfileString(const std::string& section,
                                                         const std::string& key,
                                                         const std::string& def,
                                                         const std::string& file) {
    if (!Load())
        return def;
    // Paths may be long: grow the buffer until the value fits.
    for (std::size_t size = 1024; size <= (1u << 20); size *= 4) {
        std::vector<char> buffer(size, '\0');
        const int n =
            reinterpret_cast<GetFn>(m_get)(section.c_str(), key.c_str(), def.c_str(), buffer.data(),
                                           static_cast<int>(size), file.c_str());
        if (n < 0)
            return def;
        if (static_cast<std::size_t>(n) < size - 1)
            return std::string(buffer.data(), static_cast<std::size_t>(n));
    }
    return def;
}

IOdbcInstaller& OdbcInstaller() {
    static SystemOdbcInstaller system;
    return g_installer ? *g_installer : system;
}

void SetOdbcInstaller(IOdbcInstaller* installer) {
    g_installer = installer;
}

} // namespace tvane
