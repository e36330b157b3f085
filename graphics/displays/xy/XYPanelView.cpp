#include "graphics/displays/xy/XYPanelView.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

#include "graphics/displays/xy/CXYCtrlPanel.h"
#include "graphics/view/QtGraphDC.h"
#include "platform/chartview/ChartQt.h"
#include "platform/widgets/CCtrlPanelBar.h"
#include "platform/widgets/QtText.h"

namespace {

QRect ControlRect(const GRect& r) {
    return QRect(r.left, r.top, r.Width(), r.Height());
}

} // namespace

XYPanelView::XYPanelView(CXYCtrlPanel& panel, QWidget* parent) : QWidget(parent), m_panel(panel) {
    setObjectName(QStringLiteral("XYCtrlPanel"));
    // The panel's font, and the controls laid out in its dialog units.
    if (!m_panel.GetFont().GetLogFont().FaceName().empty())
        setFont(LogFontToQFont(m_panel.GetFont().GetLogFont()));
    const QFontMetrics metrics(font());
    const CXYCtrlPanel::BaseUnits units = CXYCtrlPanel::UnitsOf(
        metrics.horizontalAdvance(QString::fromLatin1(CXYCtrlPanel::Letters())), metrics.height());
    setMinimumHeight(CXYCtrlPanel::Height(units));
    m_bar = new CCtrlPanelBar(this);
    m_bar->setObjectName(QStringLiteral("2246"));
    for (const CXYCtrlPanel::Control& c : CXYCtrlPanel::Layout()) {
        QWidget* control = nullptr;
        switch (c.kind) {
        case CXYCtrlPanel::kButton:
            control = m_autoscale = new QPushButton(QString::fromUtf8(c.text), m_bar);
            connect(m_autoscale, &QPushButton::clicked, this, [this] { m_panel.ClickAutoscale(); });
            break;
        case CXYCtrlPanel::kCheckBox: {
            auto* box = new QCheckBox(QString::fromUtf8(c.text), m_bar);
            box->setAutoFillBackground(true);
            (c.id == 1100 ? m_marker : m_leastSquares) = box;
            control = box;
            break;
        }
        case CXYCtrlPanel::kLabel:
        case CXYCtrlPanel::kReadout: {
            auto* label = new QLabel(
                c.kind == CXYCtrlPanel::kLabel ? QString::fromUtf8(c.text) : QString(), m_bar);
            // The static controls paint their own face, as dialog statics do.
            label->setAutoFillBackground(true);
            label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            if (c.kind == CXYCtrlPanel::kReadout)
                m_readouts[c.readout] = label;
            control = label;
            break;
        }
        }
        control->setObjectName(QString::number(c.id));
        control->setGeometry(ControlRect(CXYCtrlPanel::ToPixels(c.rect, units)));
        control->setFont(font());
    }
    // The boxes show the states kept with the panel (after a load too).
    m_marker->setChecked(m_panel.GetMarkerCheck());
    m_leastSquares->setChecked(m_panel.GetLeastSquaresCheck());
    connect(m_marker, &QCheckBox::clicked, this, [this](bool on) { m_panel.ClickMarker(on); });
    connect(m_leastSquares, &QCheckBox::clicked, this,
            [this](bool on) { m_panel.ClickLeastSquares(on); });
    m_bar->Create(this);
    m_panel.SetTextChanged([this](int readout) { Show(readout); });
    for (int r = 0; r < CXYCtrlPanel::kReadouts; ++r)
        Show(r);
}

XYPanelView::~XYPanelView() {
    m_panel.SetTextChanged(nullptr);
}

QLabel* XYPanelView::Readout(int readout) const {
    const auto it = m_readouts.find(readout);
    return it == m_readouts.end() ? nullptr : it->second;
}

void XYPanelView::Show(int readout) {
    if (readout < 0) {
        m_marker->setChecked(m_panel.GetMarkerCheck());
        m_leastSquares->setChecked(m_panel.GetLeastSquaresCheck());
        return;
    }
    if (QLabel* label = Readout(readout))
        label->setText(tvane::ToQString(m_panel.Text(readout)));
}

void XYPanelView::resizeEvent(QResizeEvent*) {
    m_bar->setGeometry(rect());
}

void XYPanelView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect().adjusted(-1, -1, 1, 1), tvane::chart::ToQColor(m_panel.GetColour()));
}

void XYPanelView::Forward(QMouseEvent* event) {
    if (QWidget* parent = parentWidget())
        QCoreApplication::postEvent(parent,
                                    new QMouseEvent(event->type(), mapToParent(event->position()),
                                                    event->globalPosition(), event->button(),
                                                    event->buttons(), event->modifiers()));
}

void XYPanelView::mousePressEvent(QMouseEvent* event) {
    Forward(event);
}

void XYPanelView::mouseReleaseEvent(QMouseEvent* event) {
    Forward(event);
}
