#pragma once
#include <cstdint>
#include <memory>
#include <vector>

class CGraphViewWnd;
class CLoggerDoc;
class CMainFrame;
class GraphDocument;
class QtGraphSheetRunner;
class QMenu;
class QString;

namespace tvane {
class CArchive;
}

// The graphics pages of the program's one document: each page's window made
// with the document as its data, the Graphics menu (the displays the factory
// lists, Windows..., Print...), the display sheets, the pages' part of the
// document file, and the tabs that take a display dragged from another page.
class GraphicsWiring {
public:
    GraphicsWiring(CMainFrame& frame, CLoggerDoc& doc);
    ~GraphicsWiring();
    GraphicsWiring(const GraphicsWiring&) = delete;
    GraphicsWiring& operator=(const GraphicsWiring&) = delete;

    // The shown graphics page, or null while another page is shown.
    CGraphViewWnd* CurrentPage() const;
    CGraphViewWnd* Page(int graphicsIndex) const;
    QMenu* Menu() const { return m_menu; }
    // After the page titles and the selected page: each page's own part. A file
    // written before the pages kept their contents ends before them; its pages
    // start empty.
    // count: the number of pages the file lists (loading).
    void SerializePages(tvane::CArchive& ar, std::uint32_t count);
    // Prints the shown page, as the Print command does, on a PDF file.
    bool PrintCurrentPageToPdf(const QString& path, bool selectionOnly);

private:
    class TabDropTarget;
    CGraphViewWnd* MakePage();

    CMainFrame& m_frame;
    CLoggerDoc& m_doc;
    std::unique_ptr<GraphDocument> m_graphDoc;
    std::unique_ptr<QtGraphSheetRunner> m_sheets;
    QMenu* m_menu = nullptr;
    std::vector<unsigned> m_commands;
    std::unique_ptr<TabDropTarget> m_tabDrop;
};
