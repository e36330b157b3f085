#include "tools/restore/dialog/MessageBoxPrompter.h"

#include <vector>

#include <QApplication>
#include <QMessageBox>

namespace {

struct ButtonAnswer {
    QMessageBox::StandardButton button;
    tvane::MsgAnswer answer;
};

std::vector<ButtonAnswer> ButtonsOf(tvane::MsgButtons buttons) {
    using B = QMessageBox::StandardButton;
    using A = tvane::MsgAnswer;
    switch (buttons) {
    case tvane::MsgButtons::Ok:
        return {{B::Ok, A::Ok}};
    case tvane::MsgButtons::OkCancel:
        return {{B::Ok, A::Ok}, {B::Cancel, A::Cancel}};
    case tvane::MsgButtons::YesNo:
        return {{B::Yes, A::Yes}, {B::No, A::No}};
    case tvane::MsgButtons::YesNoCancel:
        return {{B::Yes, A::Yes}, {B::No, A::No}, {B::Cancel, A::Cancel}};
    case tvane::MsgButtons::RetryCancel:
        return {{B::Retry, A::Retry}, {B::Cancel, A::Cancel}};
    case tvane::MsgButtons::AbortRetryIgnore:
        return {{B::Abort, A::Abort}, {B::Retry, A::Retry}, {B::Ignore, A::Ignore}};
    }
    return {{B::Ok, A::Ok}};
}

QMessageBox::Icon IconOf(tvane::MsgIcon icon) {
    switch (icon) {
    case tvane::MsgIcon::Information:
        return QMessageBox::Information;
    case tvane::MsgIcon::Warning:
        return QMessageBox::Warning;
    case tvane::MsgIcon::Error:
        return QMessageBox::Critical;
    case tvane::MsgIcon::Question:
        return QMessageBox::Question;
    case tvane::MsgIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

tvane::MsgAnswer MessageBoxPrompter::Ask(const tvane::MessageRequest& request) {
    // Texts keep their Windows line ends; the box shows them as plain breaks.
    QString text = QString::fromUtf8(request.text);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox box(IconOf(request.icon), QString::fromUtf8(request.caption), text,
                    QMessageBox::NoButton, QApplication::activeWindow());
    const std::vector<ButtonAnswer> buttons = ButtonsOf(request.buttons);
    for (const ButtonAnswer& b : buttons)
        box.addButton(b.button);
    const std::size_t defaultIndex = static_cast<std::size_t>(request.defaultButton);
    if (defaultIndex < buttons.size())
        box.setDefaultButton(buttons[defaultIndex].button);
    const auto pressed = static_cast<QMessageBox::StandardButton>(box.exec());
    for (const ButtonAnswer& b : buttons)
        if (b.button == pressed)
            return b.answer;
    // Closed with Escape or the window's close button.
    return buttons.size() > 1 ? buttons.back().answer : buttons.front().answer;
}

void MessageBoxPrompter::Beep(tvane::MsgIcon /*icon*/) {
    QApplication::beep();
}
