#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/sheet/PropertyPage.h"
#include "platform/sheet/PropertySheet.h"
#include "setup/ISetupOptionsSheet.h"

class IColorPicker;
class QCheckBox;
namespace Ui {
class AppearancePage;
class ColumnsPage;
} // namespace Ui

// "Appearance" of the setup grid's tab: its name, background colour and zoom.
class SetupAppearancePage final : public tvane::PropertyPage {
    Q_OBJECT
public:
    explicit SetupAppearancePage(IColorPicker* picker);
    ~SetupAppearancePage() override;

    void SetBackColor(std::uint32_t colour) { m_colour = colour; }
    std::uint32_t GetBackColor() const { return m_colour; }
    void SetTabName(const std::string& name) { m_tabName = name; }
    const std::string& GetTabName() const { return m_tabName; }
    // 0 100%, 1 125%, 2 150%; the zoom choice is shown when show is set.
    void SetZoom(int percent, bool show);
    int GetZoom() const { return m_zoom == 2 ? 150 : m_zoom == 1 ? 125 : 100; }
    Ui::AppearancePage& Controls() { return *m_ui; }

protected:
    void OnInitPage() override;
    bool OnKillActive() override;

private:
    std::unique_ptr<Ui::AppearancePage> m_ui;
    IColorPicker* m_picker;
    std::uint32_t m_colour = 0xC0C0C0;
    std::string m_tabName;
    int m_zoom = -1;
    bool m_showZoom = false;
};

// "Columns": a check box for each setup grid column but the comment.
class CSetupPropPage2 final : public tvane::PropertyPage {
    Q_OBJECT
public:
    CSetupPropPage2();
    ~CSetupPropPage2() override;
    // Column k (0-15) is shown.
    std::array<bool, 16> m_visible{};
    Ui::ColumnsPage& Controls() { return *m_ui; }
    // The box of grid column k.
    QCheckBox* ColumnBox(int column) const;

protected:
    void OnInitPage() override;
    bool OnKillActive() override;

private:
    std::unique_ptr<Ui::ColumnsPage> m_ui;
};

// "Scan Setup View Properties": appearance and columns of the setup grid.
class CSetupPropSheet final : public tvane::PropertySheet {
    Q_OBJECT
public:
    CSetupPropSheet(QWidget* parent, std::uint32_t colour, const std::string& tabName, int zoom,
                    int startPage, IColorPicker* picker);
    SetupAppearancePage& Appearance() { return *m_appearance; }
    CSetupPropPage2& Columns() { return *m_columns; }

private:
    SetupAppearancePage* m_appearance;
    CSetupPropPage2* m_columns;
};

// The options sheet as the setup view runs it.
class SetupOptionsSheet final : public ISetupOptionsSheet {
public:
    SetupOptionsSheet(IColorPicker* picker, QWidget* parent) : m_picker(picker), m_parent(parent) {}
    bool Run(int startPage, Options& options) override;

private:
    IColorPicker* m_picker;
    QWidget* m_parent;
};
