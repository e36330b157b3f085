#pragma once
#include <memory>

#include "graphics/pages/CGraphPage.h"
#include "platform/ui/MessageBus.h"

namespace Ui {
class CSliderAdvancedPage;
}
namespace tvane {
class CQmxSpinButton;
}
class CSliderFrame;
class QLineEdit;

// The slider display's Advanced page: the orientation and the limits apply
// to the slider at once (Cancel keeps them), the resolution when the page is
// left. Each field is checked against the others as they stand.
class CSliderAdvancedPage final : public CGraphPage, public tvane::MessageTarget {
    Q_OBJECT
public:
    CSliderAdvancedPage(int dialogId = 195, int pageId = 143);
    ~CSliderAdvancedPage() override;

    QLineEdit* LowerEdit() const;
    QLineEdit* UpperEdit() const;
    QLineEdit* ResolutionEdit() const;
    tvane::CQmxSpinButton* LowerSpin() const { return m_lowerSpin; }
    tvane::CQmxSpinButton* UpperSpin() const { return m_upperSpin; }
    // The spin buttons' steps.
    long OnMessage(const tvane::Message& message) override;

protected:
    void OnInitPage() override;
    bool OnKillActive() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CSliderFrame* Slider() const;
    // The fields read and checked in order; a refused one is selected with
    // the range message.
    bool Exchange();
    void LowerLeft();
    void UpperLeft();
    void ApplyLower();
    void ApplyUpper();
    void TieSpins();
    void ShowFields();

    std::unique_ptr<Ui::CSliderAdvancedPage> m_ui;
    tvane::CQmxSpinButton* m_lowerSpin = nullptr;
    tvane::CQmxSpinButton* m_upperSpin = nullptr;
    double m_lower = -12.0;
    double m_upper = 12.0;
    double m_resolution = 1.0;
    double m_value = 0.0;
};
