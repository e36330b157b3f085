#pragma once
#include <vector>

namespace tvane {

// Context help by id. The program shows its help pages; tests record the ids.
class IHelp {
public:
    virtual ~IHelp() = default;
    virtual void ShowContext(unsigned helpId) = 0;
    virtual void ShowContents() = 0;
};

IHelp& Help();
void SetHelp(IHelp* help); // nullptr restores the one that does nothing

class RecordingHelp final : public IHelp {
public:
    void ShowContext(unsigned helpId) override { shown.push_back(helpId); }
    void ShowContents() override { shown.push_back(0); }
    std::vector<unsigned> shown; // 0 stands for the contents
};

} // namespace tvane
