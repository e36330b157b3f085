#pragma once
#include "graphics/GraphPageRules.h"
#include "platform/sheet/PropertyPage.h"

class CChannelInfo;
class CGraphFrame;
class CGraphSheet;
class QLabel;
class QWidget;
namespace tvane {
class CSpinEdit;
}

// The base of every display property page: the display being edited (from the
// sheet, once the page is built), two pairs of value limits that follow from a
// channel's kind, the test for a Cancel in progress, and the sibling query
// through which pages tell each other that the display's channels or
// appearance items changed.
class CGraphPage : public tvane::PropertyPage {
    Q_OBJECT
public:
    CGraphPage(int dialogId, int pageId, const QString& caption);

    int DialogId() const { return m_dialogId; }
    int PageId() const { return m_pageId; }
    CGraphFrame* Frame() const { return m_frame; }
    CGraphSheet* GraphSheet() const;

    void SetFirstLimits(const CChannelInfo& channel) {
        m_limits[0] = graphpage::LimitsFor(channel);
    }
    void SetSecondLimits(const CChannelInfo& channel) {
        m_limits[1] = graphpage::LimitsFor(channel);
    }
    const graphpage::Limits& FirstLimits() const { return m_limits[0]; }
    const graphpage::Limits& SecondLimits() const { return m_limits[1]; }
    // Escape is down or the sheet's Cancel has the focus: pages skip their checks.
    bool IsCancelling() const;
    // Sends the query to every page of the sheet; 1 when sent.
    long SendSiblingQuery(int code);
    // A page's answer to a query from a sibling; 0 for queries it does not handle.
    virtual long OnQuerySiblings(int) { return 0; }

protected:
    // Takes the display from the sheet and applies the dialog font.
    void OnInitPage() override;
    // An update rate's edit (1 to 5000 scans) in place, the buddy of label,
    // found by the dialog's control id.
    static tvane::CSpinEdit* PlaceRateEdit(QWidget* place, QLabel* label, const char* controlId);

    std::string m_text;
    CGraphFrame* m_frame = nullptr;

private:
    int m_dialogId;
    int m_pageId;
    graphpage::Limits m_limits[2];
};
