#pragma once
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include <QFont>
#include <QIcon>
#include <QTreeWidget>

class QPixmap;

namespace tvane {

class TreeControl;

// Node and item handles are opaque; 0 means none. Handles are never reused,
// so a handle of a deleted node finds nothing.
using TreeHandle = std::int32_t;

// Called for every notification: the control, the code, the node concerned (0
// when none), a reserved value, and the data given at registration.
using TreeNotifyCallback = std::int32_t (*)(TreeControl* control, std::int32_t code,
                                            TreeHandle node, std::int32_t reserved, void* data);

// A tree of nodes with a text, a picture and a marker, as the setup and dataset
// dialogs use it. A node is built from an item record (text and pictures) that
// the caller creates, inserts and frees. Placed in a dialog under a control id
// through which a wrapper finds it.
class TreeControl final : public QTreeWidget {
public:
    // Notification codes.
    static constexpr std::int32_t kSelChanged = 0x4A0;   // the current node changed
    static constexpr std::int32_t kDblClick = 0x4AA;     // a node was double-clicked
    static constexpr std::int32_t kExpanded = 0x4BE;     // a node was expanded
    static constexpr std::int32_t kCollapsed = 0x4C8;    // a node was collapsed
    static constexpr std::int32_t kSelectionSet = 0x4D2; // the set of selected nodes changed
    // 0x4DC is reserved: the control does not raise it.

    TreeControl(int controlId, QWidget* parent);
    ~TreeControl() override;

    int ControlId() const { return m_controlId; }
    // The tree control of parent (or of its children) with the id; null when none.
    static TreeControl* FindInDialog(QWidget* parent, int controlId);

    // Notifications go to one callback; null stops them.
    std::int32_t RegisterCallback(TreeNotifyCallback callback, void* data);

    std::int32_t DeleteAllNodes();
    TreeHandle CreateItem(std::int32_t count);
    std::int32_t SetItemText(TreeHandle item, std::int32_t column, std::int32_t length,
                             const std::string& text, std::int32_t reserved);
    // 0 on success; non-zero for an unknown item or picture.
    std::int32_t SetItemImage(TreeHandle item, std::int32_t column, std::int32_t state,
                              std::int32_t picture, std::int32_t reserved);
    std::int32_t SetItemMarker(TreeHandle item, std::int32_t column, std::int32_t picture,
                               std::int32_t reserved);
    // Inserts the item as the last child of parent (0: a top-level node); 0 on success.
    std::int32_t InsertNode(TreeHandle parent, std::int32_t count, TreeHandle item);
    TreeHandle GetItemNode(TreeHandle item, std::int32_t column);
    std::int32_t FreeItem(TreeHandle item);

    TreeHandle GetRootNode();
    TreeHandle GetCurrentNode();
    // 0 for a top-level node, counting down; -1 for an unknown node.
    std::int32_t GetNodeLevel(TreeHandle node);
    std::string GetNodeText(TreeHandle node);
    std::int32_t SetNodeText(TreeHandle node, std::int32_t length, const std::string& text,
                             std::int32_t reserved);
    TreeHandle GetParentNode(TreeHandle node);
    TreeHandle GetFirstChildNode(TreeHandle node);
    TreeHandle GetNextSiblingNode(TreeHandle node);
    // The selected nodes in the order the tree shows them.
    TreeHandle GetFirstSelectedNode();
    TreeHandle GetNextSelectedNode(TreeHandle node);
    std::int32_t HasMultipleSelection();
    std::int32_t NodeHasChildren(TreeHandle node);
    std::int32_t IsCurrentExpanded();
    std::int32_t IsCurrentExpandable();
    // flag 1 expands, 0 collapses; 0 on success.
    std::int32_t ExpandNode(TreeHandle node, std::int32_t flag);
    // Makes the node current and the only one selected.
    std::int32_t SelectNode(TreeHandle node, std::int32_t flag);
    std::int32_t DeleteNode(TreeHandle node);
    // Scrolls the node into view.
    std::int32_t EnsureVisible(TreeHandle node);
    // 1 lets the user select several nodes, 0 one at a time.
    std::int32_t SetMultipleSelection(std::int32_t flag);

    // Pictures, each appended (index -1) and answered with its index; negative
    // when refused (no bitmap).
    std::int32_t AddPicture(std::int32_t index, std::int32_t kind, const QPixmap* normal,
                            std::int32_t normalMask, const QPixmap* selected,
                            std::int32_t selectedMask, std::int32_t count);
    std::int32_t AddBlankPicture(std::int32_t index, std::int32_t a, std::int32_t b, std::int32_t c,
                                 std::int32_t d, std::int32_t e, std::int32_t kind);
    std::int32_t AddBitmapPicture(std::int32_t index, std::int32_t kind, const QPixmap* bitmap,
                                  std::int32_t mask, std::int32_t count);
    std::int32_t AddFont(std::int32_t index, const QFont* font, std::int32_t reserved);
    // The font of node texts.
    std::int32_t SetNodeFont(const QFont* font);
    // The font entry of top-level nodes (a bold one shows the workspace).
    std::int32_t SetTopLevelFont(std::int32_t fontIndex, std::int32_t reserved);

    // Look: buttons and lines beside the nodes, the indent of each level, the
    // vertical and horizontal padding of a node, and the picture size.
    std::int32_t ShowButtons();
    std::int32_t SetLevelIndent(std::int32_t pixels);
    std::int32_t SetVerticalPadding(std::int32_t pixels);
    std::int32_t SetHorizontalPadding(std::int32_t pixels);
    std::int32_t SetPictureSize(std::int32_t reserved, std::int32_t width, std::int32_t height,
                                std::int32_t flag);

    // What a node shows, for tests and drawing checks.
    QTreeWidgetItem* ItemOf(TreeHandle node) const;
    TreeHandle NodeOf(const QTreeWidgetItem* item) const;
    // The marker picture index of a node; -1 when it has none.
    std::int32_t MarkerOf(TreeHandle node) const;

private:
    struct ItemRecord {
        std::string text;
        std::int32_t image = -1;
        std::int32_t marker = -1;
        TreeHandle node = 0;
    };

    void Notify(std::int32_t code, const QTreeWidgetItem* item);
    void Forget(QTreeWidgetItem* item);
    std::vector<QTreeWidgetItem*> SelectedInOrder() const;
    void ApplyPadding();

    int m_controlId;
    TreeNotifyCallback m_callback = nullptr;
    void* m_callbackData = nullptr;
    TreeHandle m_next = 1;
    std::unordered_map<TreeHandle, ItemRecord> m_items;
    std::unordered_map<TreeHandle, QTreeWidgetItem*> m_nodes;
    std::unordered_map<TreeHandle, std::int32_t> m_markers;
    std::vector<QIcon> m_pictures;
    std::vector<QFont> m_fonts;
    std::int32_t m_topLevelFont = -1;
    std::int32_t m_verticalPadding = 0;
    std::int32_t m_horizontalPadding = 0;
};

} // namespace tvane
