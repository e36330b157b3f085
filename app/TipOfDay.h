#pragma once
#include <cstdio>
#include <string>

// The Tip of the Day without its window: the tips file beside the program, the
// next tip to show, and the place in the file that the next dialog, in this
// run or the next, goes on from ([Tip] "FilePos"). A tips file whose time
// stamp changed ([Tip] "TimeStamp") starts again at its first tip. Lines that
// begin with a space, a tab or ";" and empty lines are not tips.
class TipOfDay {
public:
    static constexpr const char* kNoFile =
        "Tips file does not exist in the prescribed directory";                // 107
    static constexpr const char* kReadError = "Trouble reading the tips file"; // 108
    static constexpr const char* kHeading = "Did you know...";                 // 106
    static constexpr int kLineLimit = 1000;

    // showAtStartup is preference 10001.
    TipOfDay(const std::string& tipsPath, bool showAtStartup);
    ~TipOfDay();
    TipOfDay(const TipOfDay&) = delete;
    TipOfDay& operator=(const TipOfDay&) = delete;

    bool IsOpen() const { return m_file != nullptr; }
    const std::string& Tip() const { return m_tip; }
    void NextTip();
    bool ShowAtStartup() const { return m_showAtStartup; }
    void SetShowAtStartup(bool show) { m_showAtStartup = show; }
    // The preference's value as Close writes it: "Y" or "N".
    std::string PreferenceValue() const { return m_showAtStartup ? "Y" : "N"; }

    // The tips file's place in the program's folder.
    static std::string TipsPath(const std::string& programDirectory);

private:
    // Reads up to the next tip line from where the file is; false at the end.
    bool ReadTip();
    void ShowError(const char* text);

    std::FILE* m_file = nullptr;
    std::string m_tip;
    bool m_showAtStartup = true;
};
