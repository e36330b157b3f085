#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/sheet/PropertyPage.h"
#include "platform/sheet/PropertySheet.h"
#include "setup/ISheetDocument.h"

class IColorPicker;
namespace Ui {
class MonitorPage;
}

// "Settings" of the monitor channel: which channel, its number format, the
// display's two colours and the refresh rate in seconds.
class CMonitorPropPage final : public tvane::PropertyPage {
    Q_OBJECT
public:
    CMonitorPropPage(ISheetDocument* document, IColorPicker* picker);
    ~CMonitorPropPage() override;

    long m_channel = 0;
    std::uint32_t m_background = 0;
    std::uint32_t m_text = 0;
    int m_format = 0; // 0 Decimal, 1 Hex
    unsigned m_refreshRate = 1;

    Ui::MonitorPage& Controls() { return *m_ui; }

protected:
    void OnInitPage() override;
    bool OnKillActive() override;

private:
    void UpdateFormatControls();
    void OnChangeColor();
    void ShowSample();

    std::unique_ptr<Ui::MonitorPage> m_ui;
    ISheetDocument* m_document;
    IColorPicker* m_picker;
    std::vector<ISheetDocument::Channel> m_channels;
};

// "Monitor Channel Properties": the one page, filled and read by the caller.
class CMonitorPropSheet final : public tvane::PropertySheet {
    Q_OBJECT
public:
    CMonitorPropSheet(const QString& caption, ISheetDocument* document, IColorPicker* picker,
                      QWidget* parent = nullptr);

    void SetMonitorChannel(long channel) { m_page->m_channel = channel; }
    long GetMonitorChannel() const { return m_page->m_channel; }
    void SetRefreshRate(unsigned seconds) { m_page->m_refreshRate = seconds; }
    unsigned GetRefreshRate() const { return m_page->m_refreshRate; }
    void SetColor0(std::uint32_t colour) { m_page->m_background = colour; }
    std::uint32_t GetColor0() const { return m_page->m_background; }
    void SetColor1(std::uint32_t colour) { m_page->m_text = colour; }
    std::uint32_t GetColor1() const { return m_page->m_text; }
    void SetFormat(int format) { m_page->m_format = format; }
    int GetFormat() const { return m_page->m_format; }
    CMonitorPropPage& Page() { return *m_page; }

private:
    CMonitorPropPage* m_page;
};
