#include "setup/view/SheetControls.h"

#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStyle>

#include "platform/controls/NumericEditModel.h"
#include "platform/widgets/QtText.h"

using tvane::ToQString;
using tvane::ToUtf8;

namespace sheetui {

bool SelectPrefix(QComboBox* list, const std::string& text) {
    if (text.empty())
        return false;
    const QString wanted = ToQString(text);
    for (int i = 0; i < list->count(); ++i)
        if (list->itemText(i).startsWith(wanted, Qt::CaseInsensitive)) {
            list->setCurrentIndex(i);
            return true;
        }
    return false;
}

bool SelectWhole(QComboBox* list, const std::string& text) {
    const QString wanted = ToQString(text);
    for (int i = 0; i < list->count(); ++i)
        if (list->itemText(i).compare(wanted, Qt::CaseInsensitive) == 0) {
            list->setCurrentIndex(i);
            return true;
        }
    return false;
}

std::string Selected(const QComboBox* list) {
    return list->currentIndex() < 0 ? std::string() : ToUtf8(list->currentText());
}

std::string Text(const QWidget* edit) {
    if (const auto* line = qobject_cast<const QLineEdit*>(edit))
        return ToUtf8(line->text());
    if (const auto* plain = qobject_cast<const QPlainTextEdit*>(edit))
        return ToUtf8(plain->toPlainText());
    return {};
}

void SetText(QWidget* edit, const std::string& text) {
    if (auto* line = qobject_cast<QLineEdit*>(edit))
        line->setText(ToQString(text));
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(edit))
        plain->setPlainText(ToQString(text));
}

void Fill(QComboBox* list, const std::vector<std::string>& items) {
    list->clear();
    for (const std::string& item : items)
        list->addItem(ToQString(item));
    list->setCurrentIndex(-1);
}

void FillChannels(QComboBox* list, const std::vector<ISheetDocument::Channel>& channels) {
    list->clear();
    for (const auto& channel : channels)
        list->addItem(ToQString(ChannelItemText(channel.number, channel.name)),
                      static_cast<qlonglong>(channel.number));
    list->setCurrentIndex(-1);
}

void Refuse(const std::string& message, const std::string& title, tvane::MsgIcon icon,
            QWidget* focus) {
    tvane::ShowMessage(message, tvane::MsgButtons::Ok, icon, 0, title);
    if (focus != nullptr)
        focus->setFocus();
}

namespace {

class SpinFollower final : public QObject {
public:
    SpinFollower(QLineEdit* edit, QWidget* spin) : QObject(edit), m_edit(edit), m_spin(spin) {
        const int width = spin->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 1;
        edit->setTextMargins(0, 0, width - 2, 0);
        edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(edit->text()) + width + 12);
        Place();
    }
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::Hide:
        case QEvent::EnabledChange:
            Place();
            break;
        default:
            break;
        }
        return false;
    }

private:
    void Place() {
        const QRect area = m_edit->geometry();
        const int width = m_spin->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 1;
        m_spin->setGeometry(area.right() + 1 - width, area.top(), width, area.height());
        m_spin->setEnabled(m_edit->isEnabled());
        m_spin->setVisible(m_edit->isVisibleTo(m_edit->parentWidget()));
        m_spin->raise();
    }
    QLineEdit* m_edit;
    QWidget* m_spin;
};

} // namespace

void FollowBuddy(QWidget* edit, QWidget* spin) {
    auto* line = qobject_cast<QLineEdit*>(edit);
    if (line == nullptr || spin == nullptr)
        return;
    line->installEventFilter(new SpinFollower(line, spin));
}

bool ReadNumber(const std::string& text, double& value) {
    return tvane::NumericEditModel::ParseReal(text, value);
}

} // namespace sheetui
