#include <filesystem>

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

#include "platform/widgets/CCtrlPanelBar.h"
#include "tests/support/QtTestSupport.h"

namespace {

// A child control that keeps the initial value it is told.
class PanelControl final : public QCheckBox {
public:
    using QCheckBox::QCheckBox;
    int value = -1;

protected:
    bool event(QEvent* e) override {
        if (e->type() == CCtrlPanelBar::CtrlPanelInitEvent::Type()) {
            value = static_cast<CCtrlPanelBar::CtrlPanelInitEvent*>(e)->Value();
            return true;
        }
        return QCheckBox::event(e);
    }
};

// The frame that holds the bar: records what reaches it.
class Frame final : public QWidget {
public:
    int key = 0;
    QPoint press;
    int presses = 0;

protected:
    void keyPressEvent(QKeyEvent* e) override { key = e->key(); }
    void mousePressEvent(QMouseEvent* e) override {
        press = e->position().toPoint();
        ++presses;
    }
};

TEST(CtrlPanelBar, TellsItsChildrenTheInitialValueAndPassesInputToItsFrame) {
    tvane::test::TestApp();
    Frame frame;
    frame.resize(300, 120);
    auto* bar = new CCtrlPanelBar;
    auto* layout = new QHBoxLayout(bar);
    auto* a = new PanelControl("&Overlay", bar);
    auto* b = new PanelControl("&Grid", bar);
    layout->addWidget(new QLabel("Panel:", bar));
    layout->addWidget(a);
    layout->addWidget(b);
    ASSERT_TRUE(bar->Create(&frame, 7));
    EXPECT_EQ(bar->parentWidget(), &frame);
    EXPECT_EQ(a->value, 7);
    EXPECT_EQ(b->value, 7);
    bar->setGeometry(0, 40, 300, 40);
    frame.show();

    QTest::keyClick(bar, Qt::Key_F5);
    EXPECT_EQ(frame.key, Qt::Key_F5);
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(frame.presses, 1);
    EXPECT_EQ(frame.press, QPoint(5, 45));

    CCtrlPanelBar plain(&frame);
    auto* c = new PanelControl("x", &plain);
    plain.Create(&frame);
    EXPECT_EQ(c->value, -1) << "no initial value, nothing told";

    EXPECT_TRUE(tvane::test::SaveArtifact(frame, "ctrl_panel_bar.png"));
}

} // namespace
