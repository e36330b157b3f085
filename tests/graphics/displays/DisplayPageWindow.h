#pragma once
#include <memory>

#include <QWidget>

#include "graphics/view/CGraphFrameWnd.h"
#include "tests/graphics/GraphFakes.h"

namespace displaytest {

// A graphics page as a plain widget whose displays get the program's own
// frame windows.
class DisplayPageWindow : public graphicstest::FakeViewWindow {
public:
    DisplayPageWindow() {
        page.resize(800, 600);
        client = {0, 0, 800, 600};
    }
    std::unique_ptr<IGraphFrameWindow> CreateFrameWindow(CGraphFrame& frame, const GRect& r,
                                                         int id) override {
        return std::make_unique<CGraphFrameWnd>(frame, &page, r, id);
    }
    QWidget page;
};

} // namespace displaytest
