#pragma once
#include <array>
#include <memory>

#include <QDialog>

class QCheckBox;
class QWidget;

namespace Ui {
class CShowToolbarsDialog;
}

// "Toolbars": which of the main window's five bars are shown.
class CShowToolbarsDialog final : public QDialog {
public:
    enum Bar { Monitor, Graphics, Standard, StatusBar, Control, kBars };
    explicit CShowToolbarsDialog(QWidget* parent = nullptr);
    ~CShowToolbarsDialog() override;

    // The five flags: set before exec, read after OK.
    std::array<bool, kBars> m_show{};
    QCheckBox* Box(Bar bar) const;

    void accept() override;
    int exec() override;

private:
    std::unique_ptr<Ui::CShowToolbarsDialog> m_ui;
};

// The Toolbars command: the dialog over the bars, each bar whose box changed
// shown or hidden after OK. The bars are given in the dialog's order.
void RunShowToolbars(const std::array<QWidget*, CShowToolbarsDialog::kBars>& bars, QWidget* parent);
