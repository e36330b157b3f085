#pragma once
#include <string>

#include <QDialog>
#include <QPointer>

class QLabel;
class CProgressMeter;

// The modeless progress dialog of long operations on the user-interface thread:
// a status line, the bar, a percentage and Cancel. The operation steps it and
// polls CheckCancel; every step lets waiting events run. While it exists its
// owner window takes no input.
class CProgressDialog final : public QDialog {
public:
    static constexpr unsigned kDownloading = 667;
    static constexpr unsigned kUploadingConfigs = 668;
    static constexpr unsigned kUploadingData = 672;

    explicit CProgressDialog(unsigned captionId = 0);
    ~CProgressDialog() override;

    // Disables the owner's top-level window (when enabled) and shows the dialog.
    bool Create(QWidget* parent);
    void DestroyWindow();

    void SetStatusText(const std::string& text);
    void SetRange(int lower, int upper);
    void SetStep(int step);
    // -1 at once when the bar already shows pos.
    int SetPos(int pos);
    int OffsetPos(int delta);
    int StepIt();
    // True once after Cancel was pressed.
    bool CheckCancel();

    QString PercentText() const;
    QString StatusText() const;
    CProgressMeter* Meter() const { return m_meter; }
    QWidget* Owner() const { return m_owner; }
    // "%d%%" of (pos - lower) * 100 / (upper - lower), wrapping past 100; "0%"
    // for an empty range below its bound and "100%" at or past it.
    static QString PercentFor(int pos, int lower, int upper);

protected:
    void reject() override; // Escape and Cancel only ask to cancel

private:
    void PumpMessages();
    void UpdatePercent(int pos);

    CProgressMeter* m_meter;
    QLabel* m_status;
    QLabel* m_percent;
    unsigned m_captionId;
    int m_lower = 0;
    int m_upper = 100;
    int m_step = 10;
    bool m_cancel = false;
    bool m_ownerDisabled = false;
    QPointer<QWidget> m_owner;
};
