#pragma once
#include "platform/ui/Prompter.h"

// The program's message boxes, on QMessageBox over its active window.
class MessageBoxPrompter final : public tvane::IPrompter {
public:
    tvane::MsgAnswer Ask(const tvane::MessageRequest& request) override;
    void Beep(tvane::MsgIcon icon) override;
};
