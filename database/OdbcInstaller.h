#pragma once
#include <string>

namespace tvane {

// The ODBC installer functions the program uses to keep its data source in the
// user's odbc.ini. The system's installer library is loaded at run time by name;
// tests install a fake to make a write fail.
class IOdbcInstaller {
public:
    virtual ~IOdbcInstaller() = default;
    // Writes key = value in section of `file` ("odbc.ini": the user's data sources).
    virtual bool WritePrivateProfileString(const std::string& section, const std::string& key,
                                           const std::string& value, const std::string& file) = 0;
    // The value, or def when the section or key is missing.
    virtual std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                                const std::string& def,
                                                const std::string& file) = 0;
    // The text of the last failure.
    virtual std::string LastError() const = 0;
};

// unixODBC's libodbcinst.so.2, loaded with dlopen on first use; every call fails
// (with dlerror's text) when the library or a function is missing.
class SystemOdbcInstaller final : public IOdbcInstaller {
public:
    SystemOdbcInstaller();
    ~SystemOdbcInstaller() override;
    bool WritePrivateProfileString(const std::string& section, const std::string& key,
                                   const std::string& value, const std::string& file) override;
    std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                        const std::string& def, const std::string& file) override;
    std::string LastError() const override { return m_lastError; }

private:
    bool Load();

    void* m_library = nullptr;
    void* m_write = nullptr;
    void* m_get = nullptr;
    void* m_setConfigMode = nullptr;
    void* m_error = nullptr;
    std::string m_lastError;
};

IOdbcInstaller& OdbcInstaller();
void SetOdbcInstaller(IOdbcInstaller* installer); // nullptr restores the system one

} // namespace tvane
