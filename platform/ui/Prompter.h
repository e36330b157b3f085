#pragma once
#include <deque>
#include <string>
#include <vector>

namespace tvane {

// Message boxes. The values of the answers are those the program has always
// compared against (IDOK = 1 ... IDNO = 7).
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel, AbortRetryIgnore };
enum class MsgIcon { None, Information, Warning, Error, Question };
enum class MsgAnswer { Ok = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

struct MessageRequest {
    std::string text;
    std::string caption;
    MsgButtons buttons = MsgButtons::Ok;
    MsgIcon icon = MsgIcon::None;
    unsigned helpId = 0;   // 0: no Help button
    int defaultButton = 0; // index of the default button
};

class IPrompter {
public:
    virtual ~IPrompter() = default;
    virtual MsgAnswer Ask(const MessageRequest& request) = 0;
    virtual void Beep(MsgIcon icon) = 0;
};

// The answer a box gives when its default button is pressed.
MsgAnswer DefaultAnswer(const MessageRequest& request);

// Convenience for the common box.
MsgAnswer ShowMessage(const std::string& text, MsgButtons buttons = MsgButtons::Ok,
                      MsgIcon icon = MsgIcon::None, unsigned helpId = 0,
                      const std::string& caption = "Tvane");

// Without a window system, boxes are written to standard error and answered with
// their default button; the program installs a real prompter at start-up.
IPrompter& Prompter();
void SetPrompter(IPrompter* prompter); // nullptr restores the headless one

// Records every box and answers from a script; an empty script gives the default
// answer. For tests.
class ScriptedPrompter final : public IPrompter {
public:
    MsgAnswer Ask(const MessageRequest& request) override;
    void Beep(MsgIcon icon) override { beeps.push_back(icon); }
    void Script(std::initializer_list<MsgAnswer> answers) {
        m_answers.insert(m_answers.end(), answers);
    }
    std::vector<std::string> Texts() const;

    std::vector<MessageRequest> asked;
    std::vector<MsgIcon> beeps;

private:
    std::deque<MsgAnswer> m_answers;
};

} // namespace tvane
