#include "app/frame/CPrefPage.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/CAppPreferences.h"
#include "platform/core/Format.h"
#include "platform/ui/Prompter.h"
#include "shared/view/MfxFontQt.h"

CPrefPage::CPrefPage(CAppPreferences& preferences, QWidget* parent)
    : QDialog(parent), m_preferences(preferences) {
    setWindowTitle(QStringLiteral("Preferences"));
    auto* layout = new QVBoxLayout(this);
    auto* valueRow = new QHBoxLayout;
    valueRow->addWidget(new QLabel(QStringLiteral("Property &Value:"), this));
    m_choice = new QComboBox(this);
    m_choice->addItems({QStringLiteral("No"), QStringLiteral("Yes")});
    valueRow->addWidget(m_choice, 1);
    layout->addLayout(valueRow);
    m_list = new QListWidget(this);
    layout->addWidget(m_list, 1);
    m_description = new QLabel(this);
    m_description->setWordWrap(true);
    layout->addWidget(m_description);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_restore =
        buttons->addButton(QStringLiteral("&Restore Defaults"), QDialogButtonBox::ResetRole);
    layout->addWidget(buttons);

    for (const auto& item : m_preferences.Items())
        m_list->addItem(QString::fromStdString(CAppPreferences::ListLine(*item)));

    connect(m_list, &QListWidget::currentRowChanged, this, [this](int row) { ShowItem(row); });
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* line) {
        const int row = m_list->row(line);
        const auto& items = m_preferences.Items();
        if (row < 0 || row >= static_cast<int>(items.size()) || !items[row]->IsYesNo())
            return;
        SetValue(row, items[row]->m_value == "N" ? "Y" : "N");
        m_choice->setFocus();
    });
    connect(m_choice, &QComboBox::activated, this,
            [this](int index) { SetValue(m_list->currentRow(), index == 1 ? "Y" : "N"); });
    connect(m_restore, &QPushButton::clicked, this, [this] {
        const int selected = m_list->currentRow() < 0 ? 0 : m_list->currentRow();
        const auto& items = m_preferences.Items();
        for (std::size_t i = 0; i < items.size(); ++i) {
            items[i]->m_value = items[i]->m_default;
            RebuildLine(static_cast<int>(i));
        }
        m_list->setCurrentRow(selected);
        ShowItem(selected);
        m_choice->setFocus();
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &CPrefPage::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    m_list->setCurrentRow(0);
    ShowItem(0);
    ApplyDialogFont(this);
}

void CPrefPage::ShowItem(int row) {
    const auto& items = m_preferences.Items();
    if (row < 0 || row >= static_cast<int>(items.size()))
        return;
    const CPref& item = *items[row];
    m_choice->setCurrentIndex(item.m_value == "N" ? 0 : 1);
    m_description->setText(QString::fromStdString(item.m_description));
}

void CPrefPage::SetValue(int row, const std::string& value) {
    const auto& items = m_preferences.Items();
    if (row < 0 || row >= static_cast<int>(items.size()))
        return;
    items[row]->m_value = value;
    RebuildLine(row);
    m_list->setCurrentRow(row);
    ShowItem(row);
}

void CPrefPage::RebuildLine(int row) {
    if (QListWidgetItem* line = m_list->item(row))
        line->setText(
            QString::fromStdString(CAppPreferences::ListLine(*m_preferences.Items()[row])));
}

void CPrefPage::accept() {
    bool ok = true;
    for (const std::string& name : CAppPreferences::Validate(m_preferences.Items())) {
        tvane::ShowMessage(tvane::Format("Invalid Entry: %s", name.c_str()));
        ok = false;
    }
    if (ok)
        QDialog::accept();
}

bool EditPreferences(CAppPreferences& preferences, QWidget* parent) {
    CPrefPage page(preferences, parent);
    if (page.exec() == QDialog::Accepted) {
        preferences.SaveAll();
        return true;
    }
    preferences.LoadAll();
    return false;
}
