#include "graphics/displays/slider/CSliderWnd.h"

#include <algorithm>
#include <cmath>

#include "graphics/DisplayFamily.h"
#include "graphics/IGraphDC.h"
#include "graphics/displays/indicator/GaugeParts.h"
#include "graphics/displays/slider/SliderRules.h"
#include "graphics/displays/slider/SliderTexts.h"
#include "platform/archive/CArchive.h"

IMPLEMENT_SERIAL(CSliderWnd, tvane::CObject, 0)

namespace {

// The width the limit texts are given beyond their own, as a character of
// the font is wide on average.
int AverageCharWidth(IGraphDC& dc) {
    return dc.TextWidth("x");
}

GRect United(const GRect& a, const GRect& b) {
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

GRect Intersected(const GRect& a, const GRect& b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}

void WriteRect(tvane::CArchive& ar, const GRect& r) {
    ar << r.left << r.top << r.right << r.bottom;
}

GRect ReadRect(tvane::CArchive& ar) {
    GRect r;
    ar >> r.left >> r.top >> r.right >> r.bottom;
    return r;
}

} // namespace

CSliderWnd::~CSliderWnd() {
    DestroyWindow();
}

bool CSliderWnd::MakeWindow(IGraphFrameWindow& frame, const GRect& rect) {
    ISliderWindows* maker = displays::Windows<ISliderWindows>::Get();
    m_window = maker ? maker->CreateSliderWindow(frame, *this, rect) : nullptr;
    return m_window != nullptr;
}

bool CSliderWnd::Create(IGraphFrameWindow& frame, ISliderOwner& owner, const GRect& rect,
                        const LOGFONT& font, std::int32_t id) {
    m_owner = &owner;
    if (!MakeWindow(frame, rect))
        return false;
    m_font = std::make_unique<CMfxFont>();
    m_font->SetColor(kDefaultText);
    if (!m_font->SetLogFont(font))
        gauge::CreateFailed(kSourceModule, __LINE__);
    m_id = id;
    m_thumbRect = m_window->GetClientRect();
    m_previousNotifyId = m_notifyId;
    m_notifyId = m_id;
    OnSize();
    return true;
}

bool CSliderWnd::Recreate(IGraphFrameWindow& frame, ISliderOwner& owner, const GRect& rect) {
    m_owner = &owner;
    if (!m_font || !MakeWindow(frame, rect))
        return false;
    if (!m_font->IsCreated() && !m_font->CreateFont())
        return false;
    m_previousNotifyId = m_notifyId;
    m_notifyId = m_id;
    OnSize();
    return true;
}

void CSliderWnd::DestroyWindow() {
    m_window.reset();
    m_repeating = false;
}

bool CSliderWnd::SetValue(double value, bool redraw, bool snap) {
    const GRect before = m_model.Thumb();
    const bool changed = m_model.SetValue(value, snap);
    if (redraw && m_window && (changed || !m_model.InInteraction())) {
        // The groove and the thumb where it was and where it is now.
        const GRect area = United(United(m_model.Groove(), before), m_model.Thumb());
        m_window->Invalidate(&area);
        m_window->Update();
    }
    return changed;
}

void CSliderWnd::Redraw() {
    if (!m_window)
        return;
    m_window->Invalidate(nullptr);
    m_window->Update();
}

// --- Appearance ----------------------------------------------------------------------------

bool CSliderWnd::GetAppearanceItem(int item, GRAPHITEMPROPS& props) const {
    std::uint32_t supported = 0;
    gauge::GetBackTextItem(item, props, m_backColor, m_font.get(), true, supported);
    return (props.mask & ~supported) == 0;
}

bool CSliderWnd::SetAppearanceItem(int item, const GRAPHITEMPROPS& props, bool redraw) {
    std::uint32_t supported = 0;
    gauge::SetBackTextItem(item, props, m_backColor, m_font.get(), true, supported);
    if (redraw)
        Redraw();
    return (props.mask & ~supported) == 0;
}

// --- Drawing -------------------------------------------------------------------------------

void CSliderWnd::Layout(const GRect& client) {
    int lower = 0, upper = 0, height = 0, extra = 0;
    if (m_window && m_font) {
        const LOGFONT& font = m_font->GetLogFont();
        if (auto size = m_window->MeasureText(font, "x"))
            extra = size->x;
        if (auto size = m_window->MeasureText(font, m_model.LowerText())) {
            lower = size->x;
            height = size->y;
        }
        if (auto size = m_window->MeasureText(font, m_model.UpperText()))
            upper = size->x;
    }
    m_model.SetTrack(SliderModel::LayoutTrack(client, m_model.GetOrientation(), lower + extra,
                                              upper + extra, height));
}

bool CSliderWnd::Draw(IGraphDC& dc, const GRect& rect) {
    // The control draws itself in its own pixels wherever it is put.
    dc.Save();
    dc.Offset(rect.left, rect.top);
    const GRect client{0, 0, rect.Width(), rect.Height()};
    // The window keeps the layout of its own size for the mouse.
    const GRect track = m_model.Track();
    const GRect thumb = m_thumbRect;
    const GRect groove = m_grooveRect;
    DrawClient(dc, client, false);
    m_model.SetTrack(track);
    m_thumbRect = thumb;
    m_grooveRect = groove;
    dc.Restore();
    return true;
}

void CSliderWnd::Paint(IGraphDC& dc, const GRect& client) {
    DrawClient(dc, client, true);
}

void CSliderWnd::DrawClient(IGraphDC& dc, const GRect& rect, bool window) {
    dc.Save();
    if (m_font)
        dc.SetFont(m_font->GetLogFont());
    const std::uint32_t textColor = m_font ? m_font->GetColor() : kDefaultText;
    const int textHeight = dc.TextHeight();
    const bool horizontal = m_model.GetOrientation() == SliderModel::kHorizontal;
    const int middle = (rect.left + rect.right) / 2;

    if (!m_owner || !m_owner->SliderHasChannel()) {
        dc.FillRect(rect, m_backColor);
        const std::string text = SliderTexts().Load(slidertext::kNoConnection);
        const GPoint at{middle - dc.TextWidth(text) / 2, (rect.top + rect.bottom - textHeight) / 2};
        dc.Text(at, text, textColor, &rect);
        dc.Restore();
        return;
    }

    const bool interacting = m_model.InInteraction();
    dc.FillRect(interacting ? Intersected(rect, m_thumbRect) : rect, m_backColor);
    const int average = AverageCharWidth(dc);
    const int lowerWidth = dc.TextWidth(m_model.LowerText()) + average;
    const int upperWidth = dc.TextWidth(m_model.UpperText()) + average;
    // The window lays its track out as its size does, so that a stored
    // slider holds the same geometry however often it was painted.
    if (window && m_window)
        Layout(rect);
    else
        m_model.SetTrack(SliderModel::LayoutTrack(rect, m_model.GetOrientation(), lowerWidth,
                                                  upperWidth, textHeight));
    const GRect track = m_model.Track();
    m_thumbRect = m_model.Thumb();
    m_grooveRect = m_model.Groove();

    if (!interacting) {
        if (horizontal) {
            const int y = track.top + static_cast<int>(track.Height() / 2.0 - textHeight / 2.0);
            dc.Text({rect.left + average, y}, m_model.LowerText(), textColor, &rect);
            dc.Text({track.right + average, y}, m_model.UpperText(), textColor, &rect);
        } else {
            const int x = (track.left + track.right) / 2;
            const auto centred = [&](const std::string& text, int a, int b) {
                const int y = static_cast<int>((a + b) / 2.0 - textHeight / 2.0);
                dc.Text({x - dc.TextWidth(text) / 2, y}, text, textColor, &rect);
            };
            centred(m_model.UpperText(), rect.top, track.top);
            centred(m_model.LowerText(), track.bottom, rect.bottom);
        }
        // Ticks: 3 pixels outward from both sides of the thumb's room.
        const GRect room = m_thumbRect.Deflated(-2);
        const std::vector<std::int32_t> ticks = m_model.TickPositions();
        for (std::size_t i = 0; i < ticks.size(); ++i) {
            const int t = ticks[i];
            if (horizontal) {
                const int inside = (i == 0 || i + 1 == ticks.size()) ? 1 : 0;
                dc.Line({t, room.top + inside}, {t, room.top - 3}, textColor);
                dc.Line({t, room.bottom - inside}, {t, room.bottom + 3}, textColor);
            } else {
                dc.Line({room.left, t}, {room.left - 3, t}, textColor);
                dc.Line({room.right, t}, {room.right + 3, t}, textColor);
            }
        }
        if (m_window && m_window->HasFocus()) {
            const GRect f = horizontal
                                ? GRect{rect.left + 2, rect.top, rect.right - 2, rect.bottom}
                                : GRect{rect.left, rect.top + 3, rect.right, rect.bottom - 3};
            Draw3dRect(dc, f, graphcolor::kBlack, graphcolor::kBlack);
        }
    }
    dc.FillRect(m_grooveRect, m_backColor);
    Draw3dBorder(dc, m_grooveRect, false);
    dc.FillRect(m_thumbRect, m_backColor);
    Draw3dBorder(dc, m_thumbRect, true);
    dc.Restore();
}

// --- Input ---------------------------------------------------------------------------------

void CSliderWnd::Apply(const SliderModel::Outcome& outcome, const GRect& thumbBefore) {
    if (m_window) {
        if (outcome.capture) {
            m_window->SetFocus();
            m_window->SetCapture();
        }
        if (outcome.stopTimer && m_repeating) {
            m_window->StopTimer(SliderModel::kRepeatTimerId);
            m_repeating = false;
        }
        if (outcome.startTimer) {
            m_window->StartTimer(SliderModel::kRepeatTimerId, SliderModel::kRepeatMs);
            m_repeating = true;
        }
        if (outcome.release)
            m_window->ReleaseCapture();
        if (outcome.valueChanged) {
            const GRect area = United(United(m_model.Groove(), thumbBefore), m_model.Thumb());
            m_window->Invalidate(&area);
            m_window->Update();
        }
    }
    m_lastStepState = static_cast<std::int32_t>(m_model.GetState());
    if (outcome.code && m_owner)
        m_owner->OnSliderScroll(*outcome.code);
}

void CSliderWnd::OnMouse(Mouse event, GPoint point) {
    const GRect before = m_model.Thumb();
    switch (event) {
    case Mouse::LeftDown:
    case Mouse::LeftDouble:
        Apply(m_model.Press(point, m_repeating), before);
        break;
    case Mouse::Move:
        // A held click steps by the timer; only a drag follows the mouse.
        if (!m_repeating)
            Apply(m_model.Move(point), before);
        break;
    case Mouse::LeftUp:
        if (m_model.InInteraction() || m_repeating) {
            Apply(m_model.Release(), before);
            Redraw();
        }
        break;
    case Mouse::RightDown:
        break;
    }
}

bool CSliderWnd::OnKeyDown(SliderModel::Key key) {
    const GRect before = m_model.Thumb();
    const SliderModel::Outcome outcome = m_model.KeyDown(key);
    if (outcome.forwardKey) {
        if (m_owner)
            m_owner->OnSliderTab();
        return true;
    }
    if (!outcome.code)
        return false;
    Apply(outcome, before);
    return true;
}

void CSliderWnd::OnEnterKey() {
    if (m_owner)
        m_owner->OnSliderEnter();
}

void CSliderWnd::OnKeyUp() {
    Apply(m_model.KeyUp(), m_model.Thumb());
}

void CSliderWnd::OnTimer(int id) {
    if (id != SliderModel::kRepeatTimerId || !m_window)
        return;
    const GRect before = m_model.Thumb();
    Apply(m_model.Repeat(m_window->CursorPos()), before);
}

void CSliderWnd::OnSize() {
    if (!m_window)
        return;
    Layout(m_window->GetClientRect());
    SetValue(m_model.Value(), true, false);
    SetResolution(m_model.Resolution());
    Redraw();
}

void CSliderWnd::OnCancelMode() {
    // The interaction ends without its end code: nothing is written.
    Apply(m_model.Cancel(m_repeating), m_model.Thumb());
    Redraw();
}

// --- Archive -------------------------------------------------------------------------------

void CSliderWnd::Serialize(tvane::CArchive& ar) {
    if (ar.IsStoring()) {
        ar << m_buttonFields[0] << m_buttonFields[1];
        ar << static_cast<std::uint16_t>(m_notifyId) << m_model.StepPixels();
        ar << m_model.Resolution() << m_model.Lower() << m_model.Upper();
        ar << m_model.LowerText() << m_model.UpperText() << m_model.Span();
        // The thumb and the groove as the value places them now.
        WriteRect(ar, m_model.Track());
        WriteRect(ar, m_model.Thumb());
        WriteRect(ar, m_model.Groove());
        ar << m_backColor;
        ar.WriteObject(m_font.get());
        ar << static_cast<std::uint16_t>(m_id) << m_previousNotifyId << m_lastStepState;
        ar << m_model.Value() << m_model.GetOrientation();
        return;
    }
    std::uint16_t notifyId = 0, id = 0;
    std::int32_t stepPixels = 0, orientation = 0;
    double resolution = 0.0, lower = 0.0, upper = 0.0, span = 0.0, value = 0.0;
    std::string lowerText, upperText;
    ar >> m_buttonFields[0] >> m_buttonFields[1] >> notifyId >> stepPixels;
    ar >> resolution >> lower >> upper >> lowerText >> upperText >> span;
    const GRect track = ReadRect(ar);
    m_thumbRect = ReadRect(ar);
    m_grooveRect = ReadRect(ar);
    ar >> m_backColor;
    m_font = ar.ReadOwnedObject<CMfxFont>();
    ar >> id >> m_previousNotifyId >> m_lastStepState >> value >> orientation;
    // A resolution of 0 or limits out of order would leave the page steps
    // and the snap without an end.
    if (!sliderrules::UsableSettings(lower, upper, resolution))
        gauge::Reject("slider limits or resolution out of range");
    if (!std::isfinite(value))
        gauge::Reject("slider value out of range");
    if (orientation != SliderModel::kHorizontal && orientation != SliderModel::kVertical)
        gauge::Reject("slider orientation out of range");
    if (!m_font)
        gauge::Reject("slider font missing");
    m_notifyId = notifyId;
    m_id = id;
    m_model.SetOrientation(orientation);
    m_model.SetRange(lower, upper);
    m_model.SetTrack(track);
    m_model.SetResolution(resolution);
    m_model.SetStepPixels(stepPixels);
    m_model.SetValue(value, false);
}
