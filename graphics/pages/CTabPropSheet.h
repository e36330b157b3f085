#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "platform/sheet/PropertyPage.h"
#include "platform/sheet/PropertySheet.h"

namespace Ui {
class CAppearancePage;
}

// The page of the Page Properties sheet: the tab's name (at most 20
// characters), its background colour and, where offered, a zoom choice.
class CAppearancePage final : public tvane::PropertyPage {
    Q_OBJECT
public:
    CAppearancePage();
    ~CAppearancePage() override;

    void SetBackColor(std::uint32_t color) { m_color = color; }
    std::uint32_t GetBackColor() const { return m_color; }
    void SetTabName(const std::string& name) { m_name = name; }
    const std::string& GetTabName() const { return m_name; }
    void SetZoom(int percent, bool show);
    int GetZoom() const;
    Ui::CAppearancePage& Form() const { return *m_ui; }
    void ChangeColor();

protected:
    void OnInitPage() override;
    bool OnKillActive() override;

private:
    void ShowSwatch();

    std::unique_ptr<Ui::CAppearancePage> m_ui;
    int m_zoom = -1;
    std::string m_name = "           ";
    bool m_showZoom = false;
    std::uint32_t m_color = 0x00C0C0C0;
};

// The Page Properties sheet of a graphics page.
class CTabPropSheet final : public tvane::PropertySheet {
    Q_OBJECT
public:
    CTabPropSheet(QWidget* owner, std::uint32_t color, const std::string& tabName,
                  const QString& caption, int startPage = 0);
    std::uint32_t GetTabColor() const { return m_page ? m_page->GetBackColor() : 0x00C0C0C0; }
    std::string GetTabName() const { return m_page ? m_page->GetTabName() : std::string(10, ' '); }
    CAppearancePage* Page() const { return m_page; }

private:
    CAppearancePage* m_page = nullptr;
};
