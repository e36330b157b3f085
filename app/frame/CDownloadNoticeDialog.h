#pragma once
#include <QDialog>

class CDownloadNotice;
class QCheckBox;
class QRadioButton;

// The Download Setup Notice: the instrument scans or holds readings, so the
// user continues the download, uploads instead or cancels. The notice holds
// the conditions (already read) and receives the choice on OK.
class CDownloadNoticeDialog final : public QDialog {
public:
    explicit CDownloadNoticeDialog(CDownloadNotice& notice, QWidget* parent = nullptr);

    QCheckBox* ScanInProgressBox() const { return m_scanning; }
    QCheckBox* StoredDataBox() const { return m_stored; }
    QRadioButton* ContinueButton() const { return m_continue; }
    QRadioButton* UploadButton() const { return m_upload; }

    // OK: the choice goes to the model first.
    void accept() override;

private:
    CDownloadNotice& m_notice;
    QCheckBox* m_scanning;
    QCheckBox* m_stored;
    QRadioButton* m_continue;
    QRadioButton* m_upload;
};
