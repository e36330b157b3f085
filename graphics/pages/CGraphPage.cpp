#include "graphics/pages/CGraphPage.h"

#include <QApplication>
#include <QPushButton>

#include "graphics/pages/CGraphSheet.h"

CGraphPage::CGraphPage(int dialogId, int pageId, const QString& caption)
    : tvane::PropertyPage(caption), m_dialogId(dialogId), m_pageId(pageId) {}

CGraphSheet* CGraphPage::GraphSheet() const {
    return qobject_cast<CGraphSheet*>(Sheet());
}

void CGraphPage::OnInitPage() {
    if (CGraphSheet* sheet = GraphSheet())
        m_frame = &sheet->GetFrame();
}

bool CGraphPage::IsCancelling() const {
    // Escape closes the sheet through reject() before any page check runs, so
    // the Cancel button holding the focus is what is left to look at.
    return Sheet() && QApplication::focusWidget() == Sheet()->CancelButton();
}

long CGraphPage::SendSiblingQuery(int code) {
    CGraphSheet* sheet = GraphSheet();
    return sheet ? sheet->QuerySiblings(code) : 0;
}
