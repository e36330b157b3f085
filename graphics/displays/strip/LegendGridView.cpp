#include "graphics/displays/strip/LegendGridView.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "graphics/displays/strip/CLegendGrid.h"
#include "graphics/displays/strip/LegendRules.h"
#include "platform/gridview/GridComboControl.h"
#include "platform/gridview/GridWidgetControl.h"

namespace {

// A right press on a cell's editor (its edit, spin buttons or channel list)
// offers the page's menu as a press on the grid does, in place of the
// editor's own menu.
class RightPressToLegend : public QObject {
public:
    RightPressToLegend(LegendGridView& view, QWidget* watched) : QObject(watched), m_view(view) {
        watched->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::ContextMenu)
            return true;
        if (event->type() != QEvent::MouseButtonPress)
            return false;
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::RightButton)
            return false;
        m_view.PostRightPress(mouse->globalPosition());
        return true;
    }

private:
    LegendGridView& m_view;
};

// The channel list of the legend's second column.
class LegendComboCtrl : public tvane::GridComboControl {
public:
    LegendComboCtrl(LegendGridView& view, CLegendGrid& legend)
        : GridComboControl(view, false), m_legend(legend) {
        new RightPressToLegend(view, ComboBox());
        new RightPressToLegend(view, ComboBox()->view()->viewport());
    }
    void Init(int row, int col) override {
        SetItems(m_legend.ChoiceTexts());
        GridComboControl::Init(row, col);
    }
    bool Store() override {
        SetModify(false);
        return true;
    }

protected:
    void SelectionEnded() override {
        const int row = Row();
        const int index = CurrentIndex();
        SetModify(false);
        // The frame rewrites the row; the list is not stored as text.
        QTimer::singleShot(0, &View(), [this, row, index] { m_legend.ChoiceEnded(row, index); });
    }

private:
    CLegendGrid& m_legend;
};

// The number cells: an edit with two spin buttons that repeat faster while
// held. The units per division change only by the buttons; the reference is
// also typed.
class LegendCellEdit : public tvane::GridWidgetControl {
public:
    LegendCellEdit(LegendGridView& view, CLegendGrid& legend)
        : GridWidgetControl(view), m_legend(legend) {
        auto* editor = new QWidget;
        auto* layout = new QHBoxLayout(editor);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        m_edit = new QLineEdit(editor);
        layout->addWidget(m_edit, 1);
        auto* buttons = new QVBoxLayout;
        buttons->setSpacing(0);
        m_up = new QToolButton(editor);
        m_down = new QToolButton(editor);
        for (QToolButton* b : {m_up, m_down}) {
            b->setFixedSize(14, 10);
            b->setFocusPolicy(Qt::NoFocus);
            buttons->addWidget(b);
        }
        m_up->setArrowType(Qt::UpArrow);
        m_down->setArrowType(Qt::DownArrow);
        layout->addLayout(buttons);
        m_timer.setSingleShot(true);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            const int next = m_legend.SpinTick();
            if (next > 0)
                m_timer.start(next);
        });
        QObject::connect(m_up, &QToolButton::pressed, [this] { Press(true); });
        QObject::connect(m_down, &QToolButton::pressed, [this] { Press(false); });
        for (QToolButton* b : {m_up, m_down})
            QObject::connect(b, &QToolButton::released, [this] { Release(); });
        QObject::connect(m_edit, &QLineEdit::textEdited,
                         [this](const QString& text) { TextEdited(text.toStdString()); });
        AttachEditor(editor);
        for (QWidget* w : std::initializer_list<QWidget*>{m_edit, m_up, m_down})
            new RightPressToLegend(view, w);
    }
    QLineEdit* LineEdit() const { return m_edit; }
    void Press(bool up) {
        if (Col() == CLegendGrid::kReferenceCol && IsModified()) {
            std::string warning;
            m_legend.StoreReference(Row(), GetControlText(), warning);
            SetModify(false);
        }
        m_timer.stop();
        m_legend.SpinPress(Row(), Col(), up);
        m_timer.start(m_legend.RepeatInterval());
    }
    void Release() {
        m_timer.stop();
        m_legend.SpinRelease();
    }
    bool OnValidate() override {
        if (Col() != CLegendGrid::kReferenceCol || !IsModified())
            return true;
        std::string warning;
        if (m_legend.StoreReference(Row(), GetControlText(), warning))
            return true;
        Grid().SetWarningText(warning);
        m_edit->selectAll();
        return false;
    }
    bool Store() override {
        // The frame's answer rewrites the cell.
        SetModify(false);
        return true;
    }
    void Init(int row, int col) override {
        GridWidgetControl::Init(row, col);
        m_edit->setReadOnly(col != CLegendGrid::kReferenceCol);
        SetControlText(m_legend.EditText(row, col));
    }

protected:
    void ShowText(const QString& text) override { m_edit->setText(text); }
    bool EditorKey(QKeyEvent* event) override {
        const QString text = event->text();
        if (Col() == CLegendGrid::kReferenceCol && text.size() == 1 && text[0].unicode() >= 0x20 &&
            !legend::IsReferenceCharacter(char(text[0].unicode())))
            return true; // dropped
        return GridWidgetControl::EditorKey(event);
    }
    void SetActive(bool active) override {
        GridWidgetControl::SetActive(active);
        if (active)
            m_edit->setFocus();
    }

private:
    CLegendGrid& m_legend;
    QLineEdit* m_edit;
    QToolButton* m_up;
    QToolButton* m_down;
    QTimer m_timer;
};

} // namespace

LegendGridView::LegendGridView(CLegendGrid& legend, QWidget* parent)
    : GridView(parent), m_legend(legend) {
    m_legend.Attach(Core());
    Core().RegisterControl(CLegendGrid::kChannelListId,
                           std::make_unique<LegendComboCtrl>(*this, legend));
    Core().RegisterControl(CLegendGrid::kUnitsEditId,
                           std::make_unique<LegendCellEdit>(*this, legend));
    Core().RegisterControl(CLegendGrid::kReferenceEditId,
                           std::make_unique<LegendCellEdit>(*this, legend));
    m_legend.SetChanged([this] {
        ApplyLayout();
        Redraw();
    });
    ResetGrid();
}

LegendGridView::~LegendGridView() {
    m_legend.SetChanged(nullptr);
}

void LegendGridView::RefreshChoices() {
    m_legend.RequestChannels();
    Redraw();
}

void LegendGridView::TakeFocusFromTab(bool shift) {
    int row = 1, col = 0;
    if (!Core().GetCurrentCell(row, col))
        row = 1;
    m_legend.Tab(shift, false, row, col);
    setFocus(Qt::TabFocusReason);
    SetCurrentCell(row, col);
}

bool LegendGridView::ProcessKey(QKeyEvent* event) {
    if (event->key() != Qt::Key_Tab && event->key() != Qt::Key_Backtab)
        return false;
    const bool shift =
        event->key() == Qt::Key_Backtab || (event->modifiers() & Qt::ShiftModifier) != 0;
    int row = 1, col = 2;
    Core().GetCurrentCell(row, col);
    if (m_legend.Tab(shift, true, row, col))
        MoveCurrentCell(row, col);
    return true;
}

void LegendGridView::PostToParent(QMouseEvent* event) {
    if (QWidget* parent = parentWidget())
        QCoreApplication::postEvent(parent,
                                    new QMouseEvent(event->type(), mapToParent(event->position()),
                                                    event->globalPosition(), event->button(),
                                                    event->buttons(), event->modifiers()));
}

void LegendGridView::PostRightPress(const QPointF& global) {
    if (QWidget* parent = parentWidget())
        QCoreApplication::postEvent(
            parent, new QMouseEvent(QEvent::MouseButtonPress, parent->mapFromGlobal(global), global,
                                    Qt::RightButton, Qt::RightButton, Qt::NoModifier));
}

void LegendGridView::mousePressEvent(QMouseEvent* event) {
    GridView::mousePressEvent(event);
    int row = 0, col = 0;
    if (event->button() == Qt::LeftButton && HitTestWindow(event->position().toPoint(), row, col))
        m_legend.ClickCell(row, col);
    PostToParent(event);
}

void LegendGridView::mouseReleaseEvent(QMouseEvent* event) {
    GridView::mouseReleaseEvent(event);
    PostToParent(event);
}

void LegendGridView::mouseDoubleClickEvent(QMouseEvent* event) {
    GridView::mouseDoubleClickEvent(event);
    PostToParent(event);
}

void LegendGridView::ShowWarning(const std::string& text) {
    GridView::ShowWarning(text);
}
