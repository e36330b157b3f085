#include "app/frame/QtServices.h"

#include <chrono>
#include <thread>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace {

QString Q(const std::string& text) {
    return QString::fromUtf8(text.c_str(), qsizetype(text.size()));
}

struct ButtonAnswer {
    QMessageBox::StandardButton button;
    tvane::MsgAnswer answer;
};

std::vector<ButtonAnswer> ButtonsOf(tvane::MsgButtons buttons) {
    using A = tvane::MsgAnswer;
    switch (buttons) {
    case tvane::MsgButtons::Ok:
        return {{QMessageBox::Ok, A::Ok}};
    case tvane::MsgButtons::OkCancel:
        return {{QMessageBox::Ok, A::Ok}, {QMessageBox::Cancel, A::Cancel}};
    case tvane::MsgButtons::YesNo:
        return {{QMessageBox::Yes, A::Yes}, {QMessageBox::No, A::No}};
    case tvane::MsgButtons::YesNoCancel:
        return {
            {QMessageBox::Yes, A::Yes}, {QMessageBox::No, A::No}, {QMessageBox::Cancel, A::Cancel}};
    case tvane::MsgButtons::RetryCancel:
        return {{QMessageBox::Retry, A::Retry}, {QMessageBox::Cancel, A::Cancel}};
    case tvane::MsgButtons::AbortRetryIgnore:
        return {{QMessageBox::Abort, A::Abort},
                {QMessageBox::Retry, A::Retry},
                {QMessageBox::Ignore, A::Ignore}};
    }
    return {{QMessageBox::Ok, A::Ok}};
}

QMessageBox::Icon IconOf(tvane::MsgIcon icon) {
    switch (icon) {
    case tvane::MsgIcon::Information:
        return QMessageBox::Information;
    case tvane::MsgIcon::Warning:
        return QMessageBox::Warning;
    case tvane::MsgIcon::Error:
        return QMessageBox::Critical;
    case tvane::MsgIcon::Question:
        return QMessageBox::Question;
    case tvane::MsgIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

bool QtTimerService::SetTimer(unsigned id, unsigned elapseMs) {
    QTimer*& timer = m_timers[id];
    if (!timer) {
        timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, [this, id] {
            if (m_sink)
                m_sink->OnTimer(id);
        });
    }
    timer->start(int(elapseMs));
    return true;
}

void QtTimerService::KillTimer(unsigned id) {
    auto it = m_timers.find(id);
    if (it != m_timers.end())
        it->second->stop();
}

bool QtTimerService::IsActive(unsigned id) const {
    auto it = m_timers.find(id);
    return it != m_timers.end() && it->second->isActive();
}

int QtTimerService::Interval(unsigned id) const {
    auto it = m_timers.find(id);
    return it == m_timers.end() ? -1 : it->second->interval();
}

tvane::MsgAnswer QtPrompter::Ask(const tvane::MessageRequest& request) {
    QMessageBox box(IconOf(request.icon), Q(request.caption.empty() ? "Tvane" : request.caption),
                    Q(request.text), QMessageBox::NoButton, QApplication::activeWindow());
    const auto buttons = ButtonsOf(request.buttons);
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        QPushButton* b = box.addButton(buttons[i].button);
        if (int(i) == request.defaultButton)
            box.setDefaultButton(b);
    }
    if (request.helpId != 0) {
        // Help shows the context and keeps the box open, as a help button does.
        QPushButton* help = box.addButton(QMessageBox::Help);
        help->disconnect();
        const unsigned id = request.helpId;
        QObject::connect(help, &QPushButton::clicked, [id] { tvane::Help().ShowContext(id); });
    }
    box.exec();
    const auto clicked = box.standardButton(box.clickedButton());
    for (const auto& b : buttons)
        if (b.button == clicked)
            return b.answer;
    // Closed without a button (Escape): the box's cancelling answer.
    for (const auto& b : buttons)
        if (b.answer == tvane::MsgAnswer::Cancel || b.answer == tvane::MsgAnswer::No)
            return b.answer;
    return buttons.front().answer;
}

void QtPrompter::Beep(tvane::MsgIcon) {
    QApplication::beep();
}

void QtHelp::ShowContext(unsigned helpId) {
    QMessageBox::information(QApplication::activeWindow(), "Tvane Help",
                             QString("No help page is installed for topic %1.").arg(helpId));
}

void QtHelp::ShowContents() {
    QMessageBox::information(QApplication::activeWindow(), "Tvane Help",
                             "No help pages are installed.");
}

tvane::LocaleFormats QtLocaleFormats::Formats() const {
    tvane::LocaleFormats f;
    const QString shortTime = m_locale.timeFormat(QLocale::ShortFormat);
    const QString shortDate = m_locale.dateFormat(QLocale::ShortFormat);
    // The separators are the first non-letter between the fields.
    auto separator = [](const QString& pattern, const QString& fallback) {
        for (QChar c : pattern)
            if (!c.isLetter() && !c.isSpace() && c != '\'')
                return QString(c);
        return fallback;
    };
    f.timeSeparator = separator(shortTime, ":").toStdString();
    f.dateSeparator = separator(shortDate, "/").toStdString();
    f.am = m_locale.amText().left(10).toStdString();
    f.pm = m_locale.pmText().left(10).toStdString();
    f.shortDate = shortDate.left(15).toStdString();
    f.twentyFourHour = !shortTime.contains('a', Qt::CaseInsensitive);
    f.timeFormat = m_locale.timeFormat(QLocale::LongFormat).toStdString();
    f.decimalSeparator = QString(m_locale.decimalPoint()).toStdString();
    if (f.decimalSeparator == ",")
        f.listSeparator.assign(1, ';');
    f.languageName = QLocale::languageToString(m_locale.language()).toStdString();
    f.countryName = QLocale::territoryToString(m_locale.territory()).toStdString();
    return f;
}

void QtMessagePump::Pump() {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    // Pumping is how a transport waits for its instrument: give the processor
    // back for a moment rather than spin through the whole wait.
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
}
