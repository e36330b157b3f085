#pragma once
#include <QPushButton>

// A button of the event log's bar: Tab and Shift+Tab go to the bar, which
// decides whether the focus stays in the bar or goes back to the table.
class CEventBarButton final : public QPushButton {
    Q_OBJECT
public:
    CEventBarButton(const QString& text, QWidget* parent);

protected:
    bool event(QEvent* event) override;
};
