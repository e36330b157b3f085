#include "graphics/displays/datalight/CDataLEDAdvancedPage.h"

#include <algorithm>

#include "graphics/displays/datalight/CDataLEDFrame.h"
#include "graphics/pages/CGraphSheet.h"
#include "platform/widgets/CSpinEdit.h"
#include "ui_CDataLEDAdvancedPage.h"

namespace {
// The data light display's "Advanced" page.
const PageRegistration<CDataLEDAdvancedPage> kAdvancedPage{142};
} // namespace

CDataLEDAdvancedPage::CDataLEDAdvancedPage(int dialogId, int pageId)
    : CGraphPage(dialogId, pageId, "Advanced"), m_ui(std::make_unique<Ui::CDataLEDAdvancedPage>()) {
}

CDataLEDAdvancedPage::~CDataLEDAdvancedPage() = default;

void CDataLEDAdvancedPage::OnInitPage() {
    CGraphPage::OnInitPage();
    m_ui->setupUi(this);
    // The dialog's control ids, by which the program's tests find them.
    m_ui->immediate->setObjectName("1141");
    m_ui->scan->setObjectName("1142");
    m_ui->rateGroup->setObjectName("1147");
    m_ui->rateLabel->setObjectName("1148");
    m_rate = PlaceRateEdit(m_ui->ratePlace, m_ui->rateLabel, "1145");
    auto* frame = dynamic_cast<CDataLEDFrame*>(m_frame);
    if (!frame)
        return;
    SetHelpId(static_cast<unsigned>(frame->GetHelpId(3)));
    m_rate->SetValue(frame->GetUpdateRate());
    const bool scan = frame->GetAcquisitionMode() == CDataLEDWnd::kScan;
    (scan ? m_ui->scan : m_ui->immediate)->setChecked(true);
    m_rate->setEnabled(scan);
    connect(m_ui->immediate, &QRadioButton::clicked, this,
            [this] { SetMode(CDataLEDWnd::kImmediate); });
    connect(m_ui->scan, &QRadioButton::clicked, this, [this] { SetMode(CDataLEDWnd::kScan); });
}

void CDataLEDAdvancedPage::SetMode(std::int32_t mode) {
    auto* frame = dynamic_cast<CDataLEDFrame*>(m_frame);
    if (!frame)
        return;
    frame->SetAcquisitionMode(mode);
    m_rate->setEnabled(mode == CDataLEDWnd::kScan);
    // The channel pages list the channels of the new mode.
    SendSiblingQuery(graphpage::kChannelsChanged);
}

bool CDataLEDAdvancedPage::OnKillActive() {
    if (!m_rate || !m_frame)
        return true;
    // A number typed outside 1 to 5000 is moved into the range.
    m_rate->SetValue(std::clamp(m_rate->text().toInt(), 1, 5000));
    m_frame->SetUpdateRate(m_rate->GetValue());
    return true;
}
