#include "graphics/displays/text/CTextBoxWnd.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPalette>
#include <QTextBlock>
#include <QTextLayout>

#include "graphics/CGraphFrame.h"
#include "graphics/DisplayFamily.h"
#include "graphics/view/CGraphFrameWnd.h"
#include "graphics/view/QtGraphDC.h"
#include "platform/widgets/QtText.h"

namespace {

QtTextBoxWindows g_textBoxWindows;
const displays::Windows<ITextBoxWindows>::Registration kTextBoxWindows{g_textBoxWindows};

} // namespace

std::unique_ptr<ITextBoxWindow> QtTextBoxWindows::CreateTextBox(IGraphFrameWindow& frame,
                                                                CTextBox& box, const GRect& rect) {
    auto* window = dynamic_cast<CGraphFrameWnd*>(&frame);
    if (!window)
        return nullptr;
    auto edit = std::make_unique<CTextBoxWnd>(box, *window, rect);
    edit->show();
    return edit;
}

CTextBoxWnd::CTextBoxWnd(CTextBox& box, CGraphFrameWnd& frame, const GRect& rect)
    : QPlainTextEdit(frame.Client()), m_box(box), m_frame(frame) {
    setObjectName("textbox");
    setFrameShape(QFrame::NoFrame);
    setGeometry(ToQRect(rect));
    setTabChangesFocus(false);
    // An edit box without scroll bars, as the box is made.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    if (!box.m_acceptTabEnter) {
        // A box that takes no Enter holds one line: all of it for the text.
        document()->setDocumentMargin(0);
        setLineWrapMode(QPlainTextEdit::NoWrap);
    }
}

void CTextBoxWnd::MoveWindow(const GRect& rect, bool repaint) {
    setGeometry(ToQRect(m_box.m_outline ? rect.Deflated(2) : rect));
    if (repaint)
        update();
}

std::string CTextBoxWnd::GetText() const {
    return tvane::ToUtf8(toPlainText());
}

void CTextBoxWnd::SetText(const std::string& text) {
    setPlainText(tvane::ToQString(text));
}

std::vector<std::string> CTextBoxWnd::GetLines() const {
    std::vector<std::string> lines;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        const QTextLayout* layout = block.layout();
        if (!layout || layout->lineCount() == 0) {
            lines.push_back(tvane::ToUtf8(block.text()));
            continue;
        }
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            lines.push_back(tvane::ToUtf8(block.text().mid(line.textStart(), line.textLength())));
        }
    }
    return lines;
}

void CTextBoxWnd::SetFont(const LOGFONT& font) {
    setFont(LogFontToQFont(font));
}

void CTextBoxWnd::SetColors(std::uint32_t background, std::uint32_t text) {
    QPalette p = palette();
    p.setColor(QPalette::Base, ToQColor(background));
    p.setColor(QPalette::Text, ToQColor(text));
    setPalette(p);
}

void CTextBoxWnd::Redraw() {
    viewport()->update();
}

GRect CTextBoxWnd::GetRectInFrame() const {
    return ToGRect(geometry());
}

bool CTextBoxWnd::event(QEvent* event) {
    // A display that acts on Tab in its box hears of it before the page's
    // focus chain does.
    if (event->type() == QEvent::KeyPress && m_box.GetKeys()) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab && m_box.GetKeys()->OnBoxKey('\t'))
            return true;
    }
    return QPlainTextEdit::event(event);
}

void CTextBoxWnd::keyPressEvent(QKeyEvent* event) {
    if (m_box.GetKeys() && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        m_box.GetKeys()->OnBoxKey('\r'))
        return;
    const QString text = event->text();
    const int ch = text.isEmpty() ? 0 : text.at(0).unicode();
    const bool tabOrEnter = event->key() == Qt::Key_Tab || event->key() == Qt::Key_Return ||
                            event->key() == Qt::Key_Enter;
    if (!text.isEmpty() || tabOrEnter) {
        const int typed = event->key() == Qt::Key_Tab ? '\t' : tabOrEnter ? '\r' : ch;
        m_frame.Frame().MarkLayoutChanged(true);
        if (!m_box.AcceptsChar(typed))
            return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void CTextBoxWnd::mousePressEvent(QMouseEvent* event) {
    m_frame.Frame().OnLButtonDown();
    if (event->button() == Qt::RightButton) {
        m_frame.ShowContextMenu(event->globalPosition().toPoint());
        return;
    }
    QPlainTextEdit::mousePressEvent(event);
}

void CTextBoxWnd::contextMenuEvent(QContextMenuEvent* event) {
    event->accept(); // the page's menu, shown on the press
}
