#include "tests/support/TempHome.h"

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <stdexcept>

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

// unixODBC reads ODBCSYSINI and ODBCINI once per process and keeps the paths.
// They name this one link, which each home points at itself while it lives,
// so that every test of a binary run as one process sees its own files.
class OdbcLink {
public:
    OdbcLink() {
        std::string templ = (std::filesystem::temp_directory_path() / "tvane-odbc-XXXXXX").string();
        if (!mkdtemp(templ.data()))
            throw std::runtime_error("cannot create a temporary folder");
        m_folder = templ;
        m_link = m_folder / "home";
    }
    ~OdbcLink() {
        std::error_code ec;
        std::filesystem::remove_all(m_folder, ec);
    }
    const std::filesystem::path& Path() const { return m_link; }
    // Points the link at target (nothing when empty); returns where it pointed.
    std::filesystem::path Retarget(const std::filesystem::path& target) {
        std::error_code ec;
        std::filesystem::path old = std::filesystem::read_symlink(m_link, ec);
        std::filesystem::remove(m_link, ec);
        if (!target.empty())
            std::filesystem::create_directory_symlink(target, m_link);
        return old;
    }

private:
    std::filesystem::path m_folder, m_link;
};

OdbcLink& TheOdbcLink() {
    static OdbcLink link;
    return link;
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
    m_oldOdbcTarget = TheOdbcLink().Retarget(m_path);
    setenv("ODBCINI", (TheOdbcLink().Path() / "odbc.ini").c_str(), 1);
    setenv("ODBCSYSINI", TheOdbcLink().Path().c_str(), 1);
}

TempHome::~TempHome() {
    Restore("TVANE_HOME", m_oldHome, m_hadHome);
    Restore("ODBCINI", m_oldOdbcIni, m_hadOdbcIni);
    Restore("ODBCSYSINI", m_oldOdbcSysIni, m_hadOdbcSysIni);
    TheOdbcLink().Retarget(m_oldOdbcTarget);
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    if (info && info->result() && info->result()->Failed()) {
        std::cerr << "Test files kept in " << m_path << "\n";
        return;
    }
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}

ScopedTmpDir::ScopedTmpDir() {
    const char* tmp = std::getenv("TMPDIR");
    m_had = tmp != nullptr;
    if (tmp)
        m_old = tmp;
    setenv("TMPDIR", m_home.Path().c_str(), 1);
}

ScopedTmpDir::~ScopedTmpDir() {
    if (m_had)
        setenv("TMPDIR", m_old.c_str(), 1);
    else
        unsetenv("TMPDIR");
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
