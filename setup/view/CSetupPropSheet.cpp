#include "setup/view/CSetupPropSheet.h"

#include "platform/widgets/QtText.h"
#include "setup/IColorPicker.h"
#include "setup/SheetTexts.h"
#include "setup/view/SheetControls.h"
#include "ui_AppearancePage.h"
#include "ui_ColumnsPage.h"

using tvane::ToQString;
using tvane::ToUtf8;

SetupAppearancePage::SetupAppearancePage(IColorPicker* picker)
    : tvane::PropertyPage("Appearance"), m_ui(std::make_unique<Ui::AppearancePage>()),
      m_picker(picker) {}

SetupAppearancePage::~SetupAppearancePage() = default;

void SetupAppearancePage::SetZoom(int percent, bool show) {
    m_zoom = percent < 101 ? 0 : percent < 126 ? 1 : 2;
    m_showZoom = show;
}

void SetupAppearancePage::OnInitPage() {
    m_ui->setupUi(this);
    m_ui->zoomGroup->setVisible(m_showZoom);
    m_ui->tabNameEdit->setMaxLength(20);
    m_ui->tabNameEdit->setText(ToQString(m_tabName));
    m_ui->swatch->SetColor(m_colour);
    QRadioButton* zooms[] = {m_ui->zoom100, m_ui->zoom125, m_ui->zoom150};
    if (m_zoom >= 0 && m_zoom < 3)
        zooms[m_zoom]->setChecked(true);
    connect(m_ui->changeButton, &QPushButton::clicked, this, [this] {
        std::uint32_t colour = m_colour;
        if (m_picker != nullptr && m_picker->PickColor(colour)) {
            m_colour = colour;
            m_ui->swatch->SetColor(colour);
        }
    });
}

bool SetupAppearancePage::OnKillActive() {
    m_tabName = ToUtf8(m_ui->tabNameEdit->text());
    m_zoom = m_ui->zoom150->isChecked()   ? 2
             : m_ui->zoom125->isChecked() ? 1
             : m_ui->zoom100->isChecked() ? 0
                                          : m_zoom;
    return true;
}

CSetupPropPage2::CSetupPropPage2()
    : tvane::PropertyPage("Columns"), m_ui(std::make_unique<Ui::ColumnsPage>()) {}

CSetupPropPage2::~CSetupPropPage2() = default;

QCheckBox* CSetupPropPage2::ColumnBox(int column) const {
    QCheckBox* boxes[16] = {m_ui->showId,
                            m_ui->showScan,
                            m_ui->showName,
                            m_ui->showFunction,
                            m_ui->showRange,
                            m_ui->showResolution,
                            m_ui->showMeasurementAdvanced,
                            m_ui->showScale,
                            m_ui->showGain,
                            m_ui->showOffset,
                            m_ui->showLabel,
                            m_ui->showTest,
                            m_ui->showHigh,
                            m_ui->showLow,
                            m_ui->showHardware,
                            m_ui->showAlarmAdvanced};
    return column >= 0 && column < 16 ? boxes[column] : nullptr;
}

void CSetupPropPage2::OnInitPage() {
    m_ui->setupUi(this);
    for (int k = 0; k < 16; ++k)
        ColumnBox(k)->setChecked(m_visible[static_cast<std::size_t>(k)]);
}

bool CSetupPropPage2::OnKillActive() {
    for (int k = 0; k < 16; ++k)
        m_visible[static_cast<std::size_t>(k)] = ColumnBox(k)->isChecked();
    return true;
}

CSetupPropSheet::CSetupPropSheet(QWidget* parent, std::uint32_t colour, const std::string& tabName,
                                 int zoom, int startPage, IColorPicker* picker)
    : tvane::PropertySheet(sheettext::kOptionsCaption, parent),
      m_appearance(new SetupAppearancePage(picker)), m_columns(new CSetupPropPage2) {
    AddPage(m_appearance);
    AddPage(m_columns);
    m_appearance->SetBackColor(colour);
    m_appearance->SetTabName(tabName);
    m_appearance->SetZoom(zoom, true);
    SetStartPage(startPage);
}

bool SetupOptionsSheet::Run(int startPage, Options& options) {
    CSetupPropSheet sheet(m_parent, options.tabColour, options.tabName, options.zoom, startPage,
                          m_picker);
    sheet.Columns().m_visible = options.visible;
    if (sheet.exec() != QDialog::Accepted)
        return false;
    options.visible = sheet.Columns().m_visible;
    options.tabName = sheet.Appearance().GetTabName();
    options.tabColour = sheet.Appearance().GetBackColor();
    options.zoom = sheet.Appearance().GetZoom();
    return true;
}
