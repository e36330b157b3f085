#pragma once
#include <memory>

#include "graphics/displays/xy/XYPageModels.h"
#include "graphics/pages/CGraphPage.h"

namespace Ui {
class CXYChannelPage;
}
class QLineEdit;

// The XY display's Channels page: the X and Y channels, chosen at once, and
// each axis's range and label decimals, taken when the page is left.
class CXYChannelPage final : public CGraphPage {
    Q_OBJECT
public:
    CXYChannelPage(int dialogId = 178, int pageId = 146);
    ~CXYChannelPage() override;

    Ui::CXYChannelPage& Form() const { return *m_ui; }

protected:
    void OnInitPage() override;
    bool OnKillActive() override;

private:
    void ShowAxis(const XYChannelPageModel::Axis& axis, QLineEdit* minimum, QLineEdit* maximum,
                  QLineEdit* precision);
    // The edits' values; false with the field and message of one that is no number.
    bool Read(XYChannelPageModel::Values& values, QLineEdit*& field, std::string& message) const;
    QLineEdit* Edit(XYChannelPageModel::Field field) const;

    std::unique_ptr<Ui::CXYChannelPage> m_ui;
    std::unique_ptr<XYChannelPageModel> m_model;
    XYChannelPageModel::Values m_values;
};
