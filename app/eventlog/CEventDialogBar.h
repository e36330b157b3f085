#pragma once
#include <array>

#include <QPointer>
#include <QWidget>

class CEventBarButton;

// The bar along the bottom of the event log: Add, Edit, Find, Delete, Print
// and Close. Tab past Close (Shift+Tab before Add) hands the focus back to the
// table through the frame.
class CEventDialogBar final : public QWidget {
    Q_OBJECT
public:
    static constexpr int kButtonCount = 6;
    // The command ids of the buttons, in order.
    static constexpr unsigned kIds[kButtonCount] = {1046, 1050, 1315, 1048, 1044, 2};

    explicit CEventDialogBar(QWidget* parent = nullptr);

    CEventBarButton* Button(unsigned id) const;
    CEventBarButton* First() const { return m_buttons.front(); }
    CEventBarButton* Last() const { return m_buttons.back(); }
    // Where the focus change past either end is posted; the parent unless set.
    void SetMessageTarget(QObject* target) { m_target = target; }

    void OnTabKey(bool shift);

signals:
    void commandRequested(unsigned id);

private:
    std::array<CEventBarButton*, kButtonCount> m_buttons{};
    QPointer<QObject> m_target;
};
