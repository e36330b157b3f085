#include "graphics/pages/CTabPropSheet.h"

#include <QColorDialog>

#include "graphics/GraphPageRules.h"
#include "graphics/view/QtGraphDC.h"
#include "platform/ui/Prompter.h"
#include "platform/widgets/QtText.h"
#include "ui_CAppearancePage.h"

CAppearancePage::CAppearancePage()
    : tvane::PropertyPage("Appearance", 233), m_ui(std::make_unique<Ui::CAppearancePage>()) {}

CAppearancePage::~CAppearancePage() = default;

void CAppearancePage::SetZoom(int percent, bool show) {
    m_zoom = graphpage::ZoomIndex(percent);
    m_showZoom = show;
}

int CAppearancePage::GetZoom() const {
    return graphpage::ZoomPercent(m_zoom);
}

void CAppearancePage::OnInitPage() {
    m_ui->setupUi(this);
    m_ui->zoomGroup->setVisible(m_showZoom);
    m_ui->tabName->setText(tvane::ToQString(m_name));
    QRadioButton* radios[] = {m_ui->zoom100, m_ui->zoom125, m_ui->zoom150};
    if (m_zoom >= 0 && m_zoom <= 2)
        radios[m_zoom]->setChecked(true);
    connect(m_ui->change, &QPushButton::clicked, this, [this] { ChangeColor(); });
    ShowSwatch();
}

void CAppearancePage::ShowSwatch() {
    QPalette p = m_ui->swatch->palette();
    p.setColor(QPalette::Window, ToQColor(m_color));
    m_ui->swatch->setPalette(p);
    m_ui->swatch->update();
}

void CAppearancePage::ChangeColor() {
    QColorDialog dialog(ToQColor(m_color), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_color = ToColorRef(dialog.selectedColor());
    ShowSwatch();
}

bool CAppearancePage::OnKillActive() {
    const QString name = m_ui->tabName->text();
    if (name.size() > graphpage::kMaxTabName) {
        tvane::ShowMessage("Please enter no more than 20 characters.", tvane::MsgButtons::Ok,
                           tvane::MsgIcon::Warning);
        return false;
    }
    m_name = tvane::ToUtf8(name);
    if (m_ui->zoom125->isChecked())
        m_zoom = 1;
    else if (m_ui->zoom150->isChecked())
        m_zoom = 2;
    else if (m_ui->zoom100->isChecked())
        m_zoom = 0;
    return true;
}

CTabPropSheet::CTabPropSheet(QWidget* owner, std::uint32_t color, const std::string& tabName,
                             const QString& caption, int startPage)
    : tvane::PropertySheet(caption, owner) {
    m_page = new CAppearancePage;
    AddPage(m_page);
    m_page->SetBackColor(color);
    m_page->SetTabName(tabName);
    m_page->SetZoom(-1, false);
    SetStartPage(startPage);
}
