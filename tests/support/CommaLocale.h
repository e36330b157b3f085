#pragma once
// A process whose C library writes and reads numbers with a decimal comma, as
// Qt's application object leaves it for a German user, while an object of
// this class lives.
#include <array>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include <unistd.h>

namespace tvane::test {

class CommaLocale {
public:
    CommaLocale() {
        const char* previous = std::setlocale(LC_NUMERIC, nullptr);
        m_previous = previous ? previous : "C";
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8"})
            if (std::setlocale(LC_NUMERIC, name) && Active())
                return;
        UsePrivateDefinition();
    }
    ~CommaLocale() {
        std::setlocale(LC_NUMERIC, m_previous.c_str());
        if (!m_folder.empty()) {
            std::error_code ignored;
            std::filesystem::remove_all(m_folder, ignored);
        }
    }
    CommaLocale(const CommaLocale&) = delete;
    CommaLocale& operator=(const CommaLocale&) = delete;

    // Whether numbers are now written with a comma (a test skips when not).
    static bool Active() {
        char text[8];
        std::snprintf(text, sizeof text, "%.1f", 1.5);
        return std::string(text) == "1,5";
    }

private:
    // Machines without German locales get glibc's compiled numeric part of
    // de_DE (decimal ',', thousands '.', grouping 3;3) from a private folder.
    void UsePrivateDefinition() {
        static constexpr std::array<unsigned char, 54> kNumeric = {
            0x14, 0x11, 0x03, 0x20, 0x06, 0x00, 0x00, 0x00, 0x20, 0x00, 0x00, 0x00, 0x22, 0x00,
            0x00, 0x00, 0x24, 0x00, 0x00, 0x00, 0x28, 0x00, 0x00, 0x00, 0x2c, 0x00, 0x00, 0x00,
            0x30, 0x00, 0x00, 0x00, 0x2c, 0x00, 0x2e, 0x00, 0x03, 0x03, 0x00, 0x00, 0x2c, 0x00,
            0x00, 0x00, 0x2e, 0x00, 0x00, 0x00, 0x55, 0x54, 0x46, 0x2d, 0x38, 0x00};
        m_folder =
            std::filesystem::temp_directory_path() / ("tvane-locale-" + std::to_string(::getpid()));
        const auto definition = m_folder / "tvane_comma";
        std::error_code error;
        std::filesystem::create_directories(definition, error);
        {
            std::ofstream out(definition / "LC_NUMERIC", std::ios::binary);
            out.write(reinterpret_cast<const char*>(kNumeric.data()), kNumeric.size());
        }
        const char* oldPath = std::getenv("LOCPATH");
        const std::string kept = oldPath ? oldPath : "";
        ::setenv("LOCPATH", m_folder.c_str(), 1);
        std::setlocale(LC_NUMERIC, "tvane_comma");
        if (oldPath)
            ::setenv("LOCPATH", kept.c_str(), 1);
        else
            ::unsetenv("LOCPATH");
    }

    std::string m_previous;
    std::filesystem::path m_folder;
};

} // namespace tvane::test
