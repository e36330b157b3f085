#pragma once
#include "platform/ui/MessageBus.h"

// The registered messages between the setup grid's cell controls and its
// view. Each carries the grid row in wParam. FUNCCHANGED, RESCHANGED,
// SETTINGCHANGED and OUTOFSYNC are posted, so they are handled after the
// control's own notification; DISPPOPUP is sent; FILLCOMBOBOX is posted when
// the current cell moves and sent by the restore commands; VALIDATEEXTERNAL is
// called directly by the document before a download.
namespace setupmsg {
// text: the chosen function.
tvane::MessageId FuncChanged();
// text: the chosen resolution.
tvane::MessageId ResChanged();
// text: the new range or alarm test, or empty after a check box click.
tvane::MessageId SettingChanged();
// lParam: the grid column.
tvane::MessageId FillComboBox();
// wParam: the menu resource (200 "Channel", 151 "SetupView").
tvane::MessageId DispPopup();
// wParam: the grid row or 0 for all; lParam: 1 edited after data was recorded.
tvane::MessageId OutOfSync();
tvane::MessageId ValidateExternal();

inline constexpr long long kChannelMenu = 200;
inline constexpr long long kSetupViewMenu = 151;
} // namespace setupmsg
