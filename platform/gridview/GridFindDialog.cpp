#include "platform/gridview/GridFindDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tvane {

GridFindDialog::GridFindDialog(const QString& text, QWidget* parent) : QDialog(parent) {
    setWindowTitle("Find");
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);

    auto* label = new QLabel("Fi&nd what:", this);
    m_text = new QLineEdit(text, this);
    label->setBuddy(m_text);
    m_matchCase = new QCheckBox("Match &case", this);
    auto* direction = new QGroupBox("Direction", this);
    m_up = new QRadioButton("&Up", direction);
    m_down = new QRadioButton("&Down", direction);
    m_down->setChecked(true);
    auto* directionLayout = new QHBoxLayout(direction);
    directionLayout->addWidget(m_up);
    directionLayout->addWidget(m_down);

    m_findNext = new QPushButton("&Find Next", this);
    m_findNext->setDefault(true);
    auto* cancel = new QPushButton("Cancel", this);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_findNext);
    buttons->addWidget(cancel);
    buttons->addStretch();

    auto* layout = new QGridLayout(this);
    layout->addWidget(label, 0, 0);
    layout->addWidget(m_text, 0, 1, 1, 2);
    layout->addWidget(m_matchCase, 1, 0, 1, 2);
    layout->addWidget(direction, 1, 2);
    layout->addLayout(buttons, 0, 3, 2, 1);

    auto enable = [this] { m_findNext->setEnabled(!m_text->text().isEmpty()); };
    connect(m_text, &QLineEdit::textChanged, this, enable);
    enable();
    connect(m_findNext, &QPushButton::clicked, this, [this] { emit findNext(Options()); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::close);
}

GridCore::FindOptions GridFindDialog::Options() const {
    return {m_text->text().toStdString(), m_matchCase->isChecked(), m_down->isChecked()};
}

} // namespace tvane
