#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "graphics/DisplayFamily.h"
#include "graphics/displays/text/CTextBox.h"

namespace graphicstest {

class FakeTextBoxWindow : public ITextBoxWindow {
public:
    void MoveWindow(const GRect& r, bool) override { rect = r; }
    std::string GetText() const override { return text; }
    void SetText(const std::string& t) override { text = t; }
    std::vector<std::string> GetLines() const override {
        std::vector<std::string> lines(1);
        for (char c : text)
            if (c == '\n')
                lines.emplace_back();
            else
                lines.back() += c;
        return lines;
    }
    void SetFont(const LOGFONT& f) override { font = f; }
    void SetColors(std::uint32_t b, std::uint32_t t) override {
        back = b;
        fore = t;
    }
    void Redraw() override { ++redraws; }
    GRect GetRectInFrame() const override { return rect; }
    void Show(bool show) override { shown = show; }
    void SetFocus() override { ++focused; }
    void SelectAll() override { ++selectedAll; }

    GRect rect;
    std::string text;
    LOGFONT font;
    std::uint32_t back = 0, fore = 0;
    int redraws = 0;
    bool shown = true;
    int focused = 0;
    int selectedAll = 0;
};

// The text boxes' windows of the test's displays while it lives: fakes that
// remember where they were put, the newest in textBox.
class FakeTextWindows : public ITextBoxWindows {
public:
    std::unique_ptr<ITextBoxWindow> CreateTextBox(IGraphFrameWindow&, CTextBox&,
                                                  const GRect& r) override {
        if (!canCreate)
            return nullptr;
        auto box = std::make_unique<FakeTextBoxWindow>();
        box->rect = r;
        textBox = box.get();
        return box;
    }

    bool canCreate = true;
    FakeTextBoxWindow* textBox = nullptr;

private:
    displays::Windows<ITextBoxWindows>::Scoped m_scope{this};
};

} // namespace graphicstest
