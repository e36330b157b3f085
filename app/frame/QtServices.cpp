#include "app/frame/QtServices.h"

#include <chrono>
#include <thread>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "platform/widgets/QtPrompter.h"

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

namespace {

void ShowHelpBox(const QString& text) {
    QMessageBox box(QMessageBox::Information, "Tvane Help", text);
    tvane::PlaceOverActiveWindow(box);
    box.exec();
}

} // namespace

void QtHelp::ShowContext(unsigned helpId) {
    ShowHelpBox(QString("No help page is installed for topic %1.").arg(helpId));
}

void QtHelp::ShowContents() {
    ShowHelpBox("No help pages are installed.");
}

namespace {

// Qt's time picture in the form the formats carry: Qt's "t" is the time zone,
// which they have no field for, and its "AP"/"ap"/"A"/"a" is the designator
// "tt". A 24-hour clock gets no designator: "19:05:21 PM" says the hour twice.
std::string TimePicture(const QString& qt) {
    QString out;
    bool hasTwelveHour = false;
    for (qsizetype i = 0; i < qt.size();) {
        const QChar c = qt[i];
        if (c == '\'') {
            const qsizetype end = qt.indexOf('\'', i + 1);
            const qsizetype stop = end < 0 ? qt.size() : end + 1;
            out += qt.mid(i, stop - i);
            i = stop;
            continue;
        }
        qsizetype run = 1;
        while (i + run < qt.size() && qt[i + run] == c)
            ++run;
        if (c == 't') {
            while (out.endsWith(' '))
                out.chop(1);
        } else if (c == 'A' || c == 'a') {
            out += "tt";
            if (i + run < qt.size() && (qt[i + run] == 'P' || qt[i + run] == 'p'))
                ++run;
        } else {
            hasTwelveHour = hasTwelveHour || c == 'h';
            out += qt.mid(i, run);
        }
        i += run;
    }
    if (!hasTwelveHour) {
        out.remove("tt");
        out = out.trimmed();
    }
    return out.toStdString();
}

} // namespace

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
    f.timeFormat = TimePicture(m_locale.timeFormat(QLocale::LongFormat));
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
