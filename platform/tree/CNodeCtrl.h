#pragma once
#include <cstdint>
#include <string>

#include <QPointer>

#include "platform/tree/TreeControl.h"

class QFont;
class QPixmap;
class QWidget;

// The program's side of a tree control placed in a dialog: attaches to it by
// control id, turns its notifications into virtual calls, and forwards each
// operation unchanged.
class CNodeCtrl {
public:
    using Handle = tvane::TreeHandle;

    CNodeCtrl();
    virtual ~CNodeCtrl();
    CNodeCtrl(const CNodeCtrl&) = delete;
    CNodeCtrl& operator=(const CNodeCtrl&) = delete;

    // Attaches to the dialog's tree control of that id and initialises it; false
    // when the dialog has none (nothing else happens then).
    bool SubclassDlgItem(QWidget* parent, int controlId);
    // Registers the notification callback once; true.
    virtual bool InitControl();

    // Notification hooks; 0 in the base class.
    virtual std::int32_t OnDblClick() { return 0; }
    virtual std::int32_t OnSelChanged() { return 0; }
    virtual std::int32_t OnItemExpanded() { return 0; }
    virtual std::int32_t OnItemCollapsed() { return 0; }
    virtual std::int32_t OnSelectionSetChanged() { return 0; }
    virtual std::int32_t OnReservedNotify() { return 0; }

    // The control's callback: the code picks the hook of the wrapper given at
    // registration; a code without a hook returns 0.
    static std::int32_t NotifyCallback(tvane::TreeControl* control, std::int32_t code, Handle node,
                                       std::int32_t reserved, void* wrapper);

    tvane::TreeControl* Control() const { return m_control.data(); }
    bool IsCallbackRegistered() const { return m_callback != nullptr; }

    // Forwarders. Without an attached control each answers 0, a level -1.
    std::int32_t DeleteAllNodes();
    Handle CreateItem(std::int32_t count);
    std::int32_t SetItemText(Handle item, std::int32_t column, std::int32_t length,
                             const std::string& text, std::int32_t unused);
    std::int32_t SetItemImage(Handle item, std::int32_t column, std::int32_t state,
                              std::int32_t picture, std::int32_t reserved);
    std::int32_t SetItemMarker(Handle item, std::int32_t column, std::int32_t picture,
                               std::int32_t reserved);
    std::int32_t InsertNode(Handle parent, std::int32_t count, Handle item);
    Handle GetItemNode(Handle item, std::int32_t column);
    std::int32_t FreeItem(Handle item);
    Handle GetRootNode();
    Handle GetCurrentNode();
    std::int32_t GetNodeLevel(Handle node);
    std::string GetNodeText(Handle node);
    std::int32_t SetNodeText(Handle node, std::int32_t length, const std::string& text,
                             std::int32_t reserved);
    Handle GetParentNode(Handle node);
    Handle GetFirstChildNode(Handle node);
    Handle GetNextSiblingNode(Handle node);
    Handle GetFirstSelectedNode();
    Handle GetNextSelectedNode(Handle node);
    std::int32_t HasMultipleSelection();
    std::int32_t NodeHasChildren(Handle node);
    std::int32_t IsCurrentExpanded();
    std::int32_t IsCurrentExpandable();
    std::int32_t ExpandNode(Handle node, std::int32_t flag);
    std::int32_t SelectNode(Handle node, std::int32_t flag);
    std::int32_t DeleteNode(Handle node);
    std::int32_t TreeCall25(Handle node);
    std::int32_t TreeCall229(std::int32_t flag);
    std::int32_t AddPicture(std::int32_t index, std::int32_t kind, const QPixmap* normal,
                            std::int32_t normalMask, const QPixmap* selected,
                            std::int32_t selectedMask, std::int32_t count);
    std::int32_t AddBlankPicture(std::int32_t index, std::int32_t a, std::int32_t b, std::int32_t c,
                                 std::int32_t d, std::int32_t e, std::int32_t kind);
    std::int32_t AddBitmapPicture(std::int32_t index, std::int32_t kind, const QPixmap* bitmap,
                                  std::int32_t mask, std::int32_t count);
    std::int32_t AddFont(std::int32_t index, const QFont* font, std::int32_t reserved);
    std::int32_t SetFont(const QFont* font);
    std::int32_t TreeCall191(std::int32_t fontIndex, std::int32_t reserved);
    std::int32_t TreeCall48();
    std::int32_t TreeCall80(std::int32_t pixels);
    std::int32_t TreeCall16(std::int32_t pixels);
    std::int32_t TreeCall50(std::int32_t pixels);
    std::int32_t TreeCall22(std::int32_t reserved, std::int32_t width, std::int32_t height,
                            std::int32_t flag);

private:
    tvane::TreeNotifyCallback m_callback = nullptr;
    QPointer<tvane::TreeControl> m_control;
};

// The double-click rule the hosting dialogs share: the current node collapses
// when it is expanded, else expands when it can.
void ToggleCurrentNode(CNodeCtrl& tree);
