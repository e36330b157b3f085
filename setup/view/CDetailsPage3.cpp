// The Scaling (Mx + B) page.
#include "platform/controls/NumericEditModel.h"
#include "platform/widgets/QtText.h"
#include "scan/CFXSetup.h"
#include "setup/SheetTexts.h"
#include "setup/view/CDetailsPropSheet.h"
#include "setup/view/SheetControls.h"
#include "ui_ScalingPage.h"

using tvane::NumericEditModel;
using tvane::ToQString;
using tvane::ToUtf8;

namespace {

constexpr const char* kUnits[] = {"(none)", "VDC", "VAC", "OHM", "ADC", "AAC", "HZ",
                                  "SEC",    "C",   "F",   "K",   "DB",  "WAT"};

// A label starts with a letter and goes on with letters, digits and '_'.
bool IsLabel(const QString& text) {
    for (int i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        const bool digit = c >= '0' && c <= '9';
        if (i == 0 ? !letter : !(letter || digit || c == '_'))
            return false;
    }
    return true;
}

} // namespace

CDetailsPage3::CDetailsPage3(CFXSetup* row)
    : tvane::PropertyPage("Scaling (Mx + B)"), m_ui(std::make_unique<Ui::ScalingPage>()),
      m_row(row) {}

CDetailsPage3::~CDetailsPage3() = default;

void CDetailsPage3::OnInitPage() {
    m_ui->setupUi(this);
    for (tvane::CNumericEdit* edit : {m_ui->gainEdit, m_ui->offsetEdit}) {
        edit->Setup(NumericEditModel::kReal, "0.0");
        edit->SetRange(-1e15, 1e15);
        edit->setMaxLength(20);
    }
    const bool locked =
        m_row->CellFlags == CFXSetup::kCellAll || (m_row->CellFlags & CFXSetup::kCellScale);
    for (QWidget* w :
         std::initializer_list<QWidget*>{static_cast<QWidget*>(m_ui->scaleMode), m_ui->gainEdit,
                                         m_ui->offsetEdit, m_ui->labelList})
        w->setEnabled(!locked);
    m_ui->scaleMode->setChecked(m_row->Scaling != 0);
    OnScaleClicked();
    m_ui->gainEdit->SetText(m_row->Gain);
    m_ui->offsetEdit->SetText(m_row->Offset);
    for (const char* unit : kUnits)
        m_ui->labelList->addItem(unit);
    m_ui->labelList->setInsertPolicy(QComboBox::NoInsert);
    m_ui->labelList->lineEdit()->setMaxLength(20);
    SelectLabel(m_row->Units);
    m_lastLabel = m_ui->labelList->currentText();
    connect(m_ui->scaleMode, &QCheckBox::clicked, this, [this] { OnScaleClicked(); });
    connect(m_ui->labelList->lineEdit(), &QLineEdit::textEdited, this,
            [this](const QString& text) { OnLabelEdited(text); });
}

void CDetailsPage3::SelectLabel(const std::string& label) {
    // Only a whole label picks an item: a stored "V" stays "V", not "VDC".
    if (sheetui::SelectWhole(m_ui->labelList, label))
        return;
    m_ui->labelList->setCurrentIndex(-1);
    m_ui->labelList->setEditText(ToQString(label));
}

void CDetailsPage3::OnSetActive() {
    if (!m_row->Units.empty() && IsCreated())
        sheetui::SelectWhole(m_ui->labelList, m_row->Units);
}

void CDetailsPage3::OnScaleClicked() {
    const bool on = m_ui->scaleMode->isChecked();
    m_ui->scaleMode->setText(on ? sheettext::kOn : sheettext::kOff);
    for (QWidget* w : std::initializer_list<QWidget*>{static_cast<QWidget*>(m_ui->gainEdit),
                                                      m_ui->offsetEdit, m_ui->labelList})
        w->setEnabled(on);
}

void CDetailsPage3::OnLabelEdited(const QString& text) {
    if (text.isEmpty() || IsLabel(text)) {
        m_lastLabel = text;
        return;
    }
    QLineEdit* edit = m_ui->labelList->lineEdit();
    const int caret = std::max(0, static_cast<int>(edit->cursorPosition()) - 1);
    edit->setText(m_lastLabel);
    edit->setCursorPosition(std::min(caret, static_cast<int>(m_lastLabel.size())));
}

bool CDetailsPage3::OnKillActive() {
    for (tvane::CNumericEdit* edit : {m_ui->gainEdit, m_ui->offsetEdit})
        if (edit->isEnabled() && !edit->Validate()) {
            edit->setFocus();
            return false;
        }
    m_row->Scaling = m_ui->scaleMode->isChecked() ? 1 : 0;
    m_row->Gain = ToUtf8(m_ui->gainEdit->text());
    m_row->Offset = ToUtf8(m_ui->offsetEdit->text());
    // The typed text when it is no item; an item's text otherwise.
    const QComboBox* list = m_ui->labelList;
    const bool isItem =
        list->currentIndex() >= 0 && list->itemText(list->currentIndex()) == list->currentText();
    m_row->Units =
        isItem ? ToUtf8(list->itemText(list->currentIndex())) : ToUtf8(list->currentText());
    return true;
}
