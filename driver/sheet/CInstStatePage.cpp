#include "driver/sheet/CInstStatePage.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "driver/sheet/CRenameStateDialog.h"
#include "platform/widgets/QtText.h"

namespace tvane::driver {

namespace {
using tvane::ToQString;
} // namespace

CInstStatePage::CInstStatePage(CKXQT7100& driver) : CSettingsPage("Store/Recall", driver) {}

CInstStatePage::~CInstStatePage() = default;

void CInstStatePage::BuildPage() {
    m_model = std::make_unique<CInstStateModel>(Driver());

    m_states = new QListWidget(this);
    m_store = new QPushButton(QStringLiteral("&Store Current State"), this);
    m_recall = new QPushButton(QStringLiteral("&Recall Stored State"), this);
    m_edit = new QPushButton(QStringLiteral("&Edit State Name..."), this);
    m_slots = new QListWidget(this);
    m_reset = new QPushButton(QStringLiteral("Rese&t"), this);
    m_storeChoice = new QRadioButton(QStringLiteral("&Store"), this);
    m_recallChoice = new QRadioButton(QStringLiteral("&Recall"), this);
    m_renameChoice = new QRadioButton(QStringLiteral("Re&name"), this);
    m_apply = new QPushButton(QStringLiteral("&Apply"), this);

    // One exclusive group that may start with none chosen.
    auto* choices = new QButtonGroup(this);
    choices->addButton(m_storeChoice);
    choices->addButton(m_recallChoice);
    choices->addButton(m_renameChoice);

    auto* stateButtons = new QVBoxLayout;
    stateButtons->addWidget(m_store);
    stateButtons->addWidget(m_recall);
    stateButtons->addWidget(m_edit);
    stateButtons->addStretch(1);
    auto* choiceRow = new QHBoxLayout;
    choiceRow->addWidget(m_storeChoice);
    choiceRow->addWidget(m_recallChoice);
    choiceRow->addWidget(m_renameChoice);
    choiceRow->addStretch(1);
    choiceRow->addWidget(m_apply);
    auto* slotButtons = new QVBoxLayout;
    slotButtons->addWidget(m_reset);
    slotButtons->addStretch(1);

    auto* layout = new QGridLayout(this);
    layout->addWidget(m_states, 0, 0);
    layout->addLayout(stateButtons, 0, 1);
    layout->addLayout(choiceRow, 1, 0, 1, 2);
    layout->addWidget(m_slots, 2, 0);
    layout->addLayout(slotButtons, 2, 1);

    for (const std::string& slot : CInstStateModel::SlotEntries())
        m_slots->addItem(ToQString(slot));
    m_slots->setCurrentRow(0);
    ShowList();

    connect(m_states, &QListWidget::currentRowChanged, this, [this](int row) {
        m_model->Select(row);
        ShowButtons();
    });
    connect(m_store, &QPushButton::clicked, this, [this] {
        m_model->StoreCurrentState();
        ShowButtons();
    });
    connect(m_recall, &QPushButton::clicked, this, [this] { m_model->RecallStoredState(); });
    connect(m_edit, &QPushButton::clicked, this, &CInstStatePage::EditName);
    connect(m_reset, &QPushButton::clicked, this,
            [this] { m_model->ResetSlot(m_slots->currentRow()); });
    connect(m_storeChoice, &QRadioButton::clicked, this,
            [this] { ChooseMode(CInstStateModel::Mode::Store); });
    connect(m_recallChoice, &QRadioButton::clicked, this,
            [this] { ChooseMode(CInstStateModel::Mode::Recall); });
    connect(m_renameChoice, &QRadioButton::clicked, this,
            [this] { ChooseMode(CInstStateModel::Mode::Rename); });
    connect(m_apply, &QPushButton::clicked, this, [this] {
        m_model->Apply();
        ShowButtons();
    });
}

void CInstStatePage::ShowList() {
    const QSignalBlocker block(m_states);
    m_states->clear();
    for (const std::string& entry : m_model->Entries())
        m_states->addItem(ToQString(entry));
    m_states->setCurrentRow(m_model->Selection());
    ShowButtons();
}

void CInstStatePage::ShowButtons() {
    m_store->setEnabled(m_model->CanStore());
    m_recall->setEnabled(m_model->CanRecall());
    m_edit->setEnabled(m_model->CanEdit());
}

void CInstStatePage::ChooseMode(CInstStateModel::Mode mode) {
    m_model->SetMode(mode);
    ShowList();
}

void CInstStatePage::EditName() {
    CRenameStateDialog dialog(ToQString(m_model->CurrentName()), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const int row = m_model->Selection();
    if (!m_model->Rename(dialog.Name().toStdString()))
        return;
    if (QListWidgetItem* item = m_states->item(row))
        item->setText(ToQString(m_model->CurrentName()));
    ShowButtons();
}

} // namespace tvane::driver
