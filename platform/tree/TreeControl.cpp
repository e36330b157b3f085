#include "platform/tree/TreeControl.h"

#include <algorithm>

#include <QPixmap>
#include <QTreeWidgetItemIterator>

namespace tvane {

namespace {

constexpr int kHandleRole = Qt::UserRole + 1;

QString Text(const std::string& text, std::int32_t length) {
    const std::size_t size =
        length < 0 ? text.size() : std::min(text.size(), static_cast<std::size_t>(length));
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(size));
}

} // namespace

TreeControl::TreeControl(int controlId, QWidget* parent)
    : QTreeWidget(parent), m_controlId(controlId) {
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(false);
    // A double click is the hosting dialog's: it expands and collapses itself.
    setExpandsOnDoubleClick(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current, QTreeWidgetItem*) { Notify(kSelChanged, current); });
    connect(this, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item, int) { Notify(kDblClick, item); });
    connect(this, &QTreeWidget::itemExpanded, this,
            [this](QTreeWidgetItem* item) { Notify(kExpanded, item); });
    connect(this, &QTreeWidget::itemCollapsed, this,
            [this](QTreeWidgetItem* item) { Notify(kCollapsed, item); });
    connect(this, &QTreeWidget::itemSelectionChanged, this,
            [this] { Notify(kSelectionSet, nullptr); });
}

TreeControl::~TreeControl() {
    // Nothing is told about the nodes that go with the window.
    m_callback = nullptr;
}

TreeControl* TreeControl::FindInDialog(QWidget* parent, int controlId) {
    if (parent == nullptr)
        return nullptr;
    for (TreeControl* tree : parent->findChildren<TreeControl*>())
        if (tree->ControlId() == controlId)
            return tree;
    return nullptr;
}

std::int32_t TreeControl::RegisterCallback(TreeNotifyCallback callback, void* data) {
    m_callback = callback;
    m_callbackData = data;
    return 0;
}

void TreeControl::Notify(std::int32_t code, const QTreeWidgetItem* item) {
    if (m_callback != nullptr)
        m_callback(this, code, NodeOf(item), 0, m_callbackData);
}

std::int32_t TreeControl::DeleteAllNodes() {
    m_nodes.clear();
    m_markers.clear();
    clear();
    return 0;
}

TreeHandle TreeControl::CreateItem(std::int32_t) {
    const TreeHandle handle = m_next++;
    m_items.emplace(handle, ItemRecord{});
    return handle;
}

std::int32_t TreeControl::SetItemText(TreeHandle item, std::int32_t, std::int32_t length,
                                      const std::string& text, std::int32_t) {
    auto it = m_items.find(item);
    if (it == m_items.end())
        return 1;
    it->second.text = Text(text, length).toUtf8().toStdString();
    return 0;
}

std::int32_t TreeControl::SetItemImage(TreeHandle item, std::int32_t, std::int32_t,
                                       std::int32_t picture, std::int32_t) {
    auto it = m_items.find(item);
    if (it == m_items.end() || picture < 0 ||
        static_cast<std::size_t>(picture) >= m_pictures.size())
        return 1;
    it->second.image = picture;
    return 0;
}

std::int32_t TreeControl::SetItemMarker(TreeHandle item, std::int32_t, std::int32_t picture,
                                        std::int32_t) {
    auto it = m_items.find(item);
    if (it == m_items.end() || picture < 0 ||
        static_cast<std::size_t>(picture) >= m_pictures.size())
        return 1;
    it->second.marker = picture;
    return 0;
}

std::int32_t TreeControl::InsertNode(TreeHandle parent, std::int32_t, TreeHandle item) {
    auto it = m_items.find(item);
    if (it == m_items.end())
        return 1;
    QTreeWidgetItem* parentItem = nullptr;
    if (parent != 0) {
        parentItem = ItemOf(parent);
        if (parentItem == nullptr)
            return 1;
    }
    auto* node = new QTreeWidgetItem;
    const ItemRecord& record = it->second;
    const TreeHandle handle = m_next++;
    node->setData(0, kHandleRole, handle);
    node->setText(0, QString::fromStdString(record.text));
    if (record.image >= 0)
        node->setIcon(0, m_pictures[static_cast<std::size_t>(record.image)]);
    // The marker is the node's button: a node without one shows none while it
    // has no children, so it cannot be expanded.
    node->setChildIndicatorPolicy(record.marker >= 0
                                      ? QTreeWidgetItem::ShowIndicator
                                      : QTreeWidgetItem::DontShowIndicatorWhenChildless);
    if (parentItem == nullptr && m_topLevelFont >= 0)
        node->setFont(0, m_fonts[static_cast<std::size_t>(m_topLevelFont)]);
    m_nodes.emplace(handle, node);
    if (record.marker >= 0)
        m_markers.emplace(handle, record.marker);
    it->second.node = handle;
    if (parentItem != nullptr)
        parentItem->addChild(node);
    else
        addTopLevelItem(node);
    return 0;
}

TreeHandle TreeControl::GetItemNode(TreeHandle item, std::int32_t) {
    auto it = m_items.find(item);
    return it == m_items.end() ? 0 : it->second.node;
}

std::int32_t TreeControl::FreeItem(TreeHandle item) {
    return m_items.erase(item) != 0 ? 0 : 1;
}

TreeHandle TreeControl::GetRootNode() {
    return NodeOf(topLevelItem(0));
}

TreeHandle TreeControl::GetCurrentNode() {
    return NodeOf(currentItem());
}

std::int32_t TreeControl::GetNodeLevel(TreeHandle node) {
    const QTreeWidgetItem* item = ItemOf(node);
    if (item == nullptr)
        return -1;
    std::int32_t level = 0;
    for (const QTreeWidgetItem* p = item->parent(); p != nullptr; p = p->parent())
        ++level;
    return level;
}

std::string TreeControl::GetNodeText(TreeHandle node) {
    const QTreeWidgetItem* item = ItemOf(node);
    return item == nullptr ? std::string() : item->text(0).toUtf8().toStdString();
}

std::int32_t TreeControl::SetNodeText(TreeHandle node, std::int32_t length, const std::string& text,
                                      std::int32_t) {
    QTreeWidgetItem* item = ItemOf(node);
    if (item == nullptr)
        return 1;
    item->setText(0, Text(text, length));
    return 0;
}

TreeHandle TreeControl::GetParentNode(TreeHandle node) {
    const QTreeWidgetItem* item = ItemOf(node);
    return item == nullptr ? 0 : NodeOf(item->parent());
}

TreeHandle TreeControl::GetFirstChildNode(TreeHandle node) {
    const QTreeWidgetItem* item = ItemOf(node);
    return item == nullptr ? 0 : NodeOf(item->child(0));
}

TreeHandle TreeControl::GetNextSiblingNode(TreeHandle node) {
    QTreeWidgetItem* item = ItemOf(node);
    if (item == nullptr)
        return 0;
    if (QTreeWidgetItem* parent = item->parent())
        return NodeOf(parent->child(parent->indexOfChild(item) + 1));
    return NodeOf(topLevelItem(indexOfTopLevelItem(item) + 1));
}

std::vector<QTreeWidgetItem*> TreeControl::SelectedInOrder() const {
    std::vector<QTreeWidgetItem*> selected;
    for (QTreeWidgetItemIterator it(const_cast<TreeControl*>(this),
                                    QTreeWidgetItemIterator::Selected);
         *it != nullptr; ++it)
        selected.push_back(*it);
    return selected;
}

TreeHandle TreeControl::GetFirstSelectedNode() {
    const auto selected = SelectedInOrder();
    return selected.empty() ? 0 : NodeOf(selected.front());
}

TreeHandle TreeControl::GetNextSelectedNode(TreeHandle node) {
    const auto selected = SelectedInOrder();
    auto it = std::find(selected.begin(), selected.end(), ItemOf(node));
    if (it == selected.end() || ++it == selected.end())
        return 0;
    return NodeOf(*it);
}

std::int32_t TreeControl::HasMultipleSelection() {
    return selectedItems().size() > 1 ? 1 : 0;
}

std::int32_t TreeControl::NodeHasChildren(TreeHandle node) {
    const QTreeWidgetItem* item = ItemOf(node);
    return item != nullptr && item->childCount() > 0 ? 1 : 0;
}

std::int32_t TreeControl::IsCurrentExpanded() {
    const QTreeWidgetItem* item = currentItem();
    return item != nullptr && item->isExpanded() ? 1 : 0;
}

std::int32_t TreeControl::IsCurrentExpandable() {
    const QTreeWidgetItem* item = currentItem();
    return item != nullptr && !item->isExpanded() && item->childCount() > 0 ? 1 : 0;
}

std::int32_t TreeControl::ExpandNode(TreeHandle node, std::int32_t flag) {
    QTreeWidgetItem* item = ItemOf(node);
    if (item == nullptr)
        return 1;
    item->setExpanded(flag != 0);
    return 0;
}

std::int32_t TreeControl::SelectNode(TreeHandle node, std::int32_t) {
    QTreeWidgetItem* item = ItemOf(node);
    if (item == nullptr)
        return 1;
    clearSelection();
    setCurrentItem(item);
    item->setSelected(true);
    return 0;
}

void TreeControl::Forget(QTreeWidgetItem* item) {
    for (int i = 0; i < item->childCount(); ++i)
        Forget(item->child(i));
    const TreeHandle handle = NodeOf(item);
    m_nodes.erase(handle);
    m_markers.erase(handle);
}

std::int32_t TreeControl::DeleteNode(TreeHandle node) {
    QTreeWidgetItem* item = ItemOf(node);
    if (item == nullptr)
        return 1;
    Forget(item);
    delete item;
    return 0;
}

std::int32_t TreeControl::EnsureVisible(TreeHandle node) {
    QTreeWidgetItem* item = ItemOf(node);
    if (item == nullptr)
        return 1;
    scrollToItem(item);
    return 0;
}

std::int32_t TreeControl::SetMultipleSelection(std::int32_t flag) {
    setSelectionMode(flag != 0 ? QAbstractItemView::ExtendedSelection
                               : QAbstractItemView::SingleSelection);
    return 0;
}

std::int32_t TreeControl::AddPicture(std::int32_t, std::int32_t, const QPixmap* normal,
                                     std::int32_t, const QPixmap* selected, std::int32_t,
                                     std::int32_t) {
    if (normal == nullptr || normal->isNull())
        return -1;
    QIcon icon(*normal);
    if (selected != nullptr && !selected->isNull())
        icon.addPixmap(*selected, QIcon::Selected);
    m_pictures.push_back(icon);
    return static_cast<std::int32_t>(m_pictures.size() - 1);
}

std::int32_t TreeControl::AddBlankPicture(std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                                          std::int32_t, std::int32_t, std::int32_t) {
    m_pictures.emplace_back();
    return static_cast<std::int32_t>(m_pictures.size() - 1);
}

std::int32_t TreeControl::AddBitmapPicture(std::int32_t, std::int32_t, const QPixmap* bitmap,
                                           std::int32_t, std::int32_t) {
    if (bitmap == nullptr || bitmap->isNull())
        return -1;
    m_pictures.emplace_back(*bitmap);
    return static_cast<std::int32_t>(m_pictures.size() - 1);
}

std::int32_t TreeControl::AddFont(std::int32_t, const QFont* font, std::int32_t) {
    if (font == nullptr)
        return -1;
    m_fonts.push_back(*font);
    return static_cast<std::int32_t>(m_fonts.size() - 1);
}

std::int32_t TreeControl::SetNodeFont(const QFont* font) {
    if (font == nullptr)
        return 1;
    setFont(*font);
    return 0;
}

std::int32_t TreeControl::SetTopLevelFont(std::int32_t fontIndex, std::int32_t) {
    if (fontIndex < 0 || static_cast<std::size_t>(fontIndex) >= m_fonts.size())
        return 1;
    m_topLevelFont = fontIndex;
    for (int i = 0; i < topLevelItemCount(); ++i)
        topLevelItem(i)->setFont(0, m_fonts[static_cast<std::size_t>(fontIndex)]);
    return 0;
}

std::int32_t TreeControl::ShowButtons() {
    setRootIsDecorated(true);
    return 0;
}

std::int32_t TreeControl::SetLevelIndent(std::int32_t pixels) {
    setIndentation(std::max(0, pixels));
    return 0;
}

void TreeControl::ApplyPadding() {
    setStyleSheet(QString("QTreeView::item { padding: %1px %2px; }")
                      .arg(m_verticalPadding / 2)
                      .arg(m_horizontalPadding / 2));
}

std::int32_t TreeControl::SetVerticalPadding(std::int32_t pixels) {
    m_verticalPadding = std::max(0, pixels);
    ApplyPadding();
    return 0;
}

std::int32_t TreeControl::SetHorizontalPadding(std::int32_t pixels) {
    m_horizontalPadding = std::max(0, pixels);
    ApplyPadding();
    return 0;
}

std::int32_t TreeControl::SetPictureSize(std::int32_t, std::int32_t width, std::int32_t height,
                                         std::int32_t) {
    if (width <= 0 || height <= 0)
        return 1;
    setIconSize(QSize(width, height));
    return 0;
}

QTreeWidgetItem* TreeControl::ItemOf(TreeHandle node) const {
    auto it = m_nodes.find(node);
    return it == m_nodes.end() ? nullptr : it->second;
}

TreeHandle TreeControl::NodeOf(const QTreeWidgetItem* item) const {
    return item == nullptr ? 0 : item->data(0, kHandleRole).toInt();
}

std::int32_t TreeControl::MarkerOf(TreeHandle node) const {
    auto it = m_markers.find(node);
    return it == m_markers.end() ? -1 : it->second;
}

} // namespace tvane
