#include "graphics/pages/CGraphSheet.h"

#include <map>
#include <optional>

#include <QApplication>

#include "graphics/CGraphFrame.h"
#include "graphics/GraphicsTexts.h"
#include "graphics/pages/CGraphAppearancePage.h"
#include "graphics/pages/CGraphChannelPage.h"
#include "graphics/pages/CTabPropSheet.h"
#include "graphics/pages/CUpdateScanPage.h"
#include "platform/widgets/MfxCursor.h"
#include "platform/widgets/QtText.h"

CGraphSheet::CGraphSheet(const std::vector<int>& pageIds, CGraphFrame& frame, int startPage,
                         unsigned captionId, QWidget* parent)
    : tvane::PropertySheet(tvane::ToQString(GraphicsTexts().Load(captionId)), parent),
      m_frame(frame), m_startPage(startPage) {
    AddPages(pageIds);
    SetStartPage(startPage);
}

bool CGraphSheet::AddPages(const std::vector<int>& pageIds) {
    for (int id : pageIds)
        if (CGraphPage* page = CreatePage(id))
            AddPage(page);
    return true;
}

namespace {

std::map<int, CGraphSheet::PageMaker>& PageMakers() {
    static std::map<int, CGraphSheet::PageMaker> makers;
    return makers;
}

// The pages several displays share.
const PageRegistration<CGraphAppearancePage> kAppearancePage{200};
const PageRegistration<CGraphChannelPage> kChannelPage{201};
const PageRegistration<CSwitchChannelPage> kSwitchChannelPage{305};
const PageRegistration<CUpdateScanPage> kUpdateScanPage{134};

} // namespace

CGraphSheet::PageMaker CGraphSheet::RegisterPageMaker(int pageId, PageMaker maker) {
    PageMaker previous = std::move(PageMakers()[pageId]);
    PageMakers()[pageId] = std::move(maker);
    return previous;
}

CGraphPage* CGraphSheet::CreatePage(int pageId) {
    const graphfactory::PageInfo* info = graphfactory::FindPage(pageId);
    if (!info)
        return nullptr;
    const auto it = PageMakers().find(pageId);
    return it != PageMakers().end() && it->second ? it->second(info->dialogId, pageId) : nullptr;
}

long CGraphSheet::QuerySiblings(int code) {
    for (int i = 0; i < PageCount(); ++i)
        if (auto* page = qobject_cast<CGraphPage*>(Page(i)); page && page->IsCreated())
            page->OnQuerySiblings(code);
    return 1;
}

bool QtGraphSheetRunner::Run(CGraphFrame& frame, const std::vector<int>& pageIds,
                             unsigned captionId, int startPage, int& activePage) {
    std::optional<tvane::CMfxWaitCursor> wait(std::in_place); // while the sheet is built
    CGraphSheet sheet(pageIds, frame, startPage, captionId,
                      m_parent ? m_parent : QApplication::activeWindow());
    wait.reset();
    const bool ok = sheet.exec() == QDialog::Accepted;
    activePage = sheet.GetSelectedPage();
    return ok;
}

bool QtGraphSheetRunner::RunPageProperties(std::uint32_t& color, std::string& name) {
    CTabPropSheet sheet(m_parent ? m_parent : QApplication::activeWindow(), color, name,
                        tvane::ToQString(GraphicsTexts().Load(117)));
    if (sheet.exec() != QDialog::Accepted)
        return false;
    color = sheet.GetTabColor();
    name = sheet.GetTabName();
    return true;
}
