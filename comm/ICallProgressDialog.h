#pragma once
#include <functional>
#include <memory>
#include <string>

#include "comm/CCommInterface.h"
#include "comm/DialogOwner.h"

namespace tvane::comm {

// The modeless "Dial Status" window the modem transport shows while a call is set
// up: one line per step, and a Cancel button whose press the dialer takes.
class ICallProgressDialog {
public:
    virtual ~ICallProgressDialog() = default;
    virtual void AddLine(const std::string& text) = 0;
    virtual bool IsOpen() const = 0;
    // The dialog goes (what hanging up asks of it).
    virtual void Close() = 0;
    // True once after the user pressed Cancel.
    virtual bool TakeCancel() = 0;
};

// Makes the dialog over owner. The program installs one with a window; without it
// the steps are only recorded.
using CallProgressFactory = std::function<std::unique_ptr<ICallProgressDialog>(WindowHandle)>;
std::unique_ptr<ICallProgressDialog> CreateCallProgressDialog(WindowHandle owner);
// An empty factory restores the windowless one.
void SetCallProgressFactory(CallProgressFactory factory);

} // namespace tvane::comm
