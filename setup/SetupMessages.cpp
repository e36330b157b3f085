#include "setup/SetupMessages.h"

namespace setupmsg {

using tvane::MessageBus;
using tvane::MessageId;

MessageId FuncChanged() {
    static const MessageId id = MessageBus::Register("FUNCCHANGED");
    return id;
}

MessageId ResChanged() {
    static const MessageId id = MessageBus::Register("RESCHANGED");
    return id;
}

MessageId SettingChanged() {
    static const MessageId id = MessageBus::Register("SETTINGCHANGED");
    return id;
}

MessageId FillComboBox() {
    static const MessageId id = MessageBus::Register("FILLCOMBOBOX");
    return id;
}

MessageId DispPopup() {
    static const MessageId id = MessageBus::Register("DISPPOPUP");
    return id;
}

MessageId OutOfSync() {
    static const MessageId id = MessageBus::Register("OUTOFSYNC");
    return id;
}

MessageId ValidateExternal() {
    static const MessageId id = MessageBus::Register("VALIDATEEXTERNAL");
    return id;
}

} // namespace setupmsg
