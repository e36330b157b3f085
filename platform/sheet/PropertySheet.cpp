#include "platform/sheet/PropertySheet.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>

#include "platform/sheet/PropertyPage.h"
#include "platform/ui/Help.h"

namespace tvane {

PropertySheet::PropertySheet(const QString& caption, QWidget* parent) : QDialog(parent) {
    setWindowTitle(caption);
    setModal(true);
    m_tabs = new QTabBar(this);
    m_tabs->setDrawBase(false);
    m_stack = new QStackedWidget(this);
    auto* buttons = new QDialogButtonBox(this);
    m_ok = buttons->addButton(QDialogButtonBox::Ok);
    m_cancel = buttons->addButton(QDialogButtonBox::Cancel);
    m_help = buttons->addButton(QDialogButtonBox::Help);
    m_help->setVisible(false);
    connect(m_ok, &QPushButton::clicked, this, &PropertySheet::accept);
    connect(m_cancel, &QPushButton::clicked, this, &PropertySheet::reject);
    connect(m_help, &QPushButton::clicked, this, &PropertySheet::ShowHelp);
    connect(m_tabs, &QTabBar::currentChanged, this, [this](int index) {
        if (index == m_active || index < 0)
            return;
        if (!SetActivePage(index)) {
            // The page stays: put the tab back without asking it again.
            const QSignalBlocker block(m_tabs);
            m_tabs->setCurrentIndex(m_active);
        }
    });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(m_stack, 1);
    layout->addWidget(buttons);
}

PropertySheet::~PropertySheet() = default;

void PropertySheet::AddPage(PropertyPage* page) {
    page->m_sheet = this;
    m_pages.push_back(page);
    m_stack->addWidget(page);
    const QSignalBlocker block(m_tabs);
    m_tabs->addTab(page->Title());
    if (page->HelpId() != 0)
        m_help->setVisible(true);
}

PropertyPage* PropertySheet::Page(int index) const {
    return index >= 0 && index < PageCount() ? m_pages[static_cast<std::size_t>(index)] : nullptr;
}

bool PropertySheet::SetActivePage(int index) {
    if (!Page(index))
        return false;
    if (index == m_active)
        return true;
    if (PropertyPage* current = ActivePage(); current && !current->OnKillActive())
        return false;
    Activate(index);
    return true;
}

void PropertySheet::Activate(int index) {
    PropertyPage* page = Page(index);
    m_active = index;
    {
        const QSignalBlocker block(m_tabs);
        m_tabs->setCurrentIndex(index);
    }
    m_stack->setCurrentWidget(page);
    if (!page->m_created) {
        page->m_created = true;
        page->OnInitPage();
    }
    page->OnSetActive();
    UpdateHelp();
}

void PropertySheet::showEvent(QShowEvent* event) {
    if (m_active < 0 && !m_pages.empty())
        Activate(Page(m_startPage) ? m_startPage : 0);
    QDialog::showEvent(event);
}

void PropertySheet::accept() {
    if (PropertyPage* current = ActivePage(); current && !current->OnKillActive())
        return;
    for (PropertyPage* page : m_pages)
        if (page->m_created)
            page->OnOK();
    QDialog::accept();
}

void PropertySheet::reject() {
    for (PropertyPage* page : m_pages)
        if (page->m_created)
            page->OnCancel();
    QDialog::reject();
}

void PropertySheet::done(int result) {
    m_lastActive = m_active;
    QDialog::done(result);
}

void PropertySheet::ShowHelp() {
    if (PropertyPage* page = ActivePage(); page && page->HelpId() != 0)
        Help().ShowContext(page->HelpId());
}

void PropertySheet::UpdateHelp() {
    const PropertyPage* page = ActivePage();
    m_help->setEnabled(page && page->HelpId() != 0);
}

} // namespace tvane
