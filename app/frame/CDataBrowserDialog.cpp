#include "app/frame/CDataBrowserDialog.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QIntValidator>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QScrollBar>

#include "app/CLoggerDoc.h"
#include "app/timeedit/CDateTimeEditWnd.h"
#include "shared/view/MfxFontQt.h"
#include "ui_CDataBrowserDialog.h"

namespace {

// The document's hold on the window: letting go brings the main window to
// the front and takes the window down.
class QtDataBrowser final : public IDataBrowser {
public:
    QtDataBrowser(CDataBrowserDialog* dialog, QWidget* mainWindow)
        : m_dialog(dialog), m_mainWindow(mainWindow) {}
    ~QtDataBrowser() override {
        if (m_mainWindow)
            m_mainWindow->activateWindow();
        if (m_dialog) {
            m_dialog->hide();
            m_dialog->deleteLater();
        }
    }
    void Show(bool show) override {
        if (m_dialog)
            m_dialog->setVisible(show);
    }

private:
    QPointer<CDataBrowserDialog> m_dialog;
    QPointer<QWidget> m_mainWindow;
};

} // namespace

CDataBrowserDialog::CDataBrowserDialog(CLoggerDoc& doc, QWidget* parent)
    : QDialog(parent), m_doc(doc), m_source(doc), m_model(m_source),
      m_ui(std::make_unique<Ui::CDataBrowserDialog>()) {
    m_ui->setupUi(this);
    setModal(false);
    setWindowTitle(DataBrowserModel::kCaption);
    ApplyDialogFont(this);

    m_model.Initialize();
    CDateTimeEditWnd* edit = m_ui->timeEdit;
    edit->SetFormat(m_model.GetTimeFormat());
    tvane::CTime first, last;
    int firstMs = 0, lastMs = 0;
    m_model.GetFirstDateTime(first, firstMs);
    m_model.GetLastDateTime(last, lastMs);
    edit->SetRange(first, firstMs, last, lastMs);
    m_ui->firstLabel->setText(QString::fromStdString(m_model.GetFirstText()));
    m_ui->lastLabel->setText(QString::fromStdString(m_model.GetLastText()));
    m_ui->durationLabel->setText(QString::fromStdString(m_model.GetDurationText()));

    QScrollBar* bar = m_ui->scrollBar;
    bar->setRange(DataBrowserModel::kMinimum, DataBrowserModel::kMaximum);
    bar->setSingleStep(1);
    bar->setPageStep(10);
    // The bar's own moves are replaced by the model's.
    bar->setTracking(true);
    connect(bar, &QAbstractSlider::actionTriggered, this, &CDataBrowserDialog::OnAction);
    connect(bar, &QAbstractSlider::sliderReleased, this, [this] {
        m_model.OnScroll(DataBrowserModel::kEndScroll);
        ShowPosition();
    });
    connect(edit, &CDateTimeEditWnd::timeEditChanged, this, [this] {
        m_model.OnTimeEdited(m_ui->timeEdit->GetTime(), m_ui->timeEdit->GetMilliseconds());
        ShowPosition();
    });

    // The time increment is kept but not offered.
    m_ui->incrementEdit->setValidator(new QIntValidator(0, 999999999, m_ui->incrementEdit));
    m_ui->incrementEdit->setText(QString::fromStdString(m_model.m_increment));
    for (const char* unit : DataBrowserModel::kUnits)
        m_ui->unitList->addItem(unit);
    m_ui->unitList->setCurrentIndex(m_model.m_unit);
    connect(m_ui->incrementEdit, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_model.m_increment = text.toStdString(); });
    for (QWidget* hidden :
         {static_cast<QWidget*>(m_ui->incrementLabel), static_cast<QWidget*>(m_ui->incrementEdit),
          static_cast<QWidget*>(m_ui->unitList)})
        hidden->hide();
    ShowPosition();
    // A dialog of fixed size: the edit's spin button sits over the edit's
    // right end where the layout has put it.
    adjustSize();
    setFixedSize(size());
    layout()->activate();
    edit->Attach(true);
}

CDataBrowserDialog::~CDataBrowserDialog() = default;

QScrollBar* CDataBrowserDialog::ScrollBar() const {
    return m_ui->scrollBar;
}
CDateTimeEditWnd* CDataBrowserDialog::TimeEdit() const {
    return m_ui->timeEdit;
}
QLabel* CDataBrowserDialog::CounterLabel() const {
    return m_ui->counterLabel;
}
QLabel* CDataBrowserDialog::FirstLabel() const {
    return m_ui->firstLabel;
}
QLabel* CDataBrowserDialog::LastLabel() const {
    return m_ui->lastLabel;
}
QLabel* CDataBrowserDialog::DurationLabel() const {
    return m_ui->durationLabel;
}

void CDataBrowserDialog::OnAction(int action) {
    QScrollBar* bar = m_ui->scrollBar;
    DataBrowserModel::Scroll code = DataBrowserModel::kEndScroll;
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
        code = DataBrowserModel::kLineLeft;
        break;
    case QAbstractSlider::SliderSingleStepAdd:
        code = DataBrowserModel::kLineRight;
        break;
    case QAbstractSlider::SliderPageStepSub:
        code = DataBrowserModel::kPageLeft;
        break;
    case QAbstractSlider::SliderPageStepAdd:
        code = DataBrowserModel::kPageRight;
        break;
    case QAbstractSlider::SliderToMinimum:
        code = DataBrowserModel::kLeft;
        break;
    case QAbstractSlider::SliderToMaximum:
        code = DataBrowserModel::kRight;
        break;
    case QAbstractSlider::SliderMove:
        // A drag shows the time at once; the readings follow on release.
        m_model.OnScroll(DataBrowserModel::kThumbTrack, bar->sliderPosition());
        ShowPosition();
        return;
    default:
        return;
    }
    if (!m_model.OnScroll(code)) {
        bar->setSliderPosition(m_model.GetPosition());
        m_ui->incrementEdit->setFocus();
        return;
    }
    // A step ends the move at once: the readings follow it.
    m_model.OnScroll(DataBrowserModel::kEndScroll);
    ShowPosition();
}

void CDataBrowserDialog::ShowPosition() {
    QScrollBar* bar = m_ui->scrollBar;
    if (!bar->isSliderDown())
        bar->setSliderPosition(m_model.GetPosition());
    m_ui->counterLabel->setText(QString::fromStdString(m_model.GetCounterText()));
    tvane::CTime time;
    int ms = 0;
    m_model.GetCurrentDateTime(time, ms);
    m_ui->timeEdit->SetTime(time, ms);
}

void CDataBrowserDialog::reject() {
    close();
}

void CDataBrowserDialog::closeEvent(QCloseEvent* event) {
    event->accept();
    if (m_closing)
        return;
    m_closing = true;
    if (QWidget* main = parentWidget())
        main->activateWindow();
    // The document lets go of its browser, which takes this window down.
    m_doc.DataBrowserClosed();
}

std::unique_ptr<IDataBrowser> QtDataBrowserFactory::CreateDataBrowser(CLoggerDoc& doc) {
    auto* dialog = new CDataBrowserDialog(doc, m_mainWindow);
    m_window = dialog;
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
    dialog->setFocus();
    return std::make_unique<QtDataBrowser>(dialog, m_mainWindow);
}
