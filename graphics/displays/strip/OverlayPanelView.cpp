#include "graphics/displays/strip/OverlayPanelView.h"

#include <algorithm>
#include <vector>

#include <QCoreApplication>
#include <QFontMetrics>
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

constexpr int kRow1 = 2;
constexpr int kRow2 = 25;
constexpr int kRowHeight = 20;
constexpr int kTextPad = 6; // room around a label's text
constexpr int kGap = 12;    // between the panel's groups

QLabel* MakeLabel(QWidget* parent, const char* text) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setStyleSheet("color: white;");
    return label;
}

} // namespace

OverlayPanelView::OverlayPanelView(COverlayCtrlPanel& panel, QWidget* parent)
    : QWidget(parent), m_panel(panel) {
    setFocusPolicy(Qt::StrongFocus);
    setMinimumHeight(kHeight);
    m_timeLabel = MakeLabel(this, "Time/Div:");
    m_timeEdit = new QLineEdit(this);
    m_timeEdit->setReadOnly(true);
    m_spin = new tvane::CQmxSpinButton(this);
    m_spin->Create(this, QRect(148, kRow1, 16, kRowHeight), 1055);
    m_spin->SetBuddy(m_timeEdit);
    m_spin->SetRange(-10000, 10000);
    m_spin->SetNotifyWindow(this);
    m_autoscale = new QPushButton(QStringLiteral("Autoscale"), this);
    connect(m_autoscale, &QPushButton::clicked, this, [this] { m_panel.ClickAutoscale(); });
    m_timeEdit->installEventFilter(this);
    m_autoscale->installEventFilter(this);

    // The readouts: y1 and t1, y2 and t2, and the differences, each group a
    // label, the channel and the value on either row.
    const struct {
        const char* labels[2];
        int readouts[4]; // channel and value of the first row, then of the second
    } groups[] = {
        {{"y1:", "t1:"},
         {COverlayCtrlPanel::kY1Channel, COverlayCtrlPanel::kY1Value, COverlayCtrlPanel::kT1Channel,
          COverlayCtrlPanel::kT1Value}},
        {{"y2:", "t2:"},
         {COverlayCtrlPanel::kY2Channel, COverlayCtrlPanel::kY2Value, COverlayCtrlPanel::kT2Channel,
          COverlayCtrlPanel::kT2Value}},
        {{"Delta y:", "Delta t:"},
         {-1, COverlayCtrlPanel::kDeltaY, -1, COverlayCtrlPanel::kDeltaT}},
    };
    for (const auto& g : groups) {
        Group group;
        for (int row = 0; row < 2; ++row) {
            group.labels[row] = MakeLabel(this, g.labels[row]);
            m_labels.push_back(group.labels[row]);
            for (int part = 0; part < 2; ++part) {
                const int readout = g.readouts[row * 2 + part];
                if (readout < 0)
                    continue;
                QLabel* label = MakeLabel(this, "");
                label->setObjectName(QStringLiteral("readout%1").arg(readout));
                m_readouts[static_cast<std::size_t>(readout)] = label;
                (part == 0 ? group.channels : group.values)[row] = label;
            }
        }
        m_groups.push_back(group);
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
    if (QLabel* label = m_readouts[static_cast<std::size_t>(readout)]) {
        label->setText(QString::fromStdString(m_panel.Text(readout)));
        LayOut();
    }
}

void OverlayPanelView::LayOut() {
    // Measured in the panel's font: every label and channel is shown whole
    // as long as the panel is wide enough for them; the values share what is
    // left, the markers' before the differences.
    const QFontMetrics metrics(font());
    const auto width = [&](const QLabel* label) {
        return label && !label->text().isEmpty()
                   ? metrics.horizontalAdvance(label->text()) + kTextPad
                   : 0;
    };
    int x = 4;
    const int timeLabel = width(m_timeLabel);
    m_timeLabel->setGeometry(x, kRow1, timeLabel, kRowHeight);
    x += timeLabel;
    m_timeEdit->setGeometry(x, kRow1, 84, kRowHeight);
    m_spin->setGeometry(x + 84, kRow1, 16, kRowHeight);
    m_autoscale->setGeometry(x, kRow2, 100, kRowHeight + 1);
    x += 100 + kGap;

    // A value with eight digits and its units: what a marker's value needs.
    const int sample = metrics.horizontalAdvance(QStringLiteral("-888.88888 mVdc")) + kTextPad;
    std::vector<int> labelWidths, channelWidths, wanted;
    int fixed = x;
    for (const Group& g : m_groups) {
        const int label = std::max(width(g.labels[0]), width(g.labels[1]));
        const int channel = std::max(width(g.channels[0]), width(g.channels[1]));
        const int value = std::max(width(g.values[0]), width(g.values[1]));
        labelWidths.push_back(label);
        channelWidths.push_back(channel);
        wanted.push_back(value > 0 ? std::max(value, sample) : 0);
        fixed += label + channel + kGap;
    }
    int spare = std::max(0, this->width() - fixed);
    std::vector<int> given(m_groups.size(), 0);
    // The two markers share alike; what one does not need is the other's.
    given[0] = std::min(wanted[0], wanted[1] > 0 ? spare / 2 : spare);
    given[1] = std::min(wanted[1], spare - given[0]);
    given[0] = std::min(wanted[0], spare - given[1]);
    given[2] = std::min(wanted[2], spare - given[0] - given[1]);
    for (std::size_t i = 0; i < m_groups.size(); ++i) {
        const Group& g = m_groups[i];
        for (int row = 0; row < 2; ++row) {
            const int y = row == 0 ? kRow1 : kRow2;
            g.labels[row]->setGeometry(x, y, labelWidths[i], kRowHeight);
            if (g.channels[row])
                g.channels[row]->setGeometry(x + labelWidths[i], y, channelWidths[i], kRowHeight);
            g.values[row]->setGeometry(x + labelWidths[i] + channelWidths[i], y, given[i],
                                       kRowHeight);
        }
        x += labelWidths[i] + channelWidths[i] + given[i] + kGap;
    }
}

void OverlayPanelView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayOut();
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
    draw(m_timeLabel, m_timeLabel->text());
    for (const QLabel* label : m_labels)
        draw(label, label->text());
    for (const QLabel* label : m_readouts)
        draw(label, label->text());
    draw(m_timeEdit, m_timeEdit->text());
    painter.restore();
}
