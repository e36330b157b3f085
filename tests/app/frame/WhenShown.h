#pragma once
// Answers a modal window of the program from the event loop that shows it.
#include <functional>

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

namespace tvane::test {

// Hands the first visible top-level window of type T to answer once it is up;
// shown (when given) counts the windows answered. With every, each such window
// that comes up while the tries last is answered. A handler belongs to the test
// that installed it: once that test has ended it answers nothing more, so it can
// neither touch the ended test's locals nor answer a later test's windows.
template <class T>
void WhenShown(std::function<void(T&)> answer, int* shown = nullptr, bool every = false,
               int triesLeft = 300) {
    const ::testing::TestInfo* owner = ::testing::UnitTest::GetInstance()->current_test_info();
    QTimer::singleShot(10, [answer = std::move(answer), shown, every, triesLeft, owner]() mutable {
        if (::testing::UnitTest::GetInstance()->current_test_info() != owner)
            return;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* window = dynamic_cast<T*>(w); window && window->isVisible()) {
                if (shown)
                    ++*shown;
                answer(*window);
                if (!every)
                    return;
                break;
            }
        if (triesLeft > 0)
            WhenShown<T>(std::move(answer), shown, every, triesLeft - 1);
    });
}

} // namespace tvane::test
