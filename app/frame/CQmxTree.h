#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <QEvent>

#include "database/WorkspaceTree.h"
#include "platform/tree/CNodeCtrl.h"

class QFont;
class QPixmap;

// The two messages the tree sends its dialog (no parameters: the dialog asks
// the tree for the current node).
QEvent::Type QmxTreeChangedMessage();
QEvent::Type QmxTreeDblClickMessage();

// The tree of the workspace with its setups and their datasets: level 0 the
// workspace, 1 a setup, 2 a dataset. A node is known by its level and text, a
// dataset also by its parent's text.
class CQmxTree : public CNodeCtrl {
public:
    static constexpr int kControlId = 1179;
    static constexpr const char* kEmptyName = "(empty)";

    CQmxTree();
    ~CQmxTree() override;

    // Gives the tree its look, pictures and fonts after registering the callback.
    bool InitControl() override;
    // Adds a node under parent (0: the root). Returns 0 when no item could be
    // made; a refused insert or picture throws std::bad_alloc.
    Handle AddNode(Handle parent, const std::string& text, int withMarker, int setupPicture);
    // Tells the dialog; 0.
    std::int32_t OnSelChanged() override;
    std::int32_t OnDblClick() override;

    // Empties the tree and shows the workspace: the root, then each setup with
    // its datasets (a setup with datasets carries the marker). Returns the root.
    Handle Fill(const std::string& workspaceName, const std::vector<WorkspaceTreeSetup>& setups);
    // Shows the root expanded, current and selected.
    void SelectRoot(Handle root);
    // Selects the named setup, or its named dataset; false when the tree has
    // no such node.
    bool SelectByName(const std::string& setup, const std::string& dataset);

    std::int32_t SetupPicture() const { return m_setupPicture; }
    std::int32_t MarkerPicture() const { return m_markerPicture; }
    std::int32_t DatasetPicture() const { return m_datasetPicture; }

    // The pictures of a setup (a small window with a grid of cells) and of a
    // dataset (a chart with two traces), 18 x 15 pixels.
    static QPixmap SetupBitmap();
    static QPixmap DatasetBitmap();

private:
    void Send(QEvent::Type type);

    std::int32_t m_setupPicture = 0;
    std::int32_t m_markerPicture = 0;
    std::int32_t m_datasetPicture = 0;
    std::unique_ptr<QFont> m_normalFont;
    std::unique_ptr<QFont> m_boldFont;
    std::unique_ptr<QPixmap> m_setupBitmap;
    std::unique_ptr<QPixmap> m_setupSelectedBitmap;
    std::unique_ptr<QPixmap> m_datasetBitmap;
};
