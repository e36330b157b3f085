#include "app/frame/QtServices.h"

#include <chrono>
#include <thread>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

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
