// The Measurement page of a computed channel.
#include "platform/controls/NumericEditModel.h"
#include "platform/core/Format.h"
#include "platform/widgets/QtText.h"
#include "scan/CFXSetup.h"
#include "setup/ComputedChannelRules.h"
#include "setup/ISheetDocument.h"
#include "setup/SheetTexts.h"
#include "setup/view/CDetailsPropSheet.h"
#include "setup/view/CStrainEquationDlg.h"
#include "setup/view/SheetControls.h"
#include "ui_ComputedPage.h"

using tvane::NumericEditModel;
using tvane::ToQString;
using tvane::ToUtf8;

namespace {

// Module kinds that computed channels take as arguments, themselves included.
constexpr std::uint32_t kArgumentKinds = 0x603;

} // namespace

CDetailsPage5::CDetailsPage5(const CFXSetup* row, const CCompChnl& start,
                             const DetailsServices& services)
    : tvane::PropertyPage(sheettext::kMeasurementTitle), m_ui(std::make_unique<Ui::ComputedPage>()),
      m_row(row), m_services(services) {
    m_record.Channel = start.Channel;
    m_record.Group = start.Group;
    m_record.Copy(start);
    // A channel with no definition yet starts as a Sum of the arguments given.
    if (m_record.Operation < 0 || computed::FunctionOf(m_record.Operation) == nullptr) {
        m_record.Channel = 0;
        m_record.Operation = 0;
    }
}

CDetailsPage5::~CDetailsPage5() = default;

void CDetailsPage5::OnInitPage() {
    m_initialising = true;
    m_ui->setupUi(this);
    for (tvane::CNumericEdit* edit : {m_ui->arg1Edit, m_ui->arg2Edit}) {
        edit->Setup(NumericEditModel::kReal, "1.0");
        edit->SetRange(-1e25, 1e25);
        edit->setMaxLength(20);
    }
    for (const auto& category : computed::Categories())
        m_ui->categoryList->addItem(category.name);
    m_ui->categoryList->setCurrentRow(0);
    std::vector<ISheetDocument::Channel> channels;
    if (m_services.document != nullptr)
        channels = m_services.document->GetChannels(kArgumentKinds);
    for (QComboBox* list : {m_ui->arg1List, m_ui->arg2List}) {
        sheetui::FillChannels(list, channels);
        list->model()->sort(0);
        list->setCurrentIndex(-1);
    }

    connect(m_ui->categoryList, &QListWidget::currentRowChanged, this,
            [this] { OnCategoryChanged(); });
    connect(m_ui->functionList, &QListWidget::currentRowChanged, this,
            [this] { OnFunctionChanged(); });
    connect(m_ui->arg1Channel, &QRadioButton::clicked, this,
            [this] { SetArgumentKind(1, 0, true); });
    connect(m_ui->arg1Constant, &QRadioButton::clicked, this,
            [this] { SetArgumentKind(1, 1, true); });
    connect(m_ui->arg2Channel, &QRadioButton::clicked, this,
            [this] { SetArgumentKind(2, 0, true); });
    connect(m_ui->arg2Constant, &QRadioButton::clicked, this,
            [this] { SetArgumentKind(2, 1, true); });
    connect(m_ui->moreButton, &QPushButton::clicked, this, [this] { OnMore(); });

    const int code = m_record.Operation;
    m_ui->categoryList->setCurrentRow(code / 10);
    OnCategoryChanged();
    m_ui->functionList->setCurrentRow(code % 10);
    OnFunctionChanged();

    // The arguments as the record holds them.
    struct Arg {
        const CCompChnlArg& operand;
        QComboBox* list;
        tvane::CNumericEdit* edit;
        int index;
    };
    for (const Arg& a : {Arg{m_record.Arg1, m_ui->arg1List, m_ui->arg1Edit, 1},
                         Arg{m_record.Arg2, m_ui->arg2List, m_ui->arg2Edit, 2}}) {
        if (a.operand.Channel == CCompChnlArg::kConstant) {
            SetArgumentKind(a.index, computed::kConstant, false);
            a.edit->SetText(tvane::Format("%g", a.operand.Value));
        } else {
            SetArgumentKind(a.index, computed::kChannel, false);
            if (a.operand.Channel > 0)
                sheetui::SelectPrefix(a.list, tvane::Format(sheettext::kChannelLabel,
                                                            static_cast<long>(a.operand.Channel)));
        }
    }
    m_initialising = false;
}

void CDetailsPage5::OnCategoryChanged() {
    const int category = m_ui->categoryList->currentRow();
    if (category < 0)
        return;
    const auto& c = computed::Categories()[static_cast<std::size_t>(category)];
    m_ui->arg1Group->setTitle(c.argument1);
    m_ui->arg2Group->setTitle(c.argument2);
    {
        const QSignalBlocker block(m_ui->functionList);
        m_ui->functionList->clear();
        for (const auto& f : c.functions)
            m_ui->functionList->addItem(f.name);
    }
    m_ui->moreButton->setEnabled(category == computed::kStrainCategory);
    if (!m_initialising) {
        m_ui->functionList->setCurrentRow(0);
        OnFunctionChanged();
    }
}

int CDetailsPage5::ArgumentKind(int argument) const {
    return (argument == 1 ? m_ui->arg1Constant : m_ui->arg2Constant)->isChecked()
               ? computed::kConstant
               : computed::kChannel;
}

void CDetailsPage5::SetArgumentKind(int argument, int kind, bool focus) {
    QRadioButton* channel = argument == 1 ? m_ui->arg1Channel : m_ui->arg2Channel;
    QRadioButton* constant = argument == 1 ? m_ui->arg1Constant : m_ui->arg2Constant;
    QComboBox* list = argument == 1 ? m_ui->arg1List : m_ui->arg2List;
    tvane::CNumericEdit* edit = argument == 1 ? m_ui->arg1Edit : m_ui->arg2Edit;
    (kind == computed::kConstant ? constant : channel)->setChecked(true);
    list->setVisible(kind == computed::kChannel);
    edit->setVisible(kind == computed::kConstant);
    if (focus)
        (kind == computed::kChannel ? static_cast<QWidget*>(list) : edit)->setFocus();
}

void CDetailsPage5::OnFunctionChanged() {
    const int category = m_ui->categoryList->currentRow();
    const int function = m_ui->functionList->currentRow();
    if (category < 0 || function < 0) {
        m_ui->formulaText->clear();
        m_ui->descriptionText->clear();
        return;
    }
    const int code = category * 10 + function;
    const computed::Function* f = computed::FunctionOf(code);
    if (f == nullptr)
        return;
    m_ui->formulaText->setText(f->formula);
    m_ui->descriptionText->setText(f->description);
    const bool twoArguments = f->arguments == 2;
    if (category == computed::kStrainCategory || code == CCompChnl::kPowerIntoResistance ||
        code == CCompChnl::kPowerInto1000Ohms || !twoArguments)
        SetArgumentKind(1, computed::kChannel, false);
    m_ui->arg1Channel->setEnabled(true);
    m_ui->arg1Constant->setEnabled(twoArguments);
    for (QWidget* w :
         std::initializer_list<QWidget*>{static_cast<QWidget*>(m_ui->arg2Channel),
                                         m_ui->arg2Constant, m_ui->arg2List, m_ui->arg2Edit})
        w->setEnabled(twoArguments);
    if (m_initialising)
        return;
    if (code == CCompChnl::kPowerIntoResistance) {
        SetArgumentKind(2, computed::kConstant, false);
        m_ui->arg2Edit->SetText("600");
        m_ui->arg2Channel->setEnabled(false);
    } else if (code == CCompChnl::kPowerInto1000Ohms) {
        SetArgumentKind(2, computed::kConstant, false);
        m_ui->arg2Edit->SetText("1000");
    }
}

void CDetailsPage5::OnMore() {
    CStrainEquationDlg dialog(this);
    dialog.m_gageFactor = m_record.GaugeFactor;
    dialog.m_output = m_record.RefOutput;
    double excitation = m_record.RefExcitation;
    const std::string text = ToUtf8(m_ui->arg2Edit->text());
    if (ArgumentKind(2) == computed::kConstant && !text.empty())
        excitation = std::atof(text.c_str());
    dialog.m_excitation = excitation;
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_record.RefExcitation = dialog.m_excitation;
    m_record.RefOutput = dialog.m_output;
    m_record.GaugeFactor = dialog.m_gageFactor;
    m_ui->arg2Edit->SetText(tvane::Format("%g", dialog.m_excitation));
}

bool CDetailsPage5::OnKillActive() {
    const int category = m_ui->categoryList->currentRow();
    const int function = m_ui->functionList->currentRow();
    computed::Argument args[2];
    tvane::CNumericEdit* edits[2] = {m_ui->arg1Edit, m_ui->arg2Edit};
    QComboBox* lists[2] = {m_ui->arg1List, m_ui->arg2List};
    const computed::Function* f =
        category >= 0 && function >= 0 ? computed::FunctionOf(category * 10 + function) : nullptr;
    const int arguments = f ? f->arguments : 0;
    for (int i = 0; i < 2; ++i) {
        args[i].kind = ArgumentKind(i + 1);
        args[i].channelItem = sheetui::Selected(lists[i]);
        args[i].constantText = ToUtf8(edits[i]->text());
        // A constant in use checks itself first, with its own message.
        if (args[i].kind == computed::kConstant && i < std::max(arguments, 1) &&
            !args[i].constantText.empty() && !edits[i]->Validate()) {
            edits[i]->setFocus();
            return false;
        }
    }
    const long own = m_row != nullptr ? static_cast<long>(m_row->Channel) : 0;
    const computed::Refusal refusal =
        computed::Apply(category, function, args[0], args[1], own, m_record);
    if (refusal) {
        QWidget* focus = nullptr;
        if (refusal.focus > 0) {
            const int i = refusal.focus - 1;
            focus =
                args[i].kind == computed::kConstant ? static_cast<QWidget*>(edits[i]) : lists[i];
        }
        sheetui::Refuse(refusal.message, refusal.title, tvane::MsgIcon::Error, focus);
        return false;
    }
    m_formula = ToUtf8(m_ui->formulaText->text());
    return true;
}
