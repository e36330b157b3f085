#pragma once
#include <string>

#include "platform/ui/Prompter.h"

class QWidget;

namespace tvane {

// Makes a box application-modal over the window that is active now without
// that window owning it: it may go away while the box is up (the splash
// closes on its own timer) and would take an owned box with it.
void PlaceOverActiveWindow(QWidget& box);

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
