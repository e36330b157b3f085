#include "app/frame/GraphicsWiring.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QTabBar>
#include <QTabWidget>

#include "app/CLoggerDoc.h"
#include "app/frame/CMainFrame.h"
#include "app/frame/FrameCommands.h"
#include "app/frame/GraphDocument.h"
#include "database/CStateInfo.h"
#include "graphics/CGraphView.h"
#include "graphics/GraphFactory.h"
#include "graphics/GraphPageLayout.h"
#include "graphics/pages/CGraphSheet.h"
#include "graphics/view/CGraphViewWnd.h"
#include "platform/archive/CArchive.h"
#include "platform/archive/CArchiveException.h"
#include "platform/controls/DragDrop.h"
#include "platform/printview/PrintPreview.h"
#include "platform/printview/QtPrintSettings.h"
#include "platform/widgets/QtDragTracker.h"
#include "platform/widgets/QtText.h"

// The tabs of the pages take what is dropped on them for the page of the tab
// under the pointer; a page that takes a drop is shown.
class GraphicsWiring::TabDropTarget final : public tvane::MessageTarget {
public:
    explicit TabDropTarget(CMainFrame& frame) : m_frame(frame) {}
    long OnMessage(const tvane::Message& message) override {
        const bool query = message.id == tvane::dragmsg::QueryDrop();
        if (!query && message.id != tvane::dragmsg::DoDrop())
            return 0;
        QTabBar* tabs = m_frame.Pages()->tabBar();
        const int index = tabs->tabAt(tabs->mapFromGlobal(tvane::DragPoint()));
        auto* page = qobject_cast<CGraphViewWnd*>(m_frame.GraphicsPage(index));
        if (!page)
            return 0;
        const long answer = tvane::MessageBus::Send(page->Model(), message);
        if (!query && answer)
            m_frame.SelectPage(index);
        return answer;
    }

private:
    CMainFrame& m_frame;
};

GraphicsWiring::GraphicsWiring(CMainFrame& frame, CLoggerDoc& doc)
    : m_frame(frame), m_doc(doc), m_graphDoc(std::make_unique<GraphDocument>(doc)),
      m_sheets(std::make_unique<QtGraphSheetRunner>(&frame)) {
    SetGraphSheetRunner(m_sheets.get());
    // A change of the graphics layout is a change of the open setup: the third
    // of its change flags, which the save question and the end of a run read.
    CLoggerDoc* document = &doc;
    CGraphView::SetLayoutChangeSink([document] {
        if (document->IsSetupLoaded() != 0)
            document->GetStateInfo().m_flags[2] = 1;
    });
    m_frame.SetGraphViewFactory([this]() -> QWidget* { return MakePage(); });
    m_frame.SetPageListChanged([] { CGraphView::SetLayoutChanged(true); });
    m_frame.SetGraphicsPages({MakePage()}, {QString("Graphics Setup 1")});

    m_menu = new QMenu("&Graphics", &m_frame);
    const auto add = [this](unsigned id, const QString& text) {
        QAction* action = m_menu->addAction(text);
        action->setData(id);
        QObject::connect(action, &QAction::triggered, &m_frame,
                         [this, id] { m_frame.OnCmdMsg(id); });
        m_commands.push_back(id);
        return action;
    };
    for (const graphfactory::DisplayCommand& c : graphfactory::DisplayCommands()) {
        const unsigned id = c.commandId;
        QAction* action = add(id, QString("&") + tvane::ToQString(graphfactory::TitleOf(c)));
        const std::string prompt = c.prompt;
        action->setStatusTip(tvane::ToQString(prompt.substr(0, prompt.find('\n'))));
        m_frame.SetCommandHandler(id, [this, id] {
            if (CGraphViewWnd* page = CurrentPage())
                page->RunCommand(id);
        });
    }
    m_menu->addSeparator();
    add(CGraphViewWnd::kWindows, "&Windows...");
    m_frame.SetCommandHandler(CGraphViewWnd::kWindows, [this] {
        if (CGraphViewWnd* page = CurrentPage())
            page->RunCommand(CGraphViewWnd::kWindows);
    });
    m_frame.SetCommandEnabler(CGraphViewWnd::kWindows, [this] {
        CGraphViewWnd* page = CurrentPage();
        return page && page->IsCommandEnabled(CGraphViewWnd::kWindows);
    });
    add(CGraphViewWnd::kFilePrint, "&Print...");
    m_frame.SetCommandHandler(CGraphViewWnd::kFilePrint, [this] {
        CGraphViewWnd* page = CurrentPage();
        if (!page) {
            if (m_otherPagePrint.print)
                m_otherPagePrint.print();
            return;
        }
        QPrinter printer;
        tvane::ApplyPrintSettings(printer);
        QPrintDialog dialog(&printer, &m_frame);
        // "Selection" only with a selected display.
        dialog.setOption(QAbstractPrintDialog::PrintSelection,
                         page->Model().GetSelected() != nullptr);
        if (dialog.exec() == QDialog::Accepted)
            page->Print(printer, dialog.printRange() == QAbstractPrintDialog::Selection);
    });
    // The preview is of the whole page: a selected display alone is only for
    // printing.
    m_frame.SetCommandHandler(cmd::kFilePrintPreview, [this] {
        CGraphViewWnd* page = CurrentPage();
        if (!page) {
            if (m_otherPagePrint.preview)
                m_otherPagePrint.preview();
            return;
        }
        tvane::ShowPrintPreview(&m_frame, QPrinter::ScreenResolution,
                                [page = QPointer<CGraphViewWnd>(page)](QPrinter& printer) {
                                    if (page)
                                        page->Print(printer, false);
                                });
    });
    m_frame.SetCommandHandler(CGraphViewWnd::kNextDisplay, [this] {
        if (CGraphViewWnd* page = CurrentPage())
            page->RunCommand(CGraphViewWnd::kNextDisplay);
    });
    m_frame.SetGraphCreator([this](unsigned id) {
        CGraphViewWnd* page = CurrentPage();
        if (!page)
            page = Page(0);
        return page && graphfactory::FindCommand(id) && page->RunCommand(id);
    });
    for (unsigned id : m_commands)
        if (graphfactory::FindCommand(id))
            m_frame.SetCommandEnabler(id, [this] { return CurrentPage() != nullptr; });
    m_frame.SetCommandEnabler(CGraphViewWnd::kFilePrint, [this] {
        if (CurrentPage() != nullptr)
            return true;
        return m_otherPagePrint.print && m_otherPagePrint.enabled && m_otherPagePrint.enabled();
    });
    m_frame.SetCommandEnabler(cmd::kFilePrintPreview, [this] {
        if (CurrentPage() != nullptr)
            return true;
        return m_otherPagePrint.preview && m_otherPagePrint.enabled && m_otherPagePrint.enabled();
    });
    QObject::connect(m_menu, &QMenu::aboutToShow, &m_frame, [this] {
        for (QAction* a : m_menu->actions())
            if (!a->isSeparator())
                a->setEnabled(m_frame.IsCommandEnabled(a->data().toUInt()));
    });
    // Before the Settings menu.
    QAction* before = nullptr;
    for (QAction* a : m_frame.menuBar()->actions())
        if (a->text() == "&Settings")
            before = a;
    m_frame.menuBar()->insertMenu(before, m_menu);
    m_tabDrop = std::make_unique<TabDropTarget>(m_frame);
    tvane::SetDropTarget(m_frame.Pages()->tabBar(), m_tabDrop.get());
    // A double click on a page's tab opens its Page Properties.
    QObject::connect(m_frame.Pages()->tabBar(), &QTabBar::tabBarDoubleClicked, &m_frame,
                     [this](int index) {
                         if (auto* page = qobject_cast<CGraphViewWnd*>(m_frame.GraphicsPage(index)))
                             page->Model().EditPageProperties();
                     });
}

GraphicsWiring::~GraphicsWiring() {
    tvane::SetDropTarget(m_frame.Pages()->tabBar(), nullptr);
    for (unsigned id : m_commands) {
        m_frame.SetCommandHandler(id, {});
        m_frame.SetCommandEnabler(id, {});
    }
    m_frame.SetCommandHandler(CGraphViewWnd::kNextDisplay, {});
    m_frame.SetCommandHandler(cmd::kFilePrintPreview, {});
    m_frame.SetCommandEnabler(cmd::kFilePrintPreview, {});
    m_frame.SetGraphCreator({});
    m_frame.SetGraphViewFactory({});
    m_frame.SetPageListChanged({});
    CGraphView::SetLayoutChangeSink({});
    // The pages observe the document: they go before it does.
    m_frame.SetGraphicsPages({new QWidget}, {QString("Graphics Setup 1")});
    delete m_menu;
    SetGraphSheetRunner(nullptr);
}

CGraphViewWnd* GraphicsWiring::MakePage() {
    CLoggerDoc* doc = &m_doc;
    auto* page = new CGraphViewWnd(
        m_graphDoc.get(), [doc](IView* v) { doc->AddView(v); },
        [doc](IView* v) { doc->RemoveView(v); });
    QTabWidget* tabs = m_frame.Pages();
    page->SetTabHost(
        [tabs, page] {
            const int i = tabs->indexOf(page);
            return i < 0 ? std::string{} : tvane::ToUtf8(tabs->tabText(i));
        },
        [tabs, page](const std::string& name) {
            const int i = tabs->indexOf(page);
            if (i >= 0)
                tabs->setTabText(i, tvane::ToQString(name));
        });
    CMainFrame* frame = &m_frame;
    page->SetCommandSink([frame](unsigned id) { frame->OnCmdMsg(id); });
    // The Edit menu serves the shown page with its accelerators.
    for (unsigned id : {CGraphViewWnd::kEditCut, CGraphViewWnd::kEditCopy,
                        CGraphViewWnd::kEditPaste, CGraphViewWnd::kDelete})
        if (QAction* menu = m_frame.Action(id))
            page->LeaveKeysToMenu(id, menu->shortcuts());
    return page;
}

CGraphViewWnd* GraphicsWiring::CurrentPage() const {
    return qobject_cast<CGraphViewWnd*>(m_frame.GraphicsPage(m_frame.Pages()->currentIndex()));
}

CGraphViewWnd* GraphicsWiring::Page(int graphicsIndex) const {
    int n = 0;
    for (int i = 0; i < m_frame.Pages()->count(); ++i)
        if (auto* page = qobject_cast<CGraphViewWnd*>(m_frame.GraphicsPage(i)))
            if (n++ == graphicsIndex)
                return page;
    return nullptr;
}

void GraphicsWiring::SerializePages(tvane::CArchive& ar, std::uint32_t count) {
    if (ar.IsStoring()) {
        std::vector<CGraphView*> pages;
        for (int i = 0; i < m_frame.Pages()->count(); ++i)
            if (auto* page = qobject_cast<CGraphViewWnd*>(m_frame.GraphicsPage(i)))
                pages.push_back(&page->Model());
        pagelayout::WritePages(ar, pages);
        return;
    }
    // The pages are read aside: a file that fails part way leaves the shown
    // pages as they were.
    std::vector<QWidget*> pages;
    std::vector<QString> titles;
    try {
        pagelayout::ReadPages(ar, count, [&]() -> CGraphView& {
            CGraphViewWnd* page = MakePage();
            pages.push_back(page);
            return page->Model();
        });
    } catch (...) {
        for (QWidget* page : pages)
            delete page;
        throw;
    }
    for (QWidget* page : pages)
        titles.push_back(tvane::ToQString(static_cast<CGraphViewWnd*>(page)->Model().GetTabName()));
    // A file from before the pages were stored, or one without pages: one
    // empty page, as a new document has.
    if (pages.empty()) {
        pages.push_back(MakePage());
        titles.push_back("Graphics Setup 1");
        m_frame.SetGraphicsPages(pages, titles);
        return;
    }
    m_frame.SetGraphicsPages(pages, titles);
    for (QWidget* page : pages)
        static_cast<CGraphViewWnd*>(page)->Model().OnInitialUpdate(true);
}

bool GraphicsWiring::PrintCurrentPageToPdf(const QString& path, bool selectionOnly) {
    CGraphViewWnd* page = CurrentPage();
    if (!page)
        return false;
    QPrinter printer(QPrinter::HighResolution);
    tvane::ApplyPrintSettings(printer);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    page->Print(printer, selectionOnly);
    return true;
}
