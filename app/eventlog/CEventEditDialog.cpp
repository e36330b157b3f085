#include "app/eventlog/CEventEditDialog.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/CLoggerDoc.h"
#include "app/eventlog/EventLogRules.h"
#include "scan/CChannelArray.h"
#include "shared/view/MfxFontQt.h"

namespace {

constexpr const char* kNone = "(none)"; // 183
constexpr const char* kEditCaption = "Edit Event";
// Every kind of channel the setup holds; the single bits of digital channels
// are not channels of their own.
constexpr std::uint32_t kAllKinds = 0xFFFFFFFFu;
constexpr std::int32_t kBitOfRead = 4, kBitOfWrite = 8;

} // namespace

CEventEditDialog::CEventEditDialog(CLoggerDoc& document, CEventEditFields& fields, QWidget* parent)
    : QDialog(parent), m_doc(document), m_fields(fields) {
    setWindowTitle("Add Event");
    m_type = new QLineEdit(this);
    m_channel = new QComboBox(this);
    m_channel->setEditable(true);
    m_channel->setInsertPolicy(QComboBox::NoInsert);
    m_time = new QLineEdit(this);
    m_description = new QPlainTextEdit(this);
    m_description->setTabChangesFocus(true);

    auto* grid = new QGridLayout;
    const struct {
        const char* text;
        QWidget* field;
    } rows[] = {{"&Entry Type:", m_type},
                {"&Channel ID:", m_channel},
                {"Date/&Time:", m_time},
                {"&Description:", m_description}};
    int row = 0;
    for (const auto& r : rows) {
        auto* label = new QLabel(r.text, this);
        label->setBuddy(r.field);
        grid->addWidget(label, row, 0, Qt::AlignTop);
        grid->addWidget(r.field, row++, 1);
    }
    auto* buttons =
        new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, Qt::Vertical, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(grid, 1);
    layout->addWidget(buttons, 0, Qt::AlignTop);

    // OnInitDialog: font, limits, the channel list, then the fields.
    ApplyDialogFont(this);
    m_type->setMaxLength(kMaxType);
    connect(m_description, &QPlainTextEdit::textChanged, this, [this] {
        const QString text = m_description->toPlainText();
        if (text.size() > kMaxDescription) {
            m_description->setPlainText(text.left(kMaxDescription));
            m_description->moveCursor(QTextCursor::End);
        }
    });

    m_channel->addItem(kNone, 0);
    CChannelArray channels;
    m_doc.FillChannelInfoArray(&channels, kAllKinds, false);
    std::vector<std::string> entries{kNone};
    for (std::size_t i = 0; i < channels.GetSize(); ++i) {
        const CChannelInfo* info = channels.GetAt(i);
        if (info == nullptr || info->Kind == kBitOfRead || info->Kind == kBitOfWrite)
            continue;
        const std::string text = info->Label + info->Name;
        m_channel->addItem(QString::fromStdString(text), info->Number);
        entries.push_back(text);
    }
    channels.DeleteAll();

    m_type->setText(QString::fromStdString(m_fields.typeText));
    if (m_fields.addMode) {
        m_channel->setCurrentIndex(0);
        std::string time = m_doc.FormatReadingTime(m_fields.time);
        if (time.size() > 80)
            time.resize(80);
        m_time->setText(QString::fromStdString(time));
    } else {
        setWindowTitle(kEditCaption);
        m_channel->setCurrentIndex(eventlog::FindEntryByPrefix(entries, m_fields.channelText));
        m_time->setText(QString::fromStdString(m_fields.timeText));
    }
    m_description->setPlainText(QString::fromStdString(m_fields.description));
    adjustSize();
}

void CEventEditDialog::accept() {
    const int index = m_channel->currentIndex();
    if (index >= 0) {
        m_fields.channel = m_channel->itemData(index).toInt();
        m_fields.channelText = m_channel->itemText(index).toStdString();
    } else {
        m_fields.channel = 0;
        m_fields.channelText.clear();
    }
    m_fields.typeText = m_type->text().toStdString();
    m_fields.description = m_description->toPlainText().toStdString();
    QDialog::accept();
}

bool EventEditDialogRunner::Run(CLoggerDoc& document, CEventEditFields& fields) {
    // Over whichever window asked: the main window's menu or the event log.
    CEventEditDialog dialog(document, fields, m_parent ? m_parent : QApplication::activeWindow());
    const int result = m_exec ? m_exec(dialog) : dialog.exec();
    return result == QDialog::Accepted;
}
