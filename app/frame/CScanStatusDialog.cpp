#include "app/frame/CScanStatusDialog.h"

#include <algorithm>
#include <cmath>

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTextOption>
#include <QVBoxLayout>

#include "app/CScanStatusSummary.h"
#include "scan/CFXScan.h"
#include "shared/view/MfxFontQt.h"

namespace {

// The list's two tab stops, in dialog units.
constexpr int kTabStops[] = {10, 110};

// The average character width of the 52 letters: four dialog units across.
qreal DialogBaseUnit(const QFont& font) {
    return QFontMetricsF(font).horizontalAdvance(
               QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ")) /
           52.0;
}

// Draws the summary's rows with their tabs at the list's tab stops. The
// second stop moves right when a label before it would reach it, so a value
// never runs into its label.
class TabStopDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // Sets the stops for the rows in the font.
    void Measure(const QStringList& rows, const QFont& font) {
        const qreal unit = DialogBaseUnit(font) / 4.0;
        const QFontMetricsF metrics(font);
        m_stops[0] = kTabStops[0] * unit;
        m_stops[1] = kTabStops[1] * unit;
        for (const QString& row : rows) {
            const QStringList parts = row.split(QLatin1Char('\t'));
            if (parts.size() > 2)
                m_stops[1] = std::max(m_stops[1],
                                      m_stops[0] + metrics.horizontalAdvance(parts[1]) + 4 * unit);
        }
    }
    // The width of a row laid out at the stops.
    qreal RowWidth(const QString& row, const QFont& font) const {
        const QStringList parts = row.split(QLatin1Char('\t'));
        const qreal last = QFontMetricsF(font).horizontalAdvance(parts.back());
        return parts.size() == 1 ? last : m_stops[std::min<qsizetype>(parts.size(), 3) - 2] + last;
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem item(option);
        initStyleOption(&item, index);
        const QString text = item.text;
        item.text.clear();
        QStyle* style = item.widget ? item.widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &item, painter, item.widget);
        const QRect area = style->subElementRect(QStyle::SE_ItemViewItemText, &item, item.widget);
        QTextOption options(Qt::AlignLeft | Qt::AlignVCenter);
        options.setWrapMode(QTextOption::NoWrap);
        options.setTabs({QTextOption::Tab(m_stops[0], QTextOption::LeftTab),
                         QTextOption::Tab(m_stops[1], QTextOption::LeftTab)});
        painter->save();
        painter->setFont(item.font);
        painter->setPen(item.palette.color(
            item.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text));
        painter->drawText(QRectF(area), text, options);
        painter->restore();
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionViewItem item(option);
        initStyleOption(&item, index);
        const QStyle* style = item.widget ? item.widget->style() : QApplication::style();
        // The text's room in the item: the style's margin on each side.
        const int margin =
            style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, item.widget) + 1;
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setWidth(static_cast<int>(std::ceil(RowWidth(item.text, item.font))) + 2 * margin);
        return size;
    }

private:
    qreal m_stops[2] = {};
};

} // namespace

CScanStatusDialog::CScanStatusDialog(CFXScan& scan, std::string interfaceName,
                                     bool setupInInstrument, QWidget* parent)
    : QDialog(parent), m_scan(scan), m_interface(std::move(interfaceName)),
      m_setupInInstrument(setupInInstrument) {
    setWindowTitle(QStringLiteral("Start Scanning - Scan Status"));
    m_list = new QListWidget(this);
    m_delegate = new TabStopDelegate(m_list);
    m_list->setItemDelegate(m_delegate);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_dontShow = new QCheckBox(QStringLiteral("&Don't show this dialog on subsequent runs."), this);
    m_settingsButton = new QPushButton(QStringLiteral("&Settings..."), this);
    m_start = new QPushButton(QStringLiteral("Start"), this);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_start->setDefault(true);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_settingsButton);
    buttons->addStretch();
    buttons->addWidget(m_start);
    buttons->addWidget(cancel);
    auto* layout = new QGridLayout(this);
    layout->addWidget(m_list, 0, 0);
    layout->addLayout(buttons, 0, 1);
    layout->addWidget(m_dontShow, 1, 0, 1, 2);

    connect(m_start, &QPushButton::clicked, this, [this] {
        m_showAgain = m_dontShow->isChecked() ? 0 : 1;
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_settingsButton, &QPushButton::clicked, this, [this] { OnSettings(); });
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this] { OnSettings(); });

    ApplyDialogFont(this);
    FillSummary();
    m_list->setFocus();
}

void CScanStatusDialog::FillSummary() {
    m_list->clear();
    for (const std::string& row :
         CScanStatusSummary::Rows(m_scan, m_interface, m_setupInInstrument))
        m_list->addItem(QString::fromUtf8(row));
    FitList();
}

void CScanStatusDialog::FitList() {
    // Every row is shown whole, without scrolling: the list is as wide as its
    // widest row and as high as its rows, in the font it is drawn in.
    QStringList rows;
    for (int i = 0; i < m_list->count(); ++i)
        rows << m_list->item(i)->text();
    static_cast<TabStopDelegate*>(m_delegate)->Measure(rows, m_list->font());
    int width = 0, height = 0;
    for (int i = 0; i < m_list->count(); ++i) {
        const QSize hint = m_list->sizeHintForIndex(m_list->model()->index(i, 0));
        width = std::max(width, hint.width());
        height += hint.height();
    }
    const int frame = 2 * m_list->frameWidth();
    m_list->setMinimumSize(width + frame, height + frame);
    m_list->doItemsLayout();
}

void CScanStatusDialog::OnSettings() {
    if (m_settings)
        m_settings();
    FillSummary();
}
