#include "platform/gridview/GridComboControl.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionComboBox>

#include "platform/core/CaseInsensitive.h"
#include "platform/gridview/GridView.h"

namespace tvane {

GridComboControl::GridComboControl(GridView& view, bool editable)
    : GridWidgetControl(view), m_combo(new QComboBox(view.viewport())), m_editable(editable) {
    m_combo->setEditable(editable);
    m_combo->setInsertPolicy(QComboBox::NoInsert);
    m_combo->setMaxVisibleItems(12);
    QObject::connect(m_combo, &QComboBox::activated, m_combo, [this](int index) {
        if (m_filling)
            return;
        TextEdited(m_combo->itemText(index).toUtf8().toStdString());
        SelectionEnded();
    });
    if (editable) {
        QObject::connect(m_combo->lineEdit(), &QLineEdit::textEdited, m_combo,
                         [this](const QString& text) { TextEdited(text.toUtf8().toStdString()); });
    }
    AttachEditor(m_combo);
}

void GridComboControl::SetItems(const std::vector<std::string>& items) {
    m_filling = true;
    const QSignalBlocker block(m_combo);
    const QString text = m_editable ? m_combo->currentText() : QString();
    m_combo->clear();
    for (const std::string& item : items)
        m_combo->addItem(QString::fromUtf8(item.c_str()));
    m_combo->setCurrentIndex(-1);
    if (m_editable)
        m_combo->setEditText(text);
    m_filling = false;
}

std::vector<std::string> GridComboControl::Items() const {
    std::vector<std::string> items;
    for (int i = 0; i < m_combo->count(); ++i)
        items.push_back(m_combo->itemText(i).toUtf8().toStdString());
    return items;
}

int GridComboControl::SelectText(const std::string& text) {
    int found = -1;
    if (!text.empty()) {
        for (int i = 0; i < m_combo->count() && found < 0; ++i) {
            const std::string item = m_combo->itemText(i).toUtf8().toStdString();
            if (item.size() >= text.size() && EqualsNoCase(item.substr(0, text.size()), text))
                found = i;
        }
    }
    const QSignalBlocker block(m_combo);
    m_combo->setCurrentIndex(found);
    if (m_editable)
        m_combo->setEditText(QString::fromUtf8(GetControlText().c_str()));
    return found;
}

int GridComboControl::CurrentIndex() const {
    return m_combo->currentIndex();
}

void GridComboControl::ShowDropDown() {
    SetActive(true);
    m_combo->showPopup();
}

void GridComboControl::Clicked(const QPoint& pos, const QRect& cell) {
    // The list button opens the list; elsewhere the cell becomes active.
    if (pos.x() >= cell.right() - cell.height())
        ShowDropDown();
    else
        SetActive(true);
}

void GridComboControl::ApplyStyle(const GridStyle& style) {
    if (style.choiceList)
        SetItems(SplitChoiceList(*style.choiceList));
    if (m_editable && style.maxLength)
        m_combo->lineEdit()->setMaxLength(*style.maxLength);
    m_combo->setFont(View().CellFont(style));
    SelectText(GetControlText());
}

void GridComboControl::ShowText(const QString& text) {
    SelectText(text.toUtf8().toStdString());
}

bool GridComboControl::EditorKey(QKeyEvent* event) {
    if (event->key() == Qt::Key_F4 ||
        ((event->modifiers() & Qt::AltModifier) && event->key() == Qt::Key_Down)) {
        m_combo->showPopup();
        return true;
    }
    return GridWidgetControl::EditorKey(event);
}

void GridComboControl::PaintOver(QPainter& painter, const QRect& rect, int, int, const GridStyle&,
                                 const QString&, bool current) const {
    if (!current)
        return;
    QStyleOptionComboBox option;
    option.initFrom(m_combo);
    const int width = std::min(rect.height(), 18);
    option.rect = QRect(rect.right() - width + 1, rect.top(), width, rect.height());
    option.subControls = QStyle::SC_ComboBoxArrow;
    option.state |= QStyle::State_Enabled;
    painter.save();
    painter.fillRect(option.rect, m_combo->palette().button());
    m_combo->style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &option, &painter, m_combo);
    painter.restore();
}

} // namespace tvane
