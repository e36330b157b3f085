#pragma once
#include <string>

#include "platform/ui/Prompter.h"

namespace tvane {

// Message boxes on QMessageBox over the active window. A box with a help id has
// a Help button that shows that context and leaves the box open. Texts keep
// their Windows line ends; the box shows them as plain breaks.
class QtPrompter final : public IPrompter {
public:
    // The caption of a box whose request names none: the program's name.
    explicit QtPrompter(std::string defaultCaption) : m_defaultCaption(std::move(defaultCaption)) {}
    MsgAnswer Ask(const MessageRequest& request) override;
    void Beep(MsgIcon icon) override;

private:
    std::string m_defaultCaption;
};

} // namespace tvane
