#include "app/frame/CSaveScanDataDialog.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "app/ISaveDialogs.h"
#include "platform/widgets/QtText.h"
#include "shared/view/MfxFontQt.h"

namespace {

using tvane::ToQString;
using tvane::ToUtf8;

} // namespace

CSaveScanDataDialog::CSaveScanDataDialog(SaveScanDataModel& model, ISaveSetupDialog* properties,
                                         SaveScanDataModel::RowReader reader,
                                         std::function<std::string()> exportSettings,
                                         QWidget* parent)
    : QDialog(parent), m_model(model), m_propertiesDialog(properties), m_reader(std::move(reader)),
      m_runExportSettings(std::move(exportSettings)) {
    setWindowTitle(exportdlgtext::kSaveScanDataCaption);
    auto* layout = new QGridLayout(this);
    auto* saved = new QGroupBox("Your data will be saved as:", this);
    auto* savedLayout = new QVBoxLayout(saved);
    m_name = new QLineEdit(saved);
    m_name->setMaxLength(static_cast<int>(SaveScanDataModel::kNameLimit));
    savedLayout->addWidget(m_name);
    m_properties = new QPushButton("&Properties...", this);
    m_exportGroup = new QGroupBox("Your data will be exported as:", this);
    auto* exportLayout = new QVBoxLayout(m_exportGroup);
    m_export = new QLineEdit(m_exportGroup);
    exportLayout->addWidget(m_export);
    m_exportSettings = new QPushButton("&Export Settings...", this);
    m_ok = new QPushButton("OK", this);
    m_ok->setDefault(true);
    m_delete = new QPushButton("&Delete", this);
    layout->addWidget(saved, 0, 0, 2, 1);
    layout->addWidget(m_ok, 0, 1);
    layout->addWidget(m_properties, 1, 1);
    layout->addWidget(m_exportGroup, 2, 0, 2, 1);
    layout->addWidget(m_delete, 2, 1);
    layout->addWidget(m_exportSettings, 3, 1);
    ApplyDialogFont(this);

    m_model.Init(m_reader);
    // Without an export after the scan only the upper half is shown.
    m_exportGroup->setVisible(m_model.m_exportAfterScan);
    m_exportSettings->setVisible(m_model.m_exportAfterScan);
    m_name->setText(ToQString(m_model.m_name));
    m_export->setText(ToQString(m_model.m_exportName));
    m_ok->setEnabled(m_model.OkEnabled());

    connect(m_name, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_model.EditName(ToUtf8(text));
        m_ok->setEnabled(m_model.OkEnabled());
    });
    connect(m_export, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_model.EditExportName(ToUtf8(text));
        m_ok->setEnabled(m_model.OkEnabled());
    });
    connect(m_ok, &QPushButton::clicked, this, [this] { accept(); });
    connect(m_delete, &QPushButton::clicked, this, [this] { reject(); });
    connect(m_properties, &QPushButton::clicked, this, [this] { ShowProperties(); });
    connect(m_exportSettings, &QPushButton::clicked, this, [this] {
        if (!m_runExportSettings)
            return;
        m_model.m_exportName = m_runExportSettings();
        m_export->setText(ToQString(m_model.m_exportName));
        m_ok->setEnabled(m_model.OkEnabled());
    });
    m_name->installEventFilter(this);
    m_export->installEventFilter(this);
    m_name->setFocus();
}

bool CSaveScanDataDialog::eventFilter(QObject* watched, QEvent* event) {
    // An edit that gets the focus shows its whole text selected.
    if (event->type() == QEvent::FocusIn)
        if (auto* edit = qobject_cast<QLineEdit*>(watched))
            QTimer::singleShot(0, edit, [edit] { edit->selectAll(); });
    return QDialog::eventFilter(watched, event);
}

void CSaveScanDataDialog::ShowProperties() {
    SaveScanDataModel::Properties shown;
    if (m_propertiesDialog != nullptr && m_model.LoadProperties(m_reader, shown)) {
        SavePropertiesFields fields;
        fields.title = exportdlgtext::kEditDataset + shown.name;
        fields.name = shown.name;
        fields.lastModified = shown.dateText;
        fields.user = shown.user;
        fields.note = shown.note;
        fields.kind = 2;
        fields.setupName = m_model.m_setupName;
        if (m_propertiesDialog->Run(fields)) {
            m_model.TakeProperties(shown,
                                   {fields.name, fields.user, fields.lastModified, fields.note});
            m_name->setText(ToQString(m_model.m_name));
            m_ok->setEnabled(m_model.OkEnabled());
        }
    }
    m_name->selectAll();
    m_name->setFocus();
}

void CSaveScanDataDialog::accept() {
    m_model.m_name = ToUtf8(m_name->text());
    if (!m_model.OkEnabled())
        return;
    if (!m_model.Accept()) {
        m_name->setFocus();
        return;
    }
    QDialog::accept();
}
