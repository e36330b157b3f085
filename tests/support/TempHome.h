#pragma once
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

namespace tvane::test {

// A fresh TVANE_HOME (and ODBCINI/ODBCSYSINI, through a link that stays at one
// path for the whole process) for one test. The folder is removed
// when the test passes and kept, with its path printed, when it fails.
class TempHome {
public:
    TempHome();
    ~TempHome();
    TempHome(const TempHome&) = delete;
    TempHome& operator=(const TempHome&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    std::filesystem::path Config() const { return m_path / "config"; }
    std::filesystem::path Data() const { return m_path / "data"; }

private:
    std::filesystem::path m_path;
    std::filesystem::path m_oldOdbcTarget;
    std::string m_oldHome, m_oldOdbcIni, m_oldOdbcSysIni;
    bool m_hadHome = false, m_hadOdbcIni = false, m_hadOdbcSysIni = false;
};

// Fixture form: every test of the suite gets its own home.
class TempHomeTest : public ::testing::Test {
protected:
    TempHome home;
};

// TMPDIR set to a folder of the test's own while it lives, then put back.
class ScopedTmpDir {
public:
    ScopedTmpDir();
    ~ScopedTmpDir();
    ScopedTmpDir(const ScopedTmpDir&) = delete;
    ScopedTmpDir& operator=(const ScopedTmpDir&) = delete;

    const std::filesystem::path& Path() const { return m_home.Path(); }

private:
    TempHome m_home;
    std::string m_old;
    bool m_had = false;
};

// Reads a whole file as bytes.
std::string ReadFile(const std::filesystem::path& path);
void WriteFile(const std::filesystem::path& path, const std::string& bytes);

} // namespace tvane::test
