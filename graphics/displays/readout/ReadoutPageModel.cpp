#include "graphics/displays/readout/ReadoutPageModel.h"

#include "graphics/displays/readout/CReadOutFrame.h"
#include "graphics/displays/readout/ReadoutText.h"

int ReadoutPageModel::HelpId() const {
    return m_frame.GetHelpId(3);
}

std::int32_t ReadoutPageModel::UpdateRate() const {
    return m_frame.GetUpdateRate();
}

void ReadoutPageModel::Update(Controls& c) const {
    const CChannelInfo* channel = m_frame.GetFirstChannel();
    if (!channel) {
        c.decimalEnabled = c.hexEnabled = false;
    } else if (channel->Kind == 1 || channel->Kind == 4) {
        c.decimalEnabled = true;
        c.hexEnabled = false;
        c.format = readouttext::kDecimal;
        m_frame.SetNumberFormat(readouttext::kDecimal);
    } else if (channel->Kind == 0x400 || channel->Kind == 2) {
        c.decimalEnabled = c.hexEnabled = true;
        c.format = m_frame.GetNumberFormat();
    }
    c.mode = m_frame.GetAcquisitionMode();
    c.rateEnabled = c.mode == CReadout::kScan;
}

void ReadoutPageModel::SetFormat(std::int32_t format) {
    m_frame.SetNumberFormat(format);
}

void ReadoutPageModel::SetMode(std::int32_t mode) {
    m_frame.SetAcquisitionMode(mode);
}

void ReadoutPageModel::SetUpdateRate(std::int32_t rate) {
    m_frame.SetUpdateRate(rate);
}
