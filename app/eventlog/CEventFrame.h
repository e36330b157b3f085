#pragma once
#include <QPointer>
#include <QWidget>

#include "platform/gridview/GridFindDialog.h"

class CEventDialogBar;
class CEventView;
class CLoggerDoc;

// The event log window: the table of events above the button bar. Closing it
// only hides it; it lives as long as the program.
class CEventFrame final : public QWidget {
    Q_OBJECT
public:
    static constexpr unsigned kHelpContext = 142084;

    // mainWindow is brought to the top when the log hides.
    explicit CEventFrame(QWidget* mainWindow = nullptr);
    ~CEventFrame() override;

    CEventView* View() const { return m_view; }
    CEventDialogBar* Bar() const { return m_bar; }
    tvane::GridFindDialog* FindDialog() const { return m_findDialog; }
    // Joins the table to the document (null leaves it).
    void SetDocument(CLoggerDoc* document);

    bool IsCommandEnabled(unsigned id) const;
    // Runs a command of the bar when it is enabled; false when it is not.
    bool OnCommand(unsigned id);
    void UpdateCommands();
    // Brings the main window up and hides the log with its find window.
    void HideFrame();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void OnFocusChange(long long key, long long flag);

    CEventDialogBar* m_bar;
    CEventView* m_view;
    QPointer<tvane::GridFindDialog> m_findDialog;
    QPointer<QWidget> m_mainWindow;
};
