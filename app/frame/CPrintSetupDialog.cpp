#include "app/frame/CPrintSetupDialog.h"

#include "platform/print/PrintSetupModel.h"
#include "platform/printview/QtPrintSettings.h"
#include "shared/view/MfxFontQt.h"
#include "ui_CPrintSetupDialog.h"

CPrintSetupDialog::CPrintSetupDialog(tvane::PrintSetupModel& model, QWidget* parent)
    : QDialog(parent), m_model(model), m_ui(std::make_unique<Ui::CPrintSetupDialog>()) {
    m_ui->setupUi(this);
    ApplyDialogFont(this);
    for (const std::string& printer : model.Printers())
        m_ui->printerCombo->addItem(QString::fromStdString(printer));
    m_ui->printerCombo->setCurrentIndex(model.PrinterIndex());
    // Without printers the list goes and the note on PDF files stays.
    m_ui->printerLabel->setVisible(model.HasPrinters());
    m_ui->printerCombo->setVisible(model.HasPrinters());
    m_ui->pdfLabel->setVisible(!model.HasPrinters());
    for (const tvane::PrintSetupModel::Paper& paper : model.Papers())
        m_ui->paperCombo->addItem(QString::fromStdString(paper.name));
    m_ui->paperCombo->setCurrentIndex(model.PaperIndex());
    (model.Orientation() == tvane::PageOrientation::Landscape ? m_ui->landscapeRadio
                                                              : m_ui->portraitRadio)
        ->setChecked(true);
    connect(m_ui->okButton, &QPushButton::clicked, this, &CPrintSetupDialog::accept);
    connect(m_ui->cancelButton, &QPushButton::clicked, this, &CPrintSetupDialog::reject);
}

CPrintSetupDialog::~CPrintSetupDialog() = default;

QComboBox* CPrintSetupDialog::PrinterCombo() const {
    return m_ui->printerCombo;
}
QComboBox* CPrintSetupDialog::PaperCombo() const {
    return m_ui->paperCombo;
}
QRadioButton* CPrintSetupDialog::PortraitRadio() const {
    return m_ui->portraitRadio;
}
QRadioButton* CPrintSetupDialog::LandscapeRadio() const {
    return m_ui->landscapeRadio;
}
QPushButton* CPrintSetupDialog::OkButton() const {
    return m_ui->okButton;
}
QPushButton* CPrintSetupDialog::CancelButton() const {
    return m_ui->cancelButton;
}

void CPrintSetupDialog::accept() {
    m_model.SetPrinterIndex(m_ui->printerCombo->currentIndex());
    m_model.SetPaperIndex(m_ui->paperCombo->currentIndex());
    m_model.SetOrientation(m_ui->landscapeRadio->isChecked() ? tvane::PageOrientation::Landscape
                                                             : tvane::PageOrientation::Portrait);
    m_model.Ok();
    QDialog::accept();
}

void RunPrintSetup(QWidget* parent) {
    tvane::PrintSetupModel model(tvane::ProgramPrintSettings(), tvane::OfferedPapers(),
                                 tvane::OfferedPrinters(), tvane::DefaultPaper(),
                                 tvane::DefaultPrinter());
    CPrintSetupDialog dialog(model, parent);
    dialog.exec();
}
