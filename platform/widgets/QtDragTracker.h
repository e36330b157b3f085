#pragma once
#include <cstdint>

#include <QCursor>
#include <QPoint>

class QWidget;

namespace tvane {

class CObject;
class MessageTarget;

// Makes widget a window that takes part in drags: the drag messages sent to
// it (or to a child without a target of its own) go to target. Null removes it.
void SetDropTarget(QWidget* widget, MessageTarget* target);
MessageTarget* DropTargetOf(const QWidget* widget);

// Where the pointer was at the drag's last mouse event, in screen pixels: a
// window asked whether it takes a drop may look at what lies there.
QPoint DragPoint();
bool IsDragging();

// Writes object to the drag file and tracks the mouse from source until the
// button comes up: the window under the pointer is asked whether it takes the
// object (accept or refuse shows its answer) and an accepting window other than
// the source gets the drop. false, and no drag, when the file cannot be written.
bool BeginDrag(QWidget* source, std::uint32_t first, CObject& object, std::uint32_t second,
               const QCursor& accept = QCursor(Qt::DragCopyCursor),
               const QCursor& refuse = QCursor(Qt::ForbiddenCursor));

} // namespace tvane
