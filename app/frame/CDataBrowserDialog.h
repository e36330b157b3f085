#pragma once
#include <memory>

#include <QDialog>
#include <QPointer>

#include "app/DataBrowserModel.h"
#include "app/IDataBrowser.h"

class CDateTimeEditWnd;
class CLoggerDoc;
class QLabel;
class QScrollBar;
class QWidget;

namespace Ui {
class CDataBrowserDialog;
}

// "Data Browser": the modeless window over the main window with which the
// user moves through the current dataset's stored readings; the displays show
// the readings of the time it stands at.
class CDataBrowserDialog final : public QDialog {
    Q_OBJECT
public:
    CDataBrowserDialog(CLoggerDoc& doc, QWidget* parent);
    ~CDataBrowserDialog() override;

    DataBrowserModel& Model() { return m_model; }
    QScrollBar* ScrollBar() const;
    CDateTimeEditWnd* TimeEdit() const;
    QLabel* CounterLabel() const;
    QLabel* FirstLabel() const;
    QLabel* LastLabel() const;
    QLabel* DurationLabel() const;

    // Enter neither closes nor moves it; Esc closes it like its close box.
    void accept() override {}
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void OnAction(int action);
    void ShowPosition();

    CLoggerDoc& m_doc;
    DocumentBrowseSource m_source;
    DataBrowserModel m_model;
    std::unique_ptr<Ui::CDataBrowserDialog> m_ui;
    bool m_closing = false;
};

// The document's browser: the window made over the main window, shown, on top
// and with the focus; it goes with this object.
class QtDataBrowserFactory final : public IDataBrowserFactory {
public:
    explicit QtDataBrowserFactory(QWidget* mainWindow) : m_mainWindow(mainWindow) {}
    std::unique_ptr<IDataBrowser> CreateDataBrowser(CLoggerDoc& doc) override;
    // The open window, for the tests.
    CDataBrowserDialog* Window() const { return m_window; }

private:
    QPointer<QWidget> m_mainWindow;
    QPointer<CDataBrowserDialog> m_window;
};
