#pragma once
#include <functional>
#include <vector>

#include "graphics/GraphFactory.h"
#include "platform/sheet/PropertySheet.h"

class CGraphFrame;
class CGraphPage;

// The property sheet of a display: its pages made by the page factory from
// their ids, opened on the page the display was left on; on closing it
// remembers the page that was active. Sibling queries of its pages are
// relayed to every page.
class CGraphSheet final : public tvane::PropertySheet {
    Q_OBJECT
public:
    CGraphSheet(const std::vector<int>& pageIds, CGraphFrame& frame, int startPage,
                unsigned captionId, QWidget* parent = nullptr);

    CGraphFrame& GetFrame() const { return m_frame; }
    int GetSelectedPage() const { return LastActiveIndex() < 0 ? m_startPage : LastActiveIndex(); }
    // The pages of the ids the factory knows, in order; unknown ids are skipped.
    bool AddPages(const std::vector<int>& pageIds);
    // A new page for an id, or null.
    static CGraphPage* CreatePage(int pageId);
    // The maker of a page by its id (dialog id, page id), as a display family
    // registers it (PageRegistration); returns the maker it replaces.
    using PageMaker = std::function<CGraphPage*(int dialogId, int pageId)>;
    static PageMaker RegisterPageMaker(int pageId, PageMaker maker);
    long QuerySiblings(int code);

private:
    CGraphFrame& m_frame;
    int m_startPage;
};

// The program's display sheets and Page Properties sheet, modal over parent.
class QtGraphSheetRunner final : public IGraphSheetRunner {
public:
    explicit QtGraphSheetRunner(QWidget* parent = nullptr) : m_parent(parent) {}
    bool Run(CGraphFrame& frame, const std::vector<int>& pageIds, unsigned captionId, int startPage,
             int& activePage) override;
    bool RunPageProperties(std::uint32_t& color, std::string& name) override;

private:
    QWidget* m_parent;
};

// A page class registered by its page id from the file of a display family
// (or of the framework's shared pages), as an object at namespace scope.
template <class Page> class PageRegistration {
public:
    explicit PageRegistration(int pageId) {
        CGraphSheet::RegisterPageMaker(pageId,
                                       [](int dialogId, int id) { return new Page(dialogId, id); });
    }
};
