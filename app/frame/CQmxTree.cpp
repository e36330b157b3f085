#include "app/frame/CQmxTree.h"

#include <new>

#include <QCoreApplication>
#include <QFont>
#include <QPainter>
#include <QPixmap>

#include "app/eventlog/WindowMessages.h"
#include "shared/CMfxFont.h"
#include "shared/view/MfxFontQt.h"

QEvent::Type QmxTreeChangedMessage() {
    return WindowMessage::Register("QMXTREECHANGED");
}

QEvent::Type QmxTreeDblClickMessage() {
    return WindowMessage::Register("QMXTREEDBLCLICK");
}

namespace {

constexpr int kBitmapWidth = 18;
constexpr int kBitmapHeight = 15;
constexpr std::int16_t kFontPoints = 8;
constexpr const char* kFontFace = "MS Sans Serif";

} // namespace

QPixmap CQmxTree::SetupBitmap() {
    QPixmap pixmap(kBitmapWidth, kBitmapHeight);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    // A window: title bar over a grid of cells.
    p.fillRect(1, 1, 16, 13, Qt::white);
    p.fillRect(1, 1, 16, 3, QColor(0, 0, 128));
    p.setPen(QColor(128, 128, 128));
    for (int x = 5; x < 17; x += 4)
        p.drawLine(x, 4, x, 13);
    for (int y = 7; y < 14; y += 3)
        p.drawLine(1, y, 16, y);
    p.setPen(Qt::black);
    p.drawRect(1, 1, 15, 12);
    return pixmap;
}

QPixmap CQmxTree::DatasetBitmap() {
    QPixmap pixmap(kBitmapWidth, kBitmapHeight);
    pixmap.fill(QColor(192, 192, 192));
    QPainter p(&pixmap);
    // Dotted axes with a blue and a red trace.
    p.setPen(QPen(Qt::black, 1, Qt::DotLine));
    p.drawLine(2, 1, 2, 13);
    p.drawLine(2, 13, 17, 13);
    p.setPen(Qt::blue);
    p.drawPolyline(QPolygon({QPoint(3, 10), QPoint(7, 5), QPoint(11, 8), QPoint(16, 3)}));
    p.setPen(Qt::red);
    p.drawPolyline(QPolygon({QPoint(3, 12), QPoint(7, 9), QPoint(11, 11), QPoint(16, 7)}));
    return pixmap;
}

CQmxTree::CQmxTree() = default;

CQmxTree::~CQmxTree() = default;

bool CQmxTree::InitControl() {
    if (!CNodeCtrl::InitControl())
        return false;
    TreeCall48();
    TreeCall80(22);
    TreeCall16(4);
    TreeCall50(4);
    TreeCall229(1);
    TreeCall22(0, 18, 16, 1);

    m_setupBitmap = std::make_unique<QPixmap>(SetupBitmap());
    m_setupSelectedBitmap = std::make_unique<QPixmap>(SetupBitmap());
    m_datasetBitmap = std::make_unique<QPixmap>(DatasetBitmap());
    m_setupPicture = AddPicture(-1, 0, m_setupBitmap.get(), 0, m_setupSelectedBitmap.get(), 0, 1);
    m_markerPicture = AddBlankPicture(-1, 0, 0, 0, 0, 0, 2);
    m_datasetPicture = AddBitmapPicture(-1, 1, m_datasetBitmap.get(), 0, 1);
    // A picture the control refused is shown as its first one.
    for (std::int32_t* index : {&m_setupPicture, &m_markerPicture, &m_datasetPicture})
        if (*index < 0)
            *index = 0;

    m_normalFont = std::make_unique<QFont>(CreateFontByPoints(nullptr, kFontFace, kFontPoints, 0));
    SetFont(m_normalFont.get());
    m_boldFont =
        std::make_unique<QFont>(CreateFontByPoints(nullptr, kFontFace, kFontPoints, kFontBold));
    TreeCall191(AddFont(-1, m_boldFont.get(), 0), 0);
    return true;
}

CNodeCtrl::Handle CQmxTree::AddNode(Handle parent, const std::string& text, int withMarker,
                                    int setupPicture) {
    const std::string shown = text.empty() ? std::string(kEmptyName) : text;
    const Handle item = CreateItem(1);
    if (item == 0)
        return 0;
    SetItemText(item, 0, static_cast<std::int32_t>(shown.size()), shown, 0);
    std::int32_t refused = 0;
    if (parent != 0)
        refused =
            SetItemImage(item, 0, 0, setupPicture != 0 ? m_setupPicture : m_datasetPicture, 0);
    if (refused == 0 && withMarker != 0)
        refused = SetItemMarker(item, 0, m_markerPicture, 0);
    if (refused == 0)
        refused = InsertNode(parent, 1, item);
    if (refused != 0) {
        FreeItem(item);
        throw std::bad_alloc();
    }
    const Handle node = GetItemNode(item, 0);
    FreeItem(item);
    return node;
}

void CQmxTree::Send(QEvent::Type type) {
    if (Control() == nullptr)
        return;
    WindowMessage message(type, 0, 0);
    QCoreApplication::sendEvent(Control()->window(), &message);
}

std::int32_t CQmxTree::OnSelChanged() {
    Send(QmxTreeChangedMessage());
    return 0;
}

std::int32_t CQmxTree::OnDblClick() {
    Send(QmxTreeDblClickMessage());
    return 0;
}

CNodeCtrl::Handle CQmxTree::Fill(const std::string& workspaceName,
                                 const std::vector<WorkspaceTreeSetup>& setups) {
    DeleteAllNodes();
    const Handle root = AddNode(0, WorkspaceRootText(workspaceName), 1, 1);
    for (const WorkspaceTreeSetup& setup : setups) {
        if (setup.datasets.empty()) {
            AddNode(root, setup.name, 0, 1);
            continue;
        }
        const Handle node = AddNode(root, setup.name, 1, 1);
        for (const std::string& dataset : setup.datasets)
            AddNode(node, dataset, 0, 0);
    }
    return root;
}

void CQmxTree::SelectRoot(Handle root) {
    ExpandNode(root, 0);
    ExpandNode(root, 1);
    SelectNode(root, 1);
    TreeCall25(root);
}

bool CQmxTree::SelectByName(const std::string& setup, const std::string& dataset) {
    for (CNodeCtrl::Handle s = GetFirstChildNode(GetRootNode()); s != 0;
         s = GetNextSiblingNode(s)) {
        if (GetNodeText(s) != setup)
            continue;
        if (dataset.empty()) {
            SelectNode(s, 1);
            return true;
        }
        for (CNodeCtrl::Handle d = GetFirstChildNode(s); d != 0; d = GetNextSiblingNode(d)) {
            if (GetNodeText(d) == dataset) {
                SelectNode(d, 1);
                return true;
            }
        }
    }
    return false;
}
