#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <vector>

class CXrtGraphData;
struct ReadingRecord;

// Pairs the readings of an XY display's two channels scan by scan into the
// frame's reading buffer: general data of two series, X and Y, whose entry k
// comes from one scan in both. A scan that only one channel reported gets a
// filler (position and value NO_VALUE) opposite its reading, which the plot
// skips. The newest readings of a channel whose partner has not reported that
// scan yet wait here for the next batch (a poll may end in the middle of a
// scan), so no pair is ever split.
//
// The buffer never holds more than its capacity: a batch keeps its newest
// capacity readings, and when the entries to add would not fit, the waiting
// entries are handed over first.
class XYPairing {
public:
    static constexpr double kNoValue = 9.9e37;
    // Hands the buffer's entries to the plot and empties it.
    using HandOver = std::function<void()>;

    explicit XYPairing(CXrtGraphData* buffer = nullptr) : m_buffer(buffer) {}
    void SetBuffer(CXrtGraphData* buffer) { m_buffer = buffer; }
    CXrtGraphData* GetBuffer() const { return m_buffer; }

    // Pairs one batch of each channel's readings (each in scan order).
    void Add(const std::vector<ReadingRecord*>& x, const std::vector<ReadingRecord*>& y,
             const HandOver& handOver);
    // Empties both series of the buffer.
    void EmptyBuffer();
    // Drops the readings that wait for their partner.
    void DropWaiting();
    void Clear() {
        EmptyBuffer();
        DropWaiting();
    }

    // Entries in the buffer: pairs ready for the plot (X and Y counts agree).
    int Pending() const;
    int Capacity() const;
    std::size_t WaitingX() const { return m_waitX.size(); }
    std::size_t WaitingY() const { return m_waitY.size(); }

private:
    struct Reading {
        std::int32_t scan;
        double value;
    };
    void Take(const std::vector<ReadingRecord*>& batch, std::deque<Reading>& waiting) const;
    void Append(double x, double y, bool hasX, bool hasY, const HandOver& handOver);

    CXrtGraphData* m_buffer;
    std::deque<Reading> m_waitX;
    std::deque<Reading> m_waitY;
};
