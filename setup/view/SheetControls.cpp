#include "setup/view/SheetControls.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>

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

bool ReadNumber(const std::string& text, double& value) {
    return tvane::NumericEditModel::ParseReal(text, value);
}

} // namespace sheetui
