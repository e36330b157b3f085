#include "platform/tree/CNodeCtrl.h"

using tvane::TreeControl;

CNodeCtrl::CNodeCtrl() = default;

CNodeCtrl::~CNodeCtrl() {
    // The control outlives its wrapper inside the dialog: it must not call into
    // a destroyed one.
    if (m_control && m_callback != nullptr)
        m_control->RegisterCallback(nullptr, nullptr);
}

bool CNodeCtrl::SubclassDlgItem(QWidget* parent, int controlId) {
    TreeControl* control = TreeControl::FindInDialog(parent, controlId);
    if (control == nullptr)
        return false;
    m_control = control;
    return InitControl();
}

bool CNodeCtrl::InitControl() {
    if (m_callback == nullptr && m_control) {
        m_callback = &CNodeCtrl::NotifyCallback;
        m_control->RegisterCallback(m_callback, this);
    }
    return true;
}

std::int32_t CNodeCtrl::NotifyCallback(TreeControl*, std::int32_t code, Handle, std::int32_t,
                                       void* wrapper) {
    auto* self = static_cast<CNodeCtrl*>(wrapper);
    if (self == nullptr)
        return 0;
    switch (code) {
    case TreeControl::kSelChanged:
        return self->OnSelChanged();
    case TreeControl::kDblClick:
        return self->OnDblClick();
    case TreeControl::kExpanded:
        return self->OnItemExpanded();
    case TreeControl::kCollapsed:
        return self->OnItemCollapsed();
    case TreeControl::kSelectionSet:
        return self->OnSelectionSetChanged();
    case 0x4DC:
        return self->OnReservedNotify();
    default:
        return 0;
    }
}

#define TVANE_FORWARD(call) return m_control ? m_control->call : 0

std::int32_t CNodeCtrl::DeleteAllNodes() {
    TVANE_FORWARD(DeleteAllNodes());
}
CNodeCtrl::Handle CNodeCtrl::CreateItem(std::int32_t count) {
    TVANE_FORWARD(CreateItem(count));
}
std::int32_t CNodeCtrl::SetItemText(Handle item, std::int32_t column, std::int32_t length,
                                    const std::string& text, std::int32_t) {
    TVANE_FORWARD(SetItemText(item, column, length, text, 0));
}
std::int32_t CNodeCtrl::SetItemImage(Handle item, std::int32_t column, std::int32_t state,
                                     std::int32_t picture, std::int32_t reserved) {
    TVANE_FORWARD(SetItemImage(item, column, state, picture, reserved));
}
std::int32_t CNodeCtrl::SetItemMarker(Handle item, std::int32_t column, std::int32_t picture,
                                      std::int32_t reserved) {
    TVANE_FORWARD(SetItemMarker(item, column, picture, reserved));
}
std::int32_t CNodeCtrl::InsertNode(Handle parent, std::int32_t count, Handle item) {
    TVANE_FORWARD(InsertNode(parent, count, item));
}
CNodeCtrl::Handle CNodeCtrl::GetItemNode(Handle item, std::int32_t column) {
    TVANE_FORWARD(GetItemNode(item, column));
}
std::int32_t CNodeCtrl::FreeItem(Handle item) {
    TVANE_FORWARD(FreeItem(item));
}
CNodeCtrl::Handle CNodeCtrl::GetRootNode() {
    TVANE_FORWARD(GetRootNode());
}
CNodeCtrl::Handle CNodeCtrl::GetCurrentNode() {
    TVANE_FORWARD(GetCurrentNode());
}
std::int32_t CNodeCtrl::GetNodeLevel(Handle node) {
    return m_control ? m_control->GetNodeLevel(node) : -1;
}
std::string CNodeCtrl::GetNodeText(Handle node) {
    return m_control ? m_control->GetNodeText(node) : std::string();
}
std::int32_t CNodeCtrl::SetNodeText(Handle node, std::int32_t length, const std::string& text,
                                    std::int32_t reserved) {
    TVANE_FORWARD(SetNodeText(node, length, text, reserved));
}
CNodeCtrl::Handle CNodeCtrl::GetParentNode(Handle node) {
    TVANE_FORWARD(GetParentNode(node));
}
CNodeCtrl::Handle CNodeCtrl::GetFirstChildNode(Handle node) {
    TVANE_FORWARD(GetFirstChildNode(node));
}
CNodeCtrl::Handle CNodeCtrl::GetNextSiblingNode(Handle node) {
    TVANE_FORWARD(GetNextSiblingNode(node));
}
CNodeCtrl::Handle CNodeCtrl::GetFirstSelectedNode() {
    TVANE_FORWARD(GetFirstSelectedNode());
}
CNodeCtrl::Handle CNodeCtrl::GetNextSelectedNode(Handle node) {
    TVANE_FORWARD(GetNextSelectedNode(node));
}
std::int32_t CNodeCtrl::HasMultipleSelection() {
    TVANE_FORWARD(HasMultipleSelection());
}
std::int32_t CNodeCtrl::NodeHasChildren(Handle node) {
    TVANE_FORWARD(NodeHasChildren(node));
}
std::int32_t CNodeCtrl::IsCurrentExpanded() {
    TVANE_FORWARD(IsCurrentExpanded());
}
std::int32_t CNodeCtrl::IsCurrentExpandable() {
    TVANE_FORWARD(IsCurrentExpandable());
}
std::int32_t CNodeCtrl::ExpandNode(Handle node, std::int32_t flag) {
    TVANE_FORWARD(ExpandNode(node, flag));
}
std::int32_t CNodeCtrl::SelectNode(Handle node, std::int32_t flag) {
    TVANE_FORWARD(SelectNode(node, flag));
}
std::int32_t CNodeCtrl::DeleteNode(Handle node) {
    TVANE_FORWARD(DeleteNode(node));
}
std::int32_t CNodeCtrl::TreeCall25(Handle node) {
    TVANE_FORWARD(EnsureVisible(node));
}
std::int32_t CNodeCtrl::TreeCall229(std::int32_t flag) {
    TVANE_FORWARD(SetMultipleSelection(flag));
}
std::int32_t CNodeCtrl::AddPicture(std::int32_t index, std::int32_t kind, const QPixmap* normal,
                                   std::int32_t normalMask, const QPixmap* selected,
                                   std::int32_t selectedMask, std::int32_t count) {
    TVANE_FORWARD(AddPicture(index, kind, normal, normalMask, selected, selectedMask, count));
}
std::int32_t CNodeCtrl::AddBlankPicture(std::int32_t index, std::int32_t a, std::int32_t b,
                                        std::int32_t c, std::int32_t d, std::int32_t e,
                                        std::int32_t kind) {
    TVANE_FORWARD(AddBlankPicture(index, a, b, c, d, e, kind));
}
std::int32_t CNodeCtrl::AddBitmapPicture(std::int32_t index, std::int32_t kind,
                                         const QPixmap* bitmap, std::int32_t mask,
                                         std::int32_t count) {
    TVANE_FORWARD(AddBitmapPicture(index, kind, bitmap, mask, count));
}
std::int32_t CNodeCtrl::AddFont(std::int32_t index, const QFont* font, std::int32_t reserved) {
    TVANE_FORWARD(AddFont(index, font, reserved));
}
std::int32_t CNodeCtrl::SetFont(const QFont* font) {
    TVANE_FORWARD(SetNodeFont(font));
}
std::int32_t CNodeCtrl::TreeCall191(std::int32_t fontIndex, std::int32_t reserved) {
    TVANE_FORWARD(SetTopLevelFont(fontIndex, reserved));
}
std::int32_t CNodeCtrl::TreeCall48() {
    TVANE_FORWARD(ShowButtons());
}
std::int32_t CNodeCtrl::TreeCall80(std::int32_t pixels) {
    TVANE_FORWARD(SetLevelIndent(pixels));
}
std::int32_t CNodeCtrl::TreeCall16(std::int32_t pixels) {
    TVANE_FORWARD(SetVerticalPadding(pixels));
}
std::int32_t CNodeCtrl::TreeCall50(std::int32_t pixels) {
    TVANE_FORWARD(SetHorizontalPadding(pixels));
}
std::int32_t CNodeCtrl::TreeCall22(std::int32_t reserved, std::int32_t width, std::int32_t height,
                                   std::int32_t flag) {
    TVANE_FORWARD(SetPictureSize(reserved, width, height, flag));
}

#undef TVANE_FORWARD

void ToggleCurrentNode(CNodeCtrl& tree) {
    const CNodeCtrl::Handle current = tree.GetCurrentNode();
    if (current == 0)
        return;
    if (tree.IsCurrentExpanded() != 0)
        tree.ExpandNode(current, 0);
    else if (tree.IsCurrentExpandable() != 0)
        tree.ExpandNode(current, 1);
}
