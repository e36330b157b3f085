#include "graphics/pages/CGraphPage.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "graphics/pages/CGraphSheet.h"
#include "platform/widgets/CSpinEdit.h"

CGraphPage::CGraphPage(int dialogId, int pageId, const QString& caption)
    : tvane::PropertyPage(caption), m_dialogId(dialogId), m_pageId(pageId) {}

tvane::CSpinEdit* CGraphPage::PlaceRateEdit(QWidget* place, QLabel* label, const char* controlId) {
    auto* rate = new tvane::CSpinEdit(place);
    rate->setObjectName(controlId);
    auto* layout = new QHBoxLayout(place);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(rate);
    label->setBuddy(rate);
    rate->SetRange(1, 5000);
    rate->Attach(true);
    return rate;
}

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
