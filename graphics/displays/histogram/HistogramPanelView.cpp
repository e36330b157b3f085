#include "graphics/displays/histogram/HistogramPanelView.h"

#include <QCoreApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

#include "graphics/view/QtGraphDC.h"
#include "platform/chartview/ChartQt.h"
#include "platform/widgets/CCtrlPanelBar.h"
#include "ui_HistogramPanelBar.h"

HistogramPanelView::HistogramPanelView(CHistogramCtrlPanel& panel, QWidget* parent)
    : QWidget(parent), m_panel(panel), m_bar(new CCtrlPanelBar(this)),
      m_ui(std::make_unique<Ui::HistogramPanelBar>()) {
    m_ui->setupUi(m_bar);
    m_bar->setAutoFillBackground(true);
    m_bar->Create(this);
    m_bar->setGeometry(0, 0, width(), m_bar->height());
    m_fields = {m_ui->channel, m_ui->min,  m_ui->max,       m_ui->readings,
                m_ui->stdDev,  m_ui->mean, m_ui->outOfRange};
    for (QLabel* field : m_fields) {
        field->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        field->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    setMinimumHeight(BarHeight());
    setFont(LogFontToQFont(m_panel.GetFont().GetLogFont()));
    connect(m_ui->autoscale, &QPushButton::clicked, this, [this] { m_panel.ClickAutoscale(); });
    m_panel.SetTextChanged([this](int field) { Show(field); });
    for (int field = 0; field < CHistogramCtrlPanel::kFields; ++field)
        Show(field);
}

HistogramPanelView::~HistogramPanelView() {
    m_panel.SetTextChanged(nullptr);
}

int HistogramPanelView::BarHeight() const {
    return m_bar->height();
}

QPushButton* HistogramPanelView::AutoscaleButton() const {
    return m_ui->autoscale;
}

void HistogramPanelView::Show(int field) {
    if (QLabel* label = Field(field))
        label->setText(QString::fromStdString(m_panel.Text(field)));
}

void HistogramPanelView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // The bar runs along the top, across the panel's width.
    m_bar->setGeometry(0, 0, width(), m_bar->height());
}

void HistogramPanelView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect().adjusted(-1, -1, 1, 1),
                     tvane::chart::ToQColor(m_panel.GetColour()));
}

void HistogramPanelView::PassToFrame(QMouseEvent* event, bool post) {
    QWidget* frame = parentWidget();
    if (!frame)
        return;
    auto* copy =
        new QMouseEvent(event->type(), mapToParent(event->position()), event->globalPosition(),
                        event->button(), event->buttons(), event->modifiers());
    if (post) {
        QCoreApplication::postEvent(frame, copy);
    } else {
        QCoreApplication::sendEvent(frame, copy);
        delete copy;
    }
}

void HistogramPanelView::mousePressEvent(QMouseEvent* event) {
    PassToFrame(event, true);
}

void HistogramPanelView::mouseReleaseEvent(QMouseEvent* event) {
    PassToFrame(event, false);
}

void HistogramPanelView::mouseDoubleClickEvent(QMouseEvent* event) {
    PassToFrame(event, true);
}

void HistogramPanelView::DrawTo(QPainter& painter, const QRect& rect) const {
    painter.save();
    painter.setFont(font());
    painter.setPen(Qt::black);
    painter.setBrush(QColor(192, 192, 192));
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
    painter.setClipRect(rect);
    const QPoint origin = rect.topLeft() + m_bar->pos();
    for (const QLabel* field : m_fields) {
        const QRect at = field->geometry().translated(origin);
        painter.setPen(Qt::white);
        painter.drawLine(at.bottomLeft(), at.bottomRight());
        painter.drawLine(at.topRight(), at.bottomRight());
        painter.setPen(QColor(128, 128, 128));
        painter.drawLine(at.topLeft(), at.topRight());
        painter.drawLine(at.topLeft(), at.bottomLeft());
        painter.setPen(Qt::black);
        painter.drawText(at.adjusted(2, 0, -2, 0), Qt::AlignRight | Qt::AlignVCenter,
                         field->text());
    }
    for (const QLabel* label :
         {m_ui->channelLabel, m_ui->minLabel, m_ui->maxLabel, m_ui->readingsLabel,
          m_ui->outOfRangeLabel, m_ui->stdDevLabel, m_ui->meanLabel})
        painter.drawText(label->geometry().translated(origin), Qt::AlignLeft | Qt::AlignVCenter,
                         label->text());
    painter.restore();
}
