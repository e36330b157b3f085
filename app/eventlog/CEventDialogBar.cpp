#include "app/eventlog/CEventDialogBar.h"

#include <QHBoxLayout>

#include "app/eventlog/CEventBarButton.h"
#include "app/eventlog/EventLogRules.h"
#include "app/eventlog/WindowMessages.h"

namespace {

constexpr const char* kTexts[CEventDialogBar::kButtonCount] = {"&Add...", "&Edit...", "&Find...",
                                                               "&Delete", "&Print",   "Close"};
constexpr const char* kPrompts[CEventDialogBar::kButtonCount] = {
    "Add an event to log",       "Edit the selected event", "",
    "Delete the selected event", "Print the event log",     ""};

} // namespace

CEventDialogBar::CEventDialogBar(QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(3, 3, 3, 3);
    layout->setSpacing(6);
    for (int i = 0; i < kButtonCount; ++i) {
        auto* button = new CEventBarButton(kTexts[i], this);
        button->setFixedSize(75, 23);
        button->setStatusTip(kPrompts[i]);
        button->setProperty("commandId", kIds[i]);
        connect(button, &QPushButton::clicked, this,
                [this, id = kIds[i]] { emit commandRequested(id); });
        layout->addWidget(button);
        m_buttons[static_cast<std::size_t>(i)] = button;
    }
    layout->addStretch();
}

CEventBarButton* CEventDialogBar::Button(unsigned id) const {
    for (int i = 0; i < kButtonCount; ++i)
        if (kIds[i] == id)
            return m_buttons[static_cast<std::size_t>(i)];
    return nullptr;
}

void CEventDialogBar::OnTabKey(bool shift) {
    QWidget* focus = focusWidget();
    if ((focus == Last() && !shift) || (focus == First() && shift)) {
        QObject* target = m_target ? m_target.data() : parent();
        WindowMessage::Post(target, FocusChangeMessage(), eventlog::kKeyTab, 0);
        return;
    }
    // The next (previous) enabled button; the ends are always enabled.
    int i = 0;
    while (i < kButtonCount && m_buttons[static_cast<std::size_t>(i)] != focus)
        ++i;
    if (i == kButtonCount)
        i = shift ? kButtonCount : -1;
    const int step = shift ? -1 : 1;
    for (int j = i + step; j >= 0 && j < kButtonCount; j += step) {
        CEventBarButton* button = m_buttons[static_cast<std::size_t>(j)];
        if (button->isEnabled()) {
            button->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}
