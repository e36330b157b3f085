#include "graphics/view/CGraphicsWindowsDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "graphics/CGraphFrame.h"
#include "graphics/CGraphView.h"
#include "platform/widgets/QtText.h"

CGraphicsWindowsDialog::CGraphicsWindowsDialog(CGraphView& view, QWidget* parent)
    : QDialog(parent), m_view(view) {
    setWindowTitle("Graphics Windows");
    auto* label = new QLabel("&Select graphic:", this);
    m_list = new QListWidget(this);
    m_list->setObjectName("1222");
    label->setBuddy(m_list);
    m_activate = new QPushButton("&Activate", this);
    m_activate->setDefault(true);
    m_delete = new QPushButton("&Delete", this);
    auto* close = new QPushButton("Close", this);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_activate);
    buttons->addWidget(m_delete);
    buttons->addWidget(close);
    buttons->addStretch();
    auto* left = new QVBoxLayout;
    left->addWidget(label);
    left->addWidget(m_list);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addLayout(buttons);

    for (int i = 0; i < m_view.GetFrameCount(); ++i) {
        CGraphFrame* frame = nullptr;
        std::string title;
        if (!m_view.GetFrameAt(i, frame, title) || !frame)
            continue;
        auto* item = new QListWidgetItem(tvane::ToQString(title), m_list);
        item->setData(Qt::UserRole, QVariant::fromValue<void*>(frame));
    }
    if (m_list->count() > 0)
        m_list->setCurrentRow(0);
    connect(m_activate, &QPushButton::clicked, this, &CGraphicsWindowsDialog::OnActivate);
    connect(m_delete, &QPushButton::clicked, this, &CGraphicsWindowsDialog::OnDelete);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

void CGraphicsWindowsDialog::OnActivate() {
    if (QListWidgetItem* item = m_list->currentItem())
        m_view.SelectFrame(static_cast<CGraphFrame*>(item->data(Qt::UserRole).value<void*>()));
    accept();
}

void CGraphicsWindowsDialog::OnDelete() {
    const int row = m_list->currentRow();
    QListWidgetItem* item = m_list->currentItem();
    if (!item)
        return;
    m_view.RemoveFrame(static_cast<CGraphFrame*>(item->data(Qt::UserRole).value<void*>()));
    delete m_list->takeItem(row);
    if (m_list->count() > 0)
        m_list->setCurrentRow(std::min(row, m_list->count() - 1));
}
