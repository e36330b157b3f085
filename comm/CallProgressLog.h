#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "comm/ICallProgressDialog.h"

namespace tvane::comm {

// What a windowless dialog shows, shared with whoever watches it (tests).
struct CallProgressRecord {
    std::vector<std::string> lines;
    int opened = 0;
    int closed = 0;
    bool cancel = false;                            // pressed, not yet taken
    std::function<void(const std::string&)> onLine; // runs after each line
};

// The windowless dialog: it keeps its lines in a record.
class CallProgressLog final : public ICallProgressDialog {
public:
    explicit CallProgressLog(std::shared_ptr<CallProgressRecord> record = nullptr);
    void AddLine(const std::string& text) override;
    bool IsOpen() const override { return m_open; }
    void Close() override;
    bool TakeCancel() override;

private:
    std::shared_ptr<CallProgressRecord> m_record;
    bool m_open = true;
};

} // namespace tvane::comm
