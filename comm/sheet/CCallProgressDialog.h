#pragma once
#include <QDialog>
#include <QPointer>

#include "comm/ICallProgressDialog.h"

class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;

namespace tvane::comm {

// "Dial Status": each step of a call being set up, and Cancel. Modeless: the dialer
// goes on while it is up, but no other window takes input. Closing the window counts as
// Cancel: the call must be hung up, not left behind a vanished window.
class CCallProgressDialog final : public QDialog {
    Q_OBJECT

public:
    explicit CCallProgressDialog(QWidget* owner);
    ~CCallProgressDialog() override;

    void AddLine(const QString& text);
    // Takes the window down and gives the owner back.
    void Dismiss();
    bool IsUp() const { return m_up; }
    bool TakeCancel();

    QListWidget* StatusList() const { return m_list; }
    QPushButton* CancelButton() const { return m_cancel; }

    void reject() override;

private:
    QListWidget* m_list = nullptr;
    QProgressBar* m_progress = nullptr;
    QLabel* m_line = nullptr;
    QPushButton* m_cancel = nullptr;
    bool m_up = true;
    bool m_cancelled = false;
};

// The dialog as the modem transport sees it; it owns the window.
class CallProgressWindow final : public ICallProgressDialog {
public:
    explicit CallProgressWindow(QWidget* owner);
    ~CallProgressWindow() override;
    void AddLine(const std::string& text) override;
    bool IsOpen() const override;
    void Close() override;
    bool TakeCancel() override;

private:
    QPointer<CCallProgressDialog> m_dialog;
};

} // namespace tvane::comm
