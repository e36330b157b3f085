#pragma once
#include <QPointer>

#include "platform/gridview/GridView.h"
#include "shared/IView.h"

class CLoggerDoc;
class IEventEditDialog;
namespace tvane {
class GridFindDialog;
}

// The event log's table: one row per event of the document's current dataset,
// read cell by cell from the document when drawn (nothing is copied). Columns
// 1 to 4 are type, channel, date/time and description.
class CEventView final : public tvane::GridView, public IView {
    Q_OBJECT
public:
    // Command ids of the bar, the context menu and the keys.
    enum Command : unsigned {
        kAdd = 1046,
        kEdit = 1050,
        kFind = 1315,
        kDelete = 1048,
        kPrint = 1044,
        kClose = 2,
    };

    explicit CEventView(QWidget* parent = nullptr);
    ~CEventView() override;

    // Joins the view to a document (null leaves it) and starts the grid over.
    void SetDocument(CLoggerDoc* document);
    CLoggerDoc* GetDocument() const { return m_doc; }
    // Where focus changes are posted; the view's window unless set.
    void SetMessageTarget(QObject* target) { m_target = target; }

    void OnUpdate(IView* sender, long hint, const HintObject& object) override;
    Kind GetKind() const override { return kEventView; }
    void Refresh() override { Redraw(); }

    // The commands.
    void AddEvent();
    // True when an event was changed.
    bool EditEvent();
    void DeleteEvents();
    tvane::GridFindDialog* FindEvent();
    bool PrintLog() { return Print(); }
    void CopyToClipboard();

    // Moves the current cell into the data area, as the view does when it
    // becomes active.
    void ActivateView();

signals:
    // A command chosen in the view (context menu, double-click) for the frame.
    void commandRequested(unsigned id);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void PostFocusChange(long long key, long long flag);
    // Widens the date and time column to the document's time format.
    void FitTimeColumn();
    std::string CellText(int row, int col) const { return Core().GetCellText(row, col); }

    CLoggerDoc* m_doc = nullptr;
    QPointer<QObject> m_target;
};
