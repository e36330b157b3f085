#include "platform/ui/Prompter.h"

#include <iostream>

namespace tvane {

MsgAnswer DefaultAnswer(const MessageRequest& r) {
    static const std::vector<MsgAnswer> kButtons[] = {
        {MsgAnswer::Ok},
        {MsgAnswer::Ok, MsgAnswer::Cancel},
        {MsgAnswer::Yes, MsgAnswer::No},
        {MsgAnswer::Yes, MsgAnswer::No, MsgAnswer::Cancel},
        {MsgAnswer::Retry, MsgAnswer::Cancel},
        {MsgAnswer::Abort, MsgAnswer::Retry, MsgAnswer::Ignore},
    };
    const auto& buttons = kButtons[static_cast<int>(r.buttons)];
    std::size_t i = r.defaultButton >= 0 ? static_cast<std::size_t>(r.defaultButton) : 0;
    return i < buttons.size() ? buttons[i] : buttons.front();
}

namespace {

struct HeadlessPrompter final : IPrompter {
    MsgAnswer Ask(const MessageRequest& r) override {
        std::cerr << (r.caption.empty() ? "Tvane" : r.caption) << ": " << r.text << "\n";
        return DefaultAnswer(r);
    }
    void Beep(MsgIcon) override {}
};

HeadlessPrompter g_headless;
IPrompter* g_prompter = &g_headless;

} // namespace

IPrompter& Prompter() {
    return *g_prompter;
}
void SetPrompter(IPrompter* prompter) {
    g_prompter = prompter ? prompter : &g_headless;
}

MsgAnswer ShowMessage(const std::string& text, MsgButtons buttons, MsgIcon icon, unsigned helpId,
                      const std::string& caption) {
    MessageRequest r;
    r.text = text;
    r.caption = caption;
    r.buttons = buttons;
    r.icon = icon;
    r.helpId = helpId;
    return Prompter().Ask(r);
}

MsgAnswer ScriptedPrompter::Ask(const MessageRequest& request) {
    asked.push_back(request);
    if (m_answers.empty())
        return DefaultAnswer(request);
    MsgAnswer a = m_answers.front();
    m_answers.pop_front();
    return a;
}

std::vector<std::string> ScriptedPrompter::Texts() const {
    std::vector<std::string> t;
    for (const auto& r : asked)
        t.push_back(r.text);
    return t;
}

} // namespace tvane
