#include "app/frame/CExportDataDialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QDateTimeEdit>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/CLoggerDoc.h"
#include "app/frame/CFileExportDialog.h"
#include "database/CDataset.h"
#include "database/CStateInfo.h"
#include "platform/core/Format.h"
#include "platform/ui/Prompter.h"
#include "platform/widgets/QtText.h"
#include "shared/view/MfxFontQt.h"

namespace {

using tvane::ToQString;
using tvane::ToUtf8;

QDateTime ToDateTime(std::int64_t base, double time) {
    return QDateTime::fromMSecsSinceEpoch(base * 1000 + static_cast<qint64>(time));
}

double FromDateTime(std::int64_t base, const QDateTime& time) {
    return static_cast<double>(time.toMSecsSinceEpoch() - base * 1000);
}

// One line per reading, or one line per scan with a group of columns per channel.
QPixmap LayoutPicture(bool columns) {
    QPixmap picture(120, 60);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setPen(Qt::black);
    for (int line = 0; line < 5; ++line) {
        const int y = 8 + line * 10;
        if (columns) {
            for (int group = 0; group < 3; ++group)
                painter.drawLine(6 + group * 38, y, 36 + group * 38, y);
        } else {
            painter.drawLine(6, y, 114, y);
        }
    }
    return picture;
}

} // namespace

// --- Export Data --------------------------------------------------------------

CExportDataDialog::CExportDataDialog(ExportDataModel& model, std::int64_t timeBase,
                                     std::string dataDir, QWidget* parent)
    : QDialog(parent), m_model(model), m_timeBase(timeBase), m_dataDir(std::move(dataDir)) {
    namespace t = exportdlgtext;
    setWindowTitle(t::kExportDataCaption);
    auto* layout = new QGridLayout(this);
    m_disk = new QRadioButton("&Save data to disk:", this);
    m_clipboard = new QRadioButton("Put data in &clipboard", this);
    auto* destination = new QButtonGroup(this);
    destination->addButton(m_disk, CReadingQuery::kToFile);
    destination->addButton(m_clipboard, CReadingQuery::kToClipboard);
    m_file = new QLineEdit(this);
    m_browse = new QPushButton("&Browse...", this);
    m_kind = new QComboBox(this);
    for (const char* kind : t::kKinds)
        m_kind->addItem(kind);
    m_format = new QComboBox(this);
    for (const char* format : t::kFormats)
        m_format->addItem(format);
    m_summary = new QListWidget(this);
    m_options = new QPushButton("&Change Output Options...", this);
    layout->addWidget(m_disk, 0, 0);
    layout->addWidget(m_file, 0, 1);
    layout->addWidget(m_browse, 0, 2);
    layout->addWidget(m_clipboard, 1, 0);
    layout->addWidget(new QLabel("Data to export:", this), 2, 0);
    layout->addWidget(m_kind, 2, 1);
    layout->addWidget(new QLabel("Output format:", this), 3, 0);
    layout->addWidget(m_format, 3, 1);
    layout->addWidget(m_summary, 4, 0, 1, 3);
    layout->addWidget(m_options, 5, 0);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    m_ok->setDefault(true);
    layout->addWidget(buttons, 6, 0, 1, 3);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { accept(); });
    connect(buttons, &QDialogButtonBox::rejected, this, [this] { reject(); });
    ApplyDialogFont(this);

    m_model.Init();
    m_kind->setEnabled(!m_model.m_kindFixed);
    ShowMembers();
    FillSummary();

    // The radios and lists first take the name the user typed, as the
    // extension rules work on it.
    connect(destination, &QButtonGroup::idClicked, this, [this](int id) {
        if (!m_model.TakeName(ToUtf8(m_file->text())))
            m_file->setFocus();
        m_model.SetDestination(static_cast<std::int16_t>(id));
        ShowMembers();
    });
    connect(m_format, &QComboBox::activated, this, [this](int index) {
        if (m_model.TakeName(ToUtf8(m_file->text())))
            m_model.SelectFormat(static_cast<std::int16_t>(index));
        else
            m_model.m_format = static_cast<std::int16_t>(index);
        ShowMembers();
    });
    connect(m_kind, &QComboBox::activated, this, [this](int index) {
        m_model.SelectKind(static_cast<std::int16_t>(index));
        m_options->setEnabled(m_model.OptionsEnabled());
        FillSummary();
    });
    connect(m_options, &QPushButton::clicked, this, [this] { OpenOptions(); });
    connect(m_summary, &QListWidget::itemDoubleClicked, this, [this] {
        if (m_options->isEnabled())
            OpenOptions();
    });
    connect(m_browse, &QPushButton::clicked, this, [this] {
        std::string name = ToUtf8(m_file->text());
        if (Browse(name))
            m_model.TakeBrowsedName(name);
        ShowMembers();
    });
}

void CExportDataDialog::ShowMembers() {
    m_disk->setChecked(m_model.m_destination == CReadingQuery::kToFile);
    m_clipboard->setChecked(m_model.m_destination == CReadingQuery::kToClipboard);
    m_file->setEnabled(m_model.FileControlsEnabled());
    m_browse->setEnabled(m_model.FileControlsEnabled());
    m_file->setText(ToQString(m_model.m_fileName));
    m_kind->setCurrentIndex(m_model.m_kind);
    m_format->setCurrentIndex(m_model.m_format);
    m_options->setEnabled(m_model.OptionsEnabled());
}

void CExportDataDialog::FillSummary() {
    m_summary->clear();
    int widest = 0;
    const QFontMetrics metrics(m_summary->font());
    for (const std::string& line : m_model.Summary()) {
        // The label column and the value column, as the list's tab stops place them.
        QString text = ToQString(line);
        text.replace("\t\t", QString(24, ' '));
        text.replace('\t', QString(24 - std::min<int>(24, text.indexOf('\t')), ' '));
        auto* item = new QListWidgetItem(text, m_summary);
        item->setData(Qt::UserRole, ToQString(line));
        widest = std::max(widest, metrics.horizontalAdvance(text));
    }
    m_summary->setMinimumWidth(std::min(widest + 24, 600));
}

bool CExportDataDialog::Browse(std::string& name) {
    const std::string title =
        tvane::Format(exportdlgtext::kSaveAsTitle, exportdlgtext::kKinds[m_model.m_kind]);
    return CFileExportDialog::Choose(title, m_dataDir, name, exportdlgtext::kFileFilter, this);
}

void CExportDataDialog::OpenOptions() {
    ExportOptionsModel options(m_model.Query());
    options.m_start = m_model.m_start;
    options.m_end = m_model.m_end;
    options.m_earliest = m_model.m_earliest;
    options.m_latest = m_model.m_latest;
    CExportOptionsDialog dialog(options, m_timeBase, this);
    if (dialog.exec() == QDialog::Accepted)
        m_model.TakeOptionTimes(options.m_start, options.m_end);
    FillSummary();
}

void CExportDataDialog::accept() {
    bool selectName = false;
    const bool ok = m_model.Accept(
        ToUtf8(m_file->text()), [this](std::string& name) { return Browse(name); }, selectName);
    ShowMembers();
    if (!ok) {
        m_file->setFocus();
        if (selectName)
            m_file->selectAll();
        return;
    }
    QDialog::accept();
}

// --- Export Data Options ------------------------------------------------------

CExportOptionsDialog::CExportOptionsDialog(ExportOptionsModel& model, std::int64_t timeBase,
                                           QWidget* parent)
    : QDialog(parent), m_model(model), m_timeBase(timeBase) {
    setWindowTitle(exportdlgtext::kOptionsCaption);
    auto* layout = new QGridLayout(this);
    m_start = new QDateTimeEdit(this);
    m_end = new QDateTimeEdit(this);
    for (QDateTimeEdit* edit : {m_start, m_end})
        edit->setDisplayFormat("MM/dd/yyyy hh:mm:ss.zzz");
    m_toStart = new QPushButton("Set to &Start", this);
    m_toEnd = new QPushButton("Set to &End", this);
    layout->addWidget(new QLabel("Sta&rt Time:", this), 0, 0);
    layout->addWidget(m_start, 0, 1);
    layout->addWidget(m_toStart, 0, 2);
    layout->addWidget(new QLabel("E&nd Time:", this), 1, 0);
    layout->addWidget(m_end, 1, 1);
    layout->addWidget(m_toEnd, 1, 2);
    layout->addWidget(new QLabel("&Include these channels:", this), 2, 0);
    m_channels = new QListWidget(this);
    m_channels->setSelectionMode(QAbstractItemView::MultiSelection);
    layout->addWidget(m_channels, 3, 0, 1, 2);
    auto* boxes = new QVBoxLayout;
    m_alarmedOnly = new QCheckBox("Alarmed data &points only", this);
    m_timeStamp = new QCheckBox("&Time stamp", this);
    m_seconds = new QCheckBox("&Seconds", this);
    m_alarmFlag = new QCheckBox("&Alarm flag", this);
    m_units = new QCheckBox("&Units", this);
    m_defaults = new QPushButton("&Defaults", this);
    for (QWidget* w : std::initializer_list<QWidget*>{m_alarmedOnly, m_timeStamp, m_seconds,
                                                      m_alarmFlag, m_units, m_defaults})
        boxes->addWidget(w);
    layout->addLayout(boxes, 3, 2);
    auto* group = new QGroupBox("Channels In:", this);
    m_layoutGroup = group;
    auto* groupLayout = new QHBoxLayout(group);
    m_rows = new QRadioButton("Rows", group);
    m_columns = new QRadioButton("Columns", group);
    m_picture = new QLabel(group);
    m_picture->setFrameShape(QFrame::Box);
    groupLayout->addWidget(m_rows);
    groupLayout->addWidget(m_columns);
    groupLayout->addWidget(m_picture);
    layout->addWidget(group, 4, 0, 1, 3);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    m_ok->setDefault(true);
    layout->addWidget(buttons, 5, 0, 1, 3);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { accept(); });
    connect(buttons, &QDialogButtonBox::rejected, this, [this] { reject(); });
    ApplyDialogFont(this);

    Fill(false);

    connect(m_toStart, &QPushButton::clicked, this, [this] {
        m_model.SetToStart();
        m_start->setDateTime(ToDateTime(m_timeBase, m_model.m_start));
    });
    connect(m_toEnd, &QPushButton::clicked, this, [this] {
        m_model.SetToEnd();
        m_end->setDateTime(ToDateTime(m_timeBase, m_model.m_end));
    });
    connect(m_start, &QDateTimeEdit::dateTimeChanged, this, [this](const QDateTime& time) {
        m_model.m_start = FromDateTime(m_timeBase, time);
        UpdateRanges();
    });
    connect(m_end, &QDateTimeEdit::dateTimeChanged, this, [this](const QDateTime& time) {
        m_model.m_end = FromDateTime(m_timeBase, time);
        UpdateRanges();
    });
    connect(m_defaults, &QPushButton::clicked, this, [this] { Fill(true); });
    connect(m_rows, &QRadioButton::clicked, this, [this] {
        m_model.SetLayout(CReadingQuery::kRows);
        ShowLayout();
    });
    connect(m_columns, &QRadioButton::clicked, this, [this] {
        m_model.SetLayout(CReadingQuery::kColumns);
        ShowLayout();
    });
}

void CExportOptionsDialog::UpdateRanges() {
    const QSignalBlocker startBlock(m_start);
    const QSignalBlocker endBlock(m_end);
    m_start->setDateTimeRange(ToDateTime(m_timeBase, m_model.StartMin()),
                              ToDateTime(m_timeBase, m_model.StartMax()));
    m_end->setDateTimeRange(ToDateTime(m_timeBase, m_model.EndMin()),
                            ToDateTime(m_timeBase, m_model.EndMax()));
}

void CExportOptionsDialog::Fill(bool defaults) {
    m_model.Init(defaults);
    {
        const QSignalBlocker startBlock(m_start);
        const QSignalBlocker endBlock(m_end);
        m_start->setDateTimeRange(ToDateTime(m_timeBase, m_model.m_earliest),
                                  ToDateTime(m_timeBase, m_model.m_latest));
        m_end->setDateTimeRange(ToDateTime(m_timeBase, m_model.m_earliest),
                                ToDateTime(m_timeBase, m_model.m_latest));
        m_start->setDateTime(ToDateTime(m_timeBase, m_model.m_start));
        m_end->setDateTime(ToDateTime(m_timeBase, m_model.m_end));
    }
    UpdateRanges();
    const bool enabled = m_model.ChoicesEnabled();
    m_timeStamp->setChecked(m_model.m_timeStamp);
    m_seconds->setChecked(m_model.m_seconds);
    m_alarmFlag->setChecked(m_model.m_alarmFlag);
    m_units->setChecked(m_model.m_units);
    m_alarmedOnly->setChecked(m_model.m_alarmedOnly);
    for (QWidget* w : std::initializer_list<QWidget*>{m_timeStamp, m_seconds, m_alarmFlag, m_units,
                                                      m_alarmedOnly, m_channels})
        w->setEnabled(enabled);
    m_layoutGroup->setVisible(m_model.LayoutShown());
    m_channels->clear();
    for (const ExportOptionsModel::Channel& channel : m_model.m_channels) {
        auto* item = new QListWidgetItem(ToQString(channel.label), m_channels);
        item->setData(Qt::UserRole, channel.number);
        item->setSelected(channel.selected);
    }
    ShowLayout();
}

void CExportOptionsDialog::ShowLayout() {
    const bool columns = m_model.Layout() == CReadingQuery::kColumns;
    m_rows->setChecked(!columns);
    m_columns->setChecked(columns);
    m_picture->setPixmap(LayoutPicture(columns));
}

void CExportOptionsDialog::accept() {
    m_model.m_start = FromDateTime(m_timeBase, m_start->dateTime());
    m_model.m_end = FromDateTime(m_timeBase, m_end->dateTime());
    for (int i = 0; i < m_channels->count() && i < static_cast<int>(m_model.m_channels.size()); ++i)
        m_model.m_channels[static_cast<std::size_t>(i)].selected =
            m_channels->item(i)->isSelected();
    m_model.m_timeStamp = m_timeStamp->isChecked();
    m_model.m_seconds = m_seconds->isChecked();
    m_model.m_alarmFlag = m_alarmFlag->isChecked();
    m_model.m_alarmedOnly = m_alarmedOnly->isChecked();
    m_model.m_units = m_units->isChecked();
    m_model.Accept();
    QDialog::accept();
}

// --- The document's dialog ------------------------------------------------------

bool QtExportDataDialog::Run(CLoggerDoc& document, CReadingQuery& query) {
    ExportDataModel model(query, tvane::Prompter());
    CDataset* dataset = document.GetDataset();
    const bool open = dataset != nullptr && dataset->IsOpen();
    model.m_hasContent = open && (dataset->GetReadingCount() >= 1 || dataset->GetEventCount() >= 1);
    if (open) {
        model.m_firstReading = dataset->GetFirstTime();
        model.m_lastReading = dataset->GetLastTime();
        // The events themselves: the header's copies lag behind a run.
        model.m_firstEvent = dataset->GetFirstEventTime();
        model.m_lastEvent = dataset->GetLastEventTime();
        CDatasetEvent event;
        const std::int32_t count = dataset->GetEventCount();
        if (count > 0 && dataset->GetEvent(0, event))
            model.m_firstEvent = event.m_time;
        if (count > 0 && dataset->GetEvent(count - 1, event))
            model.m_lastEvent = event.m_time;
    }
    model.m_formatTime = [&document](double time) { return document.FormatReadingTime(time); };
    CExportDataDialog dialog(model, document.GetDocumentTime().GetTime(),
                             document.GetStateInfo().m_dataDir, m_parent);
    return dialog.exec() == QDialog::Accepted;
}
