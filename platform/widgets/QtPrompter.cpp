#include "platform/widgets/QtPrompter.h"

#include <vector>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QWindow>

#include "platform/ui/Help.h"
#include "platform/widgets/QtText.h"

namespace tvane {

namespace {

struct ButtonAnswer {
    QMessageBox::StandardButton button;
    MsgAnswer answer;
};

std::vector<ButtonAnswer> ButtonsOf(MsgButtons buttons) {
    using A = MsgAnswer;
    switch (buttons) {
    case MsgButtons::Ok:
        return {{QMessageBox::Ok, A::Ok}};
    case MsgButtons::OkCancel:
        return {{QMessageBox::Ok, A::Ok}, {QMessageBox::Cancel, A::Cancel}};
    case MsgButtons::YesNo:
        return {{QMessageBox::Yes, A::Yes}, {QMessageBox::No, A::No}};
    case MsgButtons::YesNoCancel:
        return {
            {QMessageBox::Yes, A::Yes}, {QMessageBox::No, A::No}, {QMessageBox::Cancel, A::Cancel}};
    case MsgButtons::RetryCancel:
        return {{QMessageBox::Retry, A::Retry}, {QMessageBox::Cancel, A::Cancel}};
    case MsgButtons::AbortRetryIgnore:
        return {{QMessageBox::Abort, A::Abort},
                {QMessageBox::Retry, A::Retry},
                {QMessageBox::Ignore, A::Ignore}};
    }
    return {{QMessageBox::Ok, A::Ok}};
}

QMessageBox::Icon IconOf(MsgIcon icon) {
    switch (icon) {
    case MsgIcon::Information:
        return QMessageBox::Information;
    case MsgIcon::Warning:
        return QMessageBox::Warning;
    case MsgIcon::Error:
        return QMessageBox::Critical;
    case MsgIcon::Question:
        return QMessageBox::Question;
    case MsgIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

void PlaceOverActiveWindow(QWidget& box) {
    QWidget* active = QApplication::activeWindow();
    box.setWindowModality(Qt::ApplicationModal);
    if (active == nullptr || active == &box || active->windowHandle() == nullptr)
        return;
    box.winId(); // the box's own window, to stand over the active one
    if (QWindow* window = box.windowHandle())
        window->setTransientParent(active->windowHandle());
}

MsgAnswer QtPrompter::Ask(const MessageRequest& request) {
    QString text = ToQString(request.text);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox box(IconOf(request.icon),
                    ToQString(request.caption.empty() ? m_defaultCaption : request.caption), text,
                    QMessageBox::NoButton);
    PlaceOverActiveWindow(box);
    const auto buttons = ButtonsOf(request.buttons);
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        QPushButton* b = box.addButton(buttons[i].button);
        if (int(i) == request.defaultButton)
            box.setDefaultButton(b);
    }
    if (request.helpId != 0) {
        // Help shows the context and keeps the box open, as a help button does.
        QPushButton* help = box.addButton(QMessageBox::Help);
        help->disconnect();
        const unsigned id = request.helpId;
        QObject::connect(help, &QPushButton::clicked, [id] { Help().ShowContext(id); });
    }
    box.exec();
    const auto clicked = box.standardButton(box.clickedButton());
    for (const auto& b : buttons)
        if (b.button == clicked)
            return b.answer;
    // Closed without a button (Escape): the box's cancelling answer, Cancel
    // before No, so that Escape never answers No to "Save changes?".
    for (MsgAnswer cancelling : {MsgAnswer::Cancel, MsgAnswer::No})
        for (const auto& b : buttons)
            if (b.answer == cancelling)
                return b.answer;
    return buttons.front().answer;
}

void QtPrompter::Beep(MsgIcon) {
    QApplication::beep();
}

} // namespace tvane
