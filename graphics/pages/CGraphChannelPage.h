#pragma once
#include <memory>

#include "graphics/pages/CGraphPage.h"
#include "scan/CChannelArray.h"

class CChannelListBox;
class QComboBox;
class QGroupBox;
class QLabel;

// The Channels page of the displays that show channels the user picks: the
// display's slots, each assigned an available channel or none, applied at once.
class CGraphChannelPage : public CGraphPage {
    Q_OBJECT
public:
    CGraphChannelPage(int dialogId = 160, int pageId = 201, const QString& caption = "Channels");
    ~CGraphChannelPage() override;

    long OnQuerySiblings(int code) override;
    CChannelListBox* SlotList() const { return m_list; }
    QComboBox* SlotCombo() const { return m_combo; }
    // Assigns the combo's entry to the selected slot (the combo's close-up).
    void ApplyChannel(int comboIndex);
    bool eventFilter(QObject* watched, QEvent* event) override;

protected:
    void OnInitPage() override;
    void ShowSlot();
    void FillSlots();
    // Fills a combo with "<None>" and, when withChannels, the available channels.
    void FillCombo(QComboBox* combo, bool withChannels);
    void Refill();
    const CChannelInfo* ChannelOf(QComboBox* combo, int index) const;

    int m_slotCount = 0;
    std::unique_ptr<CChannelArray> m_available;
    CChannelInfo m_none;
    CChannelListBox* m_list = nullptr;
    QComboBox* m_combo = nullptr;
    QLabel* m_listLabel = nullptr;
    QLabel* m_channelLabel = nullptr;
    QGroupBox* m_group = nullptr;
};

// The Channels page of the switch bank, the push buttons and the data light
// panel: the channel page for a bit display, or one port channel for the whole
// display as a byte display.
class CSwitchChannelPage final : public CGraphChannelPage {
    Q_OBJECT
public:
    CSwitchChannelPage(int dialogId = 240, int pageId = 305);

    long OnQuerySiblings(int code) override;
    QComboBox* ByteCombo() const { return m_byteCombo; }
    class QRadioButton* BitRadio() const {
        return m_bit;
    }
    class QRadioButton* ByteRadio() const {
        return m_byte;
    }
    void SetMode(bool byteDisplay);
    void ApplyByte(int comboIndex);

protected:
    void OnInitPage() override;

private:
    void EnableForMode();

    int m_mode = -1;
    QComboBox* m_byteCombo = nullptr;
    QRadioButton* m_bit = nullptr;
    QRadioButton* m_byte = nullptr;
};
