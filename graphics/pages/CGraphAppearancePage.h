#pragma once
#include <memory>

#include "graphics/pages/CGraphPage.h"

namespace Ui {
class CGraphAppearancePage;
}

// The Appearance page of every display: the colours, fonts and labels the
// display names, each change applied to the display at once.
class CGraphAppearancePage final : public CGraphPage {
    Q_OBJECT
public:
    CGraphAppearancePage(int dialogId = 140, int pageId = 200);
    ~CGraphAppearancePage() override;

    long OnQuerySiblings(int code) override;
    Ui::CGraphAppearancePage& Form() const { return *m_ui; }
    // The colour of the chosen colour entry, as the swatch shows it.
    std::uint32_t SwatchColor() const { return m_swatchColor; }
    void ChangeColor();
    void ChangeFont();

protected:
    void OnInitPage() override;

private:
    bool FillLists();
    void ShowColor();
    void ShowFont();
    void ShowLabel();
    void ApplyLabel(const QString& text);
    GRAPHITEMPROPS Entry(int list, std::uint32_t mask, int& item) const;

    std::unique_ptr<Ui::CGraphAppearancePage> m_ui;
    std::uint32_t m_swatchColor = 0;
    bool m_showing = false;
};
