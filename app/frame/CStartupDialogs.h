#pragma once
#include <functional>
#include <memory>
#include <string>

#include <QDialog>
#include <QPixmap>
#include <QWidget>

#include "app/TipOfDay.h"

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTimer;

// The welcome window: a first action when no setup was restored. Choice 0 new
// setup, 1 new setup from an instrument upload (only with an instrument
// reached through a real interface), 2 open a setup.
class CWelcomeDialog final : public QDialog {
public:
    CWelcomeDialog(bool instrumentAvailable, QWidget* parent = nullptr);
    int Choice() const { return m_choice; }
    QRadioButton* ChoiceButton(int choice) const { return m_radios[choice]; }
    void accept() override;

private:
    QRadioButton* m_radios[3] = {};
    int m_choice = -1;
};

// "Tip of the Day": the next tip of the tips file, Next Tip, and whether the
// window comes at start-up (preference 10001, written on Close).
class CTipOfDayDialog final : public QDialog {
public:
    // setPreference writes preference 10001 ("Y" or "N").
    CTipOfDayDialog(TipOfDay& tips, std::function<void(const std::string&)> setPreference,
                    QWidget* parent = nullptr);
    QLabel* TipText() const { return m_tip; }
    QPushButton* NextButton() const { return m_next; }
    QCheckBox* ShowAtStartup() const { return m_show; }
    void accept() override;

private:
    TipOfDay& m_tips;
    std::function<void(const std::string&)> m_setPreference;
    QLabel* m_tip = nullptr;
    QPushButton* m_next = nullptr;
    QCheckBox* m_show = nullptr;
};

// "About Tallyvane": the program's picture, the two user lines of the profile,
// the version and the release notes in a viewer.
class CAboutDialog final : public QDialog {
public:
    static constexpr const char* kVersion = "1.5.030305";
    static constexpr const char* kNotesFile = "readme.txt";
    CAboutDialog(const std::string& programDirectory, QWidget* parent = nullptr);
    QPushButton* NotesButton() const { return m_notes; }

private:
    QPushButton* m_notes = nullptr;
};

// The read-only viewer of a text file.
class CTextViewerDialog final : public QDialog {
public:
    CTextViewerDialog(const std::string& path, QWidget* parent = nullptr);
    QPlainTextEdit* Text() const { return m_text; }

private:
    QPlainTextEdit* m_text = nullptr;
};

// The splash: a borderless picture in the middle of the screen while the
// program starts, gone after 750 ms, at the first key or mouse press, or when
// start-up closes it.
class CSplashWnd final : public QWidget {
public:
    static void EnableSplashScreen(bool enable);
    static void ShowSplashScreen(QWidget* parent = nullptr);
    static void HideSplashScreen();
    static CSplashWnd* Instance();

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CSplashWnd();
    ~CSplashWnd() override;
    QPixmap m_picture;
    QTimer* m_timer = nullptr;
};
