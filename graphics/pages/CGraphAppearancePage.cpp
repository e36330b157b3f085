#include "graphics/pages/CGraphAppearancePage.h"

#include <QColorDialog>
#include <QFontDialog>

#include "graphics/CGraphFrame.h"
#include "graphics/GraphItemProps.h"
#include "graphics/view/QtGraphDC.h"
#include "platform/widgets/QtText.h"
#include "ui_CGraphAppearancePage.h"

CGraphAppearancePage::CGraphAppearancePage(int dialogId, int pageId)
    : CGraphPage(dialogId, pageId, "Appearance"),
      m_ui(std::make_unique<Ui::CGraphAppearancePage>()) {}

CGraphAppearancePage::~CGraphAppearancePage() = default;

void CGraphAppearancePage::OnInitPage() {
    CGraphPage::OnInitPage();
    if (m_frame)
        SetHelpId(static_cast<unsigned>(m_frame->GetHelpId(2)));
    m_ui->setupUi(this);
    connect(m_ui->colorItems, &QComboBox::currentIndexChanged, this, [this] { ShowColor(); });
    connect(m_ui->fontItems, &QComboBox::currentIndexChanged, this, [this] { ShowFont(); });
    connect(m_ui->labelItems, &QComboBox::currentIndexChanged, this, [this] { ShowLabel(); });
    connect(m_ui->changeColor, &QPushButton::clicked, this, [this] { ChangeColor(); });
    connect(m_ui->changeFont, &QPushButton::clicked, this, [this] { ChangeFont(); });
    connect(m_ui->labelText, &QLineEdit::textEdited, this,
            [this](const QString& t) { ApplyLabel(t); });
    FillLists();
}

bool CGraphAppearancePage::FillLists() {
    if (!m_frame)
        return false;
    m_showing = true;
    m_ui->colorItems->clear();
    m_ui->fontItems->clear();
    m_ui->labelItems->clear();
    const graphpage::AppearanceLists lists = graphpage::FillAppearanceLists(*m_frame);
    const auto fill = [](QComboBox* box, const std::vector<graphpage::ItemEntry>& entries) {
        for (const graphpage::ItemEntry& e : entries)
            box->addItem(tvane::ToQString(e.text), e.data);
        box->setEnabled(!entries.empty());
        box->setCurrentIndex(entries.empty() ? -1 : 0);
    };
    fill(m_ui->colorItems, lists.colors);
    fill(m_ui->fontItems, lists.fonts);
    fill(m_ui->labelItems, lists.labels);
    m_ui->changeColor->setEnabled(!lists.colors.empty());
    m_ui->swatch->setEnabled(!lists.colors.empty());
    m_ui->changeFont->setEnabled(!lists.fonts.empty());
    m_ui->sample->setEnabled(!lists.fonts.empty());
    m_ui->labelText->setEnabled(!lists.labels.empty());
    m_showing = false;
    ShowColor();
    ShowFont();
    ShowLabel();
    return true;
}

GRAPHITEMPROPS CGraphAppearancePage::Entry(int list, std::uint32_t mask, int& item) const {
    QComboBox* box = list == 0 ? m_ui->colorItems : list == 1 ? m_ui->fontItems : m_ui->labelItems;
    GRAPHITEMPROPS props;
    item = -1;
    if (box->currentIndex() < 0 || !m_frame)
        return props;
    const std::uint32_t data = box->currentData().toUInt();
    item = graphpage::ItemOf(data);
    props.mask = mask;
    props.channelIndex = graphpage::ChannelOf(data);
    m_frame->GetAppearanceItem(item, props);
    return props;
}

void CGraphAppearancePage::ShowColor() {
    if (m_showing)
        return;
    int item = 0;
    const GRAPHITEMPROPS props = Entry(0, GRAPHITEMPROPS::kColor, item);
    if (item < 0)
        return;
    m_swatchColor = props.color;
    QPalette p = m_ui->swatch->palette();
    p.setColor(QPalette::Window, ToQColor(m_swatchColor));
    m_ui->swatch->setPalette(p);
    m_ui->swatch->update();
}

void CGraphAppearancePage::ShowFont() {
    if (m_showing)
        return;
    int item = 0;
    const GRAPHITEMPROPS props = Entry(1, GRAPHITEMPROPS::kFont, item);
    if (item >= 0)
        m_ui->sample->setFont(LogFontToQFont(props.font));
}

void CGraphAppearancePage::ShowLabel() {
    if (m_showing)
        return;
    int item = 0;
    const GRAPHITEMPROPS props = Entry(2, GRAPHITEMPROPS::kLabelText, item);
    if (item >= 0)
        m_ui->labelText->setText(tvane::ToQString(props.labelText).left(graphpage::kMaxLabelText));
}

void CGraphAppearancePage::ChangeColor() {
    int item = 0;
    GRAPHITEMPROPS props = Entry(0, GRAPHITEMPROPS::kColor, item);
    if (item < 0)
        return;
    QColorDialog dialog(ToQColor(props.color), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const std::uint32_t chosen = ToColorRef(dialog.selectedColor());
    if (chosen == props.color)
        return;
    props.mask = GRAPHITEMPROPS::kColor;
    props.color = chosen;
    m_frame->SetAppearanceItem(item, props, true);
    ShowColor();
}

void CGraphAppearancePage::ChangeFont() {
    int item = 0;
    GRAPHITEMPROPS props = Entry(1, GRAPHITEMPROPS::kFont, item);
    if (item < 0)
        return;
    QFontDialog dialog(LogFontToQFont(props.font), this);
    dialog.setOption(QFontDialog::ScalableFonts);
    if (dialog.exec() != QDialog::Accepted)
        return;
    props.mask = GRAPHITEMPROPS::kFont;
    props.font = QFontToLogFont(dialog.selectedFont());
    m_frame->SetAppearanceItem(item, props, true);
    ShowFont();
}

void CGraphAppearancePage::ApplyLabel(const QString& text) {
    int item = 0;
    GRAPHITEMPROPS props = Entry(2, GRAPHITEMPROPS::kLabelText, item);
    if (item < 0)
        return;
    props.mask = GRAPHITEMPROPS::kLabelText;
    props.labelText = tvane::ToUtf8(text.left(graphpage::kMaxLabelText));
    m_frame->SetAppearanceItem(item, props, true);
}

long CGraphAppearancePage::OnQuerySiblings(int code) {
    if (code != graphpage::kAppearanceChanged)
        return 0;
    return FillLists() ? 1 : 0;
}
