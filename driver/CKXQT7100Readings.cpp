#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>

#include "driver/CKXQT7100.h"
#include "driver/DriverStrings.h"
#include "platform/core/Format.h"

namespace tvane::driver {

namespace {

// Reads a fixed-width field as atof would, but never past the field.
double FieldDouble(const char* field, int width) {
    char text[24];
    std::memcpy(text, field, static_cast<std::size_t>(width));
    text[width] = '\0';
    return std::strtod(text, nullptr);
}

// atoi over a fixed-width field.
int FieldInt(const char* field, int width) {
    int i = 0;
    while (i < width && (field[i] == ' ' || field[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < width && (field[i] == '+' || field[i] == '-')) {
        negative = field[i] == '-';
        ++i;
    }
    int value = 0;
    for (; i < width && field[i] >= '0' && field[i] <= '9'; ++i)
        value = value * 10 + (field[i] - '0');
    return negative ? -value : value;
}

} // namespace

CKXQT7100::BlockHeader CKXQT7100::ParseBlockHeader(const char* block, std::int32_t received) const {
    BlockHeader h;
    int n = received > 1 && block[1] >= '0' && block[1] <= '9' ? block[1] - '0' : 0;
    h.headerSize = n + 2;
    if (h.headerSize > received) {
        h.headerSize = received < 0 ? 0 : received;
        return h;
    }
    std::int64_t length = 0;
    for (int i = 0; i < n; ++i) {
        char c = block[2 + i];
        if (c < '0' || c > '9')
            break;
        length = length * 10 + (c - '0');
    }
    h.byteCount = static_cast<std::int32_t>(std::min<std::int64_t>(length, 1'000'000'000));
    int len = m_format.ReadingLength();
    h.readings = (h.byteCount + 1) / len;
    h.residual = (h.byteCount + 1) % len;
    return h;
}

bool CKXQT7100::IsValidChannelId(const char* field, int number) const {
    if (number < 101 || number > 340)
        return false;
    if (m_uploadFlag)
        return true;
    return field[0] >= '1' && field[0] <= '3' && field[1] >= '0' && field[1] <= '4' &&
           field[2] >= '0' && field[2] <= '9';
}

std::int32_t CKXQT7100::ParseReadings(const char* text, std::int32_t byteCount,
                                      ReadingRecord* buffer, std::int32_t capacity, bool& ok) {
    m_lastTime = 0.0001;
    if (byteCount < 0)
        byteCount = 0;
    const int len = m_format.ReadingLength();
    const std::int32_t readings = (byteCount + 1) / len;
    const bool unitOn = m_format.unit, timeOn = m_format.time, channelOn = m_format.channel,
               alarmOn = m_format.alarm;
    std::int32_t stored = 0;
    for (std::int32_t i = 0; i < readings && stored < capacity; ++i) {
        const char* start = text + static_cast<std::ptrdiff_t>(i) * len;
        const char* p = start;
        double value = FieldDouble(p, ReadingFormat::kValueWidth);
        p += ReadingFormat::kValueWidth + 1;
        const char* unit = nullptr;
        if (unitOn) {
            unit = p;
            p += ReadingFormat::kUnitWidth + 1;
        }
        double time = 0.0;
        int error = 0;
        if (timeOn) {
            time = FieldDouble(p, ReadingFormat::kTimeWidth) * 1000.0;
            p += ReadingFormat::kTimeWidth + 1;
            if (time < m_lastTime)
                error = 1036;
            else
                m_lastTime = time;
        }
        int channel = 0;
        if (channelOn) {
            channel = FieldInt(p, ReadingFormat::kChannelWidth);
            if (!error && !IsValidChannelId(p, channel))
                error = 1037;
            p += ReadingFormat::kChannelWidth + 1;
        }
        int alarm = 0;
        if (alarmOn) {
            alarm = *p - '0';
            if (!error && (alarm < 0 || alarm > 2))
                error = 1038;
        }
        if (error) {
            WriteLogId(static_cast<unsigned>(error));
            std::int32_t offset = static_cast<std::int32_t>(start - text);
            m_log.WriteRaw(start, static_cast<std::size_t>(std::min(34, byteCount - offset)));
            SetError(error, DriverText(static_cast<unsigned>(error)));
            ok = false;
            continue;
        }
        ReadingRecord& r = buffer[stored++];
        const std::int16_t ch = static_cast<std::int16_t>(channel);
        if (m_firstReading) {
            m_firstReading = false;
            m_lowestChannel = m_previousChannel = ch;
        }
        if (ch < m_lowestChannel)
            m_lowestChannel = ch;
        if (ch == m_lowestChannel || ch == m_previousChannel ||
            (ch >= m_lowestChannel && ch < m_previousChannel))
            ++m_scanCounter;
        r.ScanNumber = m_scanCounter;
        m_previousChannel = ch;
        r.Channel = ch;
        r.AlarmState = static_cast<std::uint8_t>(alarm);
        r.Time = time;
        r.Value = value <= -kOverloadValue ? kOverloadValue : value;
        if (unit)
            std::memcpy(r.Unit, unit, 3);
    }
    return stored;
}

void CKXQT7100::ClearAfterLongAnswer(std::int32_t received, const BlockHeader& header,
                                     std::int32_t present) {
    // A block that filled the buffer and declares more than it holds left its
    // tail with the instrument, where it would be taken for the next answer.
    if (received >= kReceiveSize && header.byteCount > present && Link())
        Link()->ClearDevice();
}

bool CKXQT7100::GetReadings(ReadingRecord* buffer, std::int32_t capacity, std::int32_t* count) {
    std::int32_t dummy = 0;
    if (!count)
        count = &dummy;
    if (m_requestPending) {
        *count = 0;
        return true;
    }
    m_requestPending = true;
    *count = 0;
    ClearBuffer();
    if (capacity < 0 || !buffer)
        capacity = 0;
    if (IsSimulated()) {
        *count = SimulateReadings(buffer, capacity);
        return true;
    }
    WriteLog("-------- CKXQT7100::GetReadings function start -------\n");

    char* block = Buffer();
    std::int32_t received = 0;
    const bool receivedOk = ReceiveRaw(block, kReceiveSize, &received);
    bool result = receivedOk;
    std::string commText;
    std::int32_t commCode = 0;
    if (!receivedOk) {
        result = Link() && Link()->GetCommError(commText, commCode);
        if (commCode)
            WriteLogAlways(tvane::Format("!!!! *** Communications error - %s\n", commText.c_str()));
    }
    if (received <= 4) {
        // An empty block is no readings; no answer at all is a link that failed,
        // reported with the control's error (which reading it has cleared there).
        if (receivedOk)
            return true;
        if (commCode)
            SetError(commCode, commText);
        else
            SetError(1039);
        return false;
    }
    const int width = m_format.TotalWidth();
    if (!receivedOk && received < width + 8) {
        SetError(1039);
        return false;
    }
    if (block[0] != '#') {
        WriteLogId(1032);
        m_log.WriteRaw(block, static_cast<std::size_t>(std::min(received, 80)));
        SetError(1032);
        return false;
    }
    BlockHeader h = ParseBlockHeader(block, received);
    if (h.readings == 0)
        return true;
    // The text ends where the transport put its zero byte, and never past what came.
    const std::int32_t textLength =
        static_cast<std::int32_t>(strnlen(block, static_cast<std::size_t>(received)));
    const std::int32_t byteCount = std::max(0, textLength - h.headerSize);
    if (h.byteCount != byteCount) {
        WriteLogAlways(tvane::Format(
            "!!!! *** Byte count mismatch occurred in GetReadings function.\nExpected number of "
            "bytes from block header: %ld\nActual number of bytes in recv buffer: %ld\n",
            static_cast<long>(h.byteCount), static_cast<long>(byteCount)));
        SetError(1040, tvane::Format("Byte count mismatch occurred in GetReadings function. "
                                     "Expected number of bytes from block header: %ld. Actual "
                                     "number of bytes in recv buffer: %ld",
                                     static_cast<long>(h.byteCount), static_cast<long>(byteCount)));
        ClearAfterLongAnswer(received, h, byteCount);
        // A block cut short is garbled: what did arrive is not taken for readings,
        // nor counted in the scan numbering.
        if (byteCount < h.byteCount)
            return false;
    }
    WriteLog(tvane::Format("Expected # of bytes from block header: %ld\nActual # of bytes in recv "
                           "buffer: %ld\n",
                           static_cast<long>(h.byteCount), static_cast<long>(byteCount)));
    if (m_settings.logRecvBlockData) {
        m_log.WriteRaw(block, static_cast<std::size_t>(h.headerSize + byteCount));
        m_log.WriteText("\n\n");
    }

    bool parsedOk = true;
    const char* text = block + h.headerSize;
    *count = ParseReadings(text, byteCount, buffer, capacity, parsedOk);
    if (!parsedOk)
        result = false;

    const int len = m_format.ReadingLength();
    const std::int32_t inText = (byteCount + 1) / len;
    const std::int32_t residual = (byteCount + 1) % len;
    if (parsedOk && *count == inText && *count == h.readings) {
        if (residual != 0) {
            std::string line = tvane::Format(
                "!!!! *** Non-integral number of readings detected in recv buffer. Readings in "
                "buffer = %.2lf  Residual bytes = %ld  Readings processed = %ld\n",
                (byteCount + 1) / static_cast<double>(len), static_cast<long>(residual),
                static_cast<long>(*count));
            WriteLogAlways(line);
            if (result)
                SetError(777, line);
            result = false;
        }
    } else {
        std::string line = tvane::Format("!!!! *** Unable to process all readings in recv buffer "
                                         "- Processed %ld of %ld readings. Residual bytes in "
                                         "buffer = %ld\n",
                                         static_cast<long>(*count), static_cast<long>(h.readings),
                                         static_cast<long>(residual));
        WriteLogAlways(line);
        if (result)
            SetError(776, line);
        result = false;
    }
    WriteLog("-------- CKXQT7100::GetReadings function end -------\n\n");
    return result;
}

bool CKXQT7100::FetchReadings(ReadingRecord* buffer, std::int32_t requested, std::int32_t* count) {
    std::int32_t dummy = 0;
    if (!count)
        count = &dummy;
    *count = 0;
    ClearBuffer();
    std::int32_t capacity = buffer && requested > 0 ? requested : 0;
    // Simulated readings are delivered like live ones, and say so.
    if (IsSimulated()) {
        *count = SimulateReadings(buffer, capacity);
        return true;
    }
    long n = std::min<long>(kMaxReadingsPerRequest, requested);
    if (!SendCommand(tvane::Format(Cmd(SCPI_R_Q).c_str(), n)))
        return false;
    char* block = Buffer();
    std::int32_t received = 0;
    bool result = ReceiveRaw(block, kReceiveSize, &received);
    if (received <= 4)
        return true;
    if (!result && received < m_format.TotalWidth() + 8)
        return false;
    BlockHeader h = ParseBlockHeader(block, received);
    ClearAfterLongAnswer(received, h, received - h.headerSize);
    // As in GetReadings, a block cut short is not taken for readings.
    const std::int32_t present =
        static_cast<std::int32_t>(strnlen(block, static_cast<std::size_t>(received))) -
        h.headerSize;
    if (present < h.byteCount) {
        SetError(1040, tvane::Format("Byte count mismatch occurred in FetchReadings function. "
                                     "Expected number of bytes from block header: %ld. Actual "
                                     "number of bytes in recv buffer: %ld",
                                     static_cast<long>(h.byteCount),
                                     static_cast<long>(std::max(0, present))));
        return false;
    }
    bool parsedOk = true;
    *count = ParseReadings(block + h.headerSize, received - h.headerSize, buffer,
                           std::min<std::int32_t>(capacity, kMaxReadingsPerRequest), parsedOk);
    return result && parsedOk;
}

std::int16_t CKXQT7100::GetReading(std::vector<ReadingRow>& rows) {
    rows.clear();
    ClearBuffer();
    char* data = Buffer();
    std::int32_t received = 0;
    // Fixed layout without separators: value, time, channel, alarm.
    constexpr int kRowWidth = ReadingFormat::kValueWidth + ReadingFormat::kTimeWidth +
                              ReadingFormat::kChannelWidth + ReadingFormat::kAlarmWidth;
    if (IsSimulated()) {
        ReadingRecord records[kMaxReadingsPerRequest];
        std::int32_t n = SimulateReadings(records, kMaxReadingsPerRequest);
        std::string text;
        for (std::int32_t i = 0; i < n; ++i)
            text += tvane::Format("%+15.8E%12.3f%3d%1d", records[i].Value, records[i].Time,
                                  static_cast<int>(records[i].Channel) % 1000,
                                  static_cast<int>(records[i].AlarmState) % 10);
        received = static_cast<std::int32_t>(std::min<std::size_t>(text.size(), kReceiveSize));
        std::memcpy(data, text.data(), static_cast<std::size_t>(received));
    } else {
        ReceiveRaw(data, kReceiveSize, &received);
    }
    const int width = std::max(m_format.TotalWidth(), kRowWidth);
    const std::int32_t readings = received / width;
    try {
        rows.reserve(static_cast<std::size_t>(readings));
        for (std::int32_t i = 0; i < readings; ++i) {
            const char* p = data + static_cast<std::ptrdiff_t>(i) * width;
            ReadingRow row;
            row.scan = m_scanCounter;
            row.value = FieldDouble(p, ReadingFormat::kValueWidth);
            p += ReadingFormat::kValueWidth;
            row.time = FieldDouble(p, ReadingFormat::kTimeWidth);
            p += ReadingFormat::kTimeWidth;
            row.channel = FieldInt(p, ReadingFormat::kChannelWidth);
            p += ReadingFormat::kChannelWidth;
            row.alarm = FieldInt(p, ReadingFormat::kAlarmWidth);
            rows.push_back(row);
        }
    } catch (const std::bad_alloc&) {
        rows.clear();
        SetError(1003);
        return -1;
    }
    return static_cast<std::int16_t>(readings);
}

bool CKXQT7100::SetReadingFormat(bool alarm, bool channel, bool time, bool relativeTime,
                                 bool unit) {
    auto send = [this](ScpiTemplate id, bool on) {
        return SendCommand(tvane::Format(Cmd(id).c_str(), on ? 1 : 0));
    };
    bool ok = send(SCPI_FORM_READ_ALAR, alarm) && send(SCPI_FORM_READ_CHAN, channel) &&
              send(SCPI_FORM_READ_TIME, time) &&
              SendId(relativeTime ? SCPI_FORM_READ_TIME_TYPE_REL : SCPI_FORM_READ_TIME_TYPE_ABS) &&
              send(SCPI_FORM_READ_UNIT, unit);
    if (!ok)
        return false;
    m_format.alarm = alarm;
    m_format.channel = channel;
    m_format.time = time;
    m_format.relativeTime = relativeTime;
    m_format.unit = unit;
    return true;
}

} // namespace tvane::driver
