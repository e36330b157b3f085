#include "app/eventlog/CEventBarButton.h"

#include <QKeyEvent>

#include "app/eventlog/CEventDialogBar.h"

CEventBarButton::CEventBarButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {
    setAutoDefault(false);
}

bool CEventBarButton::event(QEvent* e) {
    if (e->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(e);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            if (auto* bar = qobject_cast<CEventDialogBar*>(parentWidget())) {
                bar->OnTabKey(key->key() == Qt::Key_Backtab ||
                              key->modifiers().testFlag(Qt::ShiftModifier));
                return true;
            }
        }
    }
    return QPushButton::event(e);
}
