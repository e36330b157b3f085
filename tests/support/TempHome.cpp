#include "tests/support/TempHome.h"

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>

namespace tvane::test {
namespace {

void Save(const char* name, std::string& old, bool& had) {
    const char* v = std::getenv(name);
    had = v != nullptr;
    if (had)
        old = v;
}

void Restore(const char* name, const std::string& old, bool had) {
    if (had)
        setenv(name, old.c_str(), 1);
    else
        unsetenv(name);
}

} // namespace

TempHome::TempHome() {
    std::string templ = (std::filesystem::temp_directory_path() / "tvane-XXXXXX").string();
    if (!mkdtemp(templ.data()))
        throw std::runtime_error("cannot create a temporary folder");
    m_path = templ;
    std::filesystem::create_directories(m_path / "config");
    std::filesystem::create_directories(m_path / "data");
    Save("TVANE_HOME", m_oldHome, m_hadHome);
    Save("ODBCINI", m_oldOdbcIni, m_hadOdbcIni);
    Save("ODBCSYSINI", m_oldOdbcSysIni, m_hadOdbcSysIni);
    setenv("TVANE_HOME", m_path.c_str(), 1);
    setenv("ODBCINI", (m_path / "odbc.ini").c_str(), 1);
    setenv("ODBCSYSINI", m_path.c_str(), 1);
}

TempHome::~TempHome() {
    Restore("TVANE_HOME", m_oldHome, m_hadHome);
    Restore("ODBCINI", m_oldOdbcIni, m_hadOdbcIni);
    Restore("ODBCSYSINI", m_oldOdbcSysIni, m_hadOdbcSysIni);
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    if (info && info->result() && info->result()->Failed()) {
        std::cerr << "Test files kept in " << m_path << "\n";
        return;
    }
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

} // namespace tvane::test
