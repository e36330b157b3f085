#include "graphics/displays/text/CTextBox.h"

#include "graphics/DisplayFamily.h"
#include "graphics/GraphicsTexts.h"
#include "graphics/IGraphDC.h"
#include "graphics/IGraphFrameWindow.h"
#include "platform/archive/CArchive.h"
#include "shared/CGraphException.h"

IMPLEMENT_SERIAL(CTextBox, tvane::CObject, 0)

namespace {

constexpr int kCreateLine = 100;
constexpr const char* kModuleStamp = "Tue May 14 12:16:24 2002";

std::unique_ptr<ITextBoxWindow> MakeWindow(IGraphFrameWindow& parent, CTextBox& box,
                                           const GRect& rect) {
    ITextBoxWindows* windows = displays::Windows<ITextBoxWindows>::Get();
    return windows ? windows->CreateTextBox(parent, box, rect) : nullptr;
}

} // namespace

CTextBox::~CTextBox() = default;

bool CTextBox::Create(IGraphFrameWindow& parent, const GRect& rect, const LOGFONT& font) {
    m_window = MakeWindow(parent, *this, WindowRect(rect));
    if (!m_window)
        throw CGraphException(CGraphException::CreateFailed, CMfxException::Warning, nullptr,
                              kSourceModule, kCreateLine, kModuleStamp);
    m_font.SetColor(m_textColor);
    if (!m_font.SetLogFont(font))
        return false;
    m_window->SetFont(m_font.GetLogFont());
    m_brush.CreateBrush(m_backColor, CMfxBrush::kSolid);
    m_window->SetColors(m_backColor, m_textColor);
    return true;
}

bool CTextBox::Recreate(IGraphFrameWindow& parent, const GRect& rect) {
    m_window = MakeWindow(parent, *this, WindowRect(rect));
    if (!m_window)
        throw CGraphException(CGraphException::CreateFailed, CMfxException::Warning, nullptr,
                              kSourceModule, kCreateLine, kModuleStamp);
    m_font.CreateFont();
    m_font.SetColor(m_textColor);
    m_window->SetFont(m_font.GetLogFont());
    m_brush.Recreate();
    m_window->SetColors(m_brush.GetColor(), m_textColor);
    m_window->SetText(m_text);
    return true;
}

void CTextBox::DestroyWindow() {
    if (m_window)
        m_text = m_window->GetText();
    m_window.reset();
}

std::string CTextBox::GetText() const {
    return m_window ? m_window->GetText() : m_text;
}

void CTextBox::SetText(const std::string& text) {
    m_text = text;
    if (m_window)
        m_window->SetText(text);
}

bool CTextBox::Draw(IGraphDC& dc, const GRect* rect) {
    dc.Save();
    const GRect r = rect ? *rect
                         : (m_window ? GRect{0, 0, m_window->GetRectInFrame().Width(),
                                             m_window->GetRectInFrame().Height()}
                                     : GRect{});
    dc.Rectangle(r, m_backColor);
    if (m_outline) {
        const GRect o = r.Deflated(-2);
        Draw3dRect(dc, o, graphcolor::kGrey, graphcolor::kWhite);
        Draw3dRect(dc, o.Deflated(1), graphcolor::kBlack, graphcolor::kSilver);
    }
    dc.SetFont(m_font.GetLogFont());
    const int height = dc.TextHeight();
    std::vector<std::string> lines;
    if (m_window) {
        lines = m_window->GetLines();
    } else {
        std::string line;
        for (char c : m_text) {
            if (c == '\n') {
                lines.push_back(line);
                line.clear();
            } else if (c != '\r') {
                line += c;
            }
        }
        lines.push_back(line);
    }
    int y = r.top;
    for (const std::string& line : lines) {
        dc.Text({r.left, y}, line, m_textColor, &r);
        y += height;
    }
    dc.Restore();
    return true;
}

bool CTextBox::GetAppearanceItem(int item, GRAPHITEMPROPS& props) const {
    std::uint32_t handled = 0;
    if (item == GRAPHITEMPROPS::kBackground) {
        handled = GRAPHITEMPROPS::kName | GRAPHITEMPROPS::kColor;
        if (props.mask & GRAPHITEMPROPS::kName)
            props.itemName = GraphicsTexts().Load(203);
        if (props.mask & GRAPHITEMPROPS::kColor)
            props.color = m_backColor;
    } else if (item == GRAPHITEMPROPS::kText) {
        handled = GRAPHITEMPROPS::kName | GRAPHITEMPROPS::kColor | GRAPHITEMPROPS::kFont;
        if (props.mask & GRAPHITEMPROPS::kName)
            props.itemName = GraphicsTexts().Load(205);
        if (props.mask & GRAPHITEMPROPS::kColor)
            props.color = m_textColor;
        if (props.mask & GRAPHITEMPROPS::kFont)
            props.font = m_font.GetLogFont();
    }
    return (props.mask & ~handled) == 0;
}

bool CTextBox::SetAppearanceItem(int item, const GRAPHITEMPROPS& props, bool repaint) {
    std::uint32_t handled = 0;
    if (item == GRAPHITEMPROPS::kBackground) {
        handled = GRAPHITEMPROPS::kName | GRAPHITEMPROPS::kColor;
        if (props.mask & GRAPHITEMPROPS::kColor) {
            m_backColor = props.color;
            m_brush.CreateBrush(m_backColor, CMfxBrush::kSolid);
        }
    } else if (item == GRAPHITEMPROPS::kText) {
        handled = GRAPHITEMPROPS::kName | GRAPHITEMPROPS::kColor | GRAPHITEMPROPS::kFont;
        if (props.mask & GRAPHITEMPROPS::kColor) {
            m_textColor = props.color;
            m_font.SetColor(props.color);
        }
        if (props.mask & GRAPHITEMPROPS::kFont) {
            m_font.SetLogFont(props.font);
            m_font.SetColor(m_textColor);
            if (m_window)
                m_window->SetFont(m_font.GetLogFont());
        }
    }
    if (m_window) {
        m_window->SetColors(m_backColor, m_textColor);
        if (repaint)
            m_window->Redraw();
    }
    return (props.mask & ~handled) == 0;
}

void CTextBox::Serialize(tvane::CArchive& ar) {
    if (ar.IsStoring()) {
        if (m_window)
            m_text = m_window->GetText();
        ar << m_outline << m_backColor << m_textColor << m_acceptTabEnter << m_text;
    } else {
        ar >> m_outline >> m_backColor >> m_textColor >> m_acceptTabEnter >> m_text;
    }
    m_font.Serialize(ar);
    if (ar.IsLoading())
        CheckStoredFont(m_font.GetLogFont());
    m_brush.Serialize(ar);
}
