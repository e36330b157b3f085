#pragma once
#include <string>
#include <vector>

#include "platform/ui/Prompter.h"
#include "setup/ISheetDocument.h"

class QComboBox;
class QWidget;

// The small pieces every page of the setup editor's sheets repeats.
namespace sheetui {

// Selects the first item that begins with the text, ignoring case; an empty or
// unmatched text selects nothing and keeps the selection. True when selected.
bool SelectPrefix(QComboBox* list, const std::string& text);
// Selects the item that equals the text, ignoring case; false when none does.
bool SelectWhole(QComboBox* list, const std::string& text);
// The selected item's text, "" when none.
std::string Selected(const QComboBox* list);
std::string Text(const QWidget* edit);
void SetText(QWidget* edit, const std::string& text);
void Fill(QComboBox* list, const std::vector<std::string>& items);
// "<number>name" items of the channels.
void FillChannels(QComboBox* list, const std::vector<ISheetDocument::Channel>& channels);
// A refusal in a box with OK; the control (when given) takes the focus.
void Refuse(const std::string& message, const std::string& title, tvane::MsgIcon icon,
            QWidget* focus = nullptr);
// Keeps a spin button over the right end of its edit box wherever the page's
// layout puts the box, enabled and shown with it, and makes the box wide
// enough for its text beside the button.
void FollowBuddy(QWidget* edit, QWidget* spin);
// Reads a number as the dialogs do: blanks round it, nothing else.
bool ReadNumber(const std::string& text, double& value);

} // namespace sheetui
