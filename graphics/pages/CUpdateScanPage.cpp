#include "graphics/pages/CUpdateScanPage.h"

#include <algorithm>

#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include "graphics/CGraphFrame.h"
#include "platform/widgets/CSpinEdit.h"

CUpdateScanPage::CUpdateScanPage(int dialogId, int pageId)
    : CGraphPage(dialogId, pageId, "Advanced") {}

void CUpdateScanPage::OnInitPage() {
    CGraphPage::OnInitPage();
    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox("Update Rate", this);
    auto* inner = new QVBoxLayout(group);
    auto* label = new QLabel("&Update display every N scans:", group);
    m_rate = new tvane::CSpinEdit(group);
    m_rate->setObjectName("1083");
    label->setBuddy(m_rate);
    inner->addWidget(label);
    inner->addWidget(m_rate);
    layout->addWidget(group);
    layout->addStretch();
    m_rate->SetRange(1, 5000);
    m_rate->Attach(true);
    if (m_frame) {
        SetHelpId(static_cast<unsigned>(m_frame->GetHelpId(3)));
        m_rate->SetValue(m_frame->GetUpdateRate());
    }
}

bool CUpdateScanPage::OnKillActive() {
    if (!m_rate || !m_frame)
        return true;
    // A number typed outside 1 to 5000 is moved into the range.
    m_rate->SetValue(std::clamp(m_rate->text().toInt(), 1, 5000));
    m_frame->SetUpdateRate(m_rate->GetValue());
    return true;
}
