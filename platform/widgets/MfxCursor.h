#pragma once
#include <optional>

#include <QCursor>
#include <QPointer>
#include <QWidget>

namespace tvane {

// Shows the wait cursor for its lifetime and, given a window, keeps the mouse
// with that window meanwhile; the cursor before and the mouse come back at the
// end.
class CMfxWaitCursor {
public:
    explicit CMfxWaitCursor(QWidget* window = nullptr);
    ~CMfxWaitCursor();
    CMfxWaitCursor(const CMfxWaitCursor&) = delete;
    CMfxWaitCursor& operator=(const CMfxWaitCursor&) = delete;

private:
    bool m_shown = false;
    QPointer<QWidget> m_window;
};

// A cursor of the desktop; none before the application object exists.
std::optional<QCursor> LoadSystemCursor(Qt::CursorShape shape);

} // namespace tvane
