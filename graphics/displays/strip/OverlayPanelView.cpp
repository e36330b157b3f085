#include "graphics/displays/strip/OverlayPanelView.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>

#include "graphics/displays/strip/COverlayCtrlPanel.h"
#include "platform/chartview/ChartQt.h"
#include "platform/controls/SpinButtonModel.h"
#include "platform/widgets/CQmxSpinButton.h"

namespace {

QLabel* MakeLabel(QWidget* parent, const char* text, int x, int y, int w) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setGeometry(x, y, w, 20);
    label->setStyleSheet("color: white;");
    return label;
}

} // namespace

OverlayPanelView::OverlayPanelView(COverlayCtrlPanel& panel, QWidget* parent)
    : QWidget(parent), m_panel(panel) {
    setFocusPolicy(Qt::StrongFocus);
    setMinimumHeight(kHeight);
    m_labels.push_back(MakeLabel(this, "Time/Div:", 4, 2, 60));
    m_timeEdit = new QLineEdit(this);
    m_timeEdit->setReadOnly(true);
    m_timeEdit->setGeometry(64, 2, 84, 20);
    m_spin = new tvane::CQmxSpinButton(this);
    m_spin->Create(this, QRect(148, 2, 16, 20), 1055);
    m_spin->SetBuddy(m_timeEdit);
    m_spin->SetRange(-10000, 10000);
    m_spin->SetNotifyWindow(this);
    m_autoscale = new QPushButton(QStringLiteral("Autoscale"), this);
    m_autoscale->setGeometry(64, 25, 100, 21);
    connect(m_autoscale, &QPushButton::clicked, this, [this] { m_panel.ClickAutoscale(); });
    m_timeEdit->installEventFilter(this);
    m_autoscale->installEventFilter(this);

    // The readouts: y1 and t1, y2 and t2, and the differences.
    struct Place {
        int readout;
        int x, y, w;
    };
    m_labels.push_back(MakeLabel(this, "y1:", 176, 2, 22));
    m_labels.push_back(MakeLabel(this, "t1:", 176, 25, 22));
    m_labels.push_back(MakeLabel(this, "y2:", 420, 2, 22));
    m_labels.push_back(MakeLabel(this, "t2:", 420, 25, 22));
    m_labels.push_back(MakeLabel(this, "Delta y:", 664, 2, 50));
    m_labels.push_back(MakeLabel(this, "Delta t:", 664, 25, 50));
    const Place places[] = {
        {COverlayCtrlPanel::kY1Channel, 198, 2, 50},  {COverlayCtrlPanel::kY1Value, 248, 2, 170},
        {COverlayCtrlPanel::kT1Channel, 198, 25, 50}, {COverlayCtrlPanel::kT1Value, 248, 25, 170},
        {COverlayCtrlPanel::kY2Channel, 442, 2, 50},  {COverlayCtrlPanel::kY2Value, 492, 2, 170},
        {COverlayCtrlPanel::kT2Channel, 442, 25, 50}, {COverlayCtrlPanel::kT2Value, 492, 25, 170},
        {COverlayCtrlPanel::kDeltaY, 714, 2, 150},    {COverlayCtrlPanel::kDeltaT, 714, 25, 150}};
    for (const Place& p : places) {
        auto* label = MakeLabel(this, "", p.x, p.y, p.w);
        label->setObjectName(QStringLiteral("readout%1").arg(p.readout));
        m_readouts[static_cast<std::size_t>(p.readout)] = label;
    }
    setTabOrder(m_timeEdit, m_autoscale);
    m_panel.SetTextChanged([this](int readout) { ShowText(readout); });
    for (int r = -1; r < COverlayCtrlPanel::kReadouts; ++r)
        ShowText(r);
}

OverlayPanelView::~OverlayPanelView() {
    m_panel.SetTextChanged(nullptr);
}

void OverlayPanelView::ShowText(int readout) {
    if (readout < 0) {
        m_timeEdit->setText(QString::fromStdString(m_panel.TimePerDivisionText()));
        return;
    }
    if (QLabel* label = m_readouts[static_cast<std::size_t>(readout)])
        label->setText(QString::fromStdString(m_panel.Text(readout)));
}

long OverlayPanelView::OnMessage(const tvane::Message& message) {
    if (message.id != tvane::CQmxSpinButton::UpDownSpinMessage() || message.data == nullptr)
        return 0;
    const auto* step = static_cast<const tvane::SpinNotification*>(message.data);
    m_panel.Spin(step->delta > 0 ? COverlayCtrlPanel::kSpinUp : COverlayCtrlPanel::kSpinDown);
    return 1;
}

bool OverlayPanelView::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            const bool shift =
                key->key() == Qt::Key_Backtab || (key->modifiers() & Qt::ShiftModifier) != 0;
            const auto from = watched == m_timeEdit ? COverlayCtrlPanel::kFocusEdit
                                                    : COverlayCtrlPanel::kFocusButton;
            switch (m_panel.TabFrom(from, shift)) {
            case COverlayCtrlPanel::kFocusEdit:
                m_timeEdit->setFocus(Qt::TabFocusReason);
                break;
            case COverlayCtrlPanel::kFocusButton:
                m_autoscale->setFocus(Qt::TabFocusReason);
                break;
            default:
                m_panel.TabOut();
                break;
            }
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void OverlayPanelView::focusInEvent(QFocusEvent*) {
    m_timeEdit->setFocus(Qt::TabFocusReason);
}

void OverlayPanelView::mousePressEvent(QMouseEvent* event) {
    if (QWidget* parent = parentWidget())
        QCoreApplication::postEvent(parent,
                                    new QMouseEvent(event->type(), mapToParent(event->position()),
                                                    event->globalPosition(), event->button(),
                                                    event->buttons(), event->modifiers()));
}

void OverlayPanelView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect().adjusted(-1, -1, 1, 1), tvane::chart::ToQColor(m_panel.GetColour()));
}

void OverlayPanelView::DrawTo(QPainter& painter, const QRect& rect) const {
    painter.save();
    painter.fillRect(rect, QColor(192, 192, 192));
    painter.setPen(Qt::black);
    painter.setFont(font());
    auto draw = [&](const QWidget* w, const QString& text) {
        const QRect g = w->geometry().translated(rect.topLeft());
        if (rect.intersects(g))
            painter.drawText(g, Qt::AlignLeft | Qt::AlignVCenter, text);
    };
    for (const QLabel* label : m_labels)
        draw(label, label->text());
    for (const QLabel* label : m_readouts)
        draw(label, label->text());
    draw(m_timeEdit, m_timeEdit->text());
    painter.restore();
}
