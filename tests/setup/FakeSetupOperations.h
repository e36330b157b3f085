#pragma once
#include <array>
#include <map>
#include <string>
#include <vector>

#include "setup/ISetupGridOperations.h"

// A setup held as texts per grid column, with the operations' answers set by
// the test and every call written down.
class FakeSetupOperations : public ISetupGridOperations {
public:
    struct Row {
        std::array<std::string, 17> cells;
        std::uint32_t flags = 0;
    };

    // Rows of channel number, function and flag word.
    void AddRow(long channel, const std::string& function, std::uint32_t flags = 0) {
        Row row;
        row.cells[0] = std::to_string(channel);
        row.cells[1] = "1";
        row.cells[2] = "Ch" + std::to_string(channel);
        row.cells[3] = function;
        row.cells[7] = "0";
        row.cells[11] = "Off";
        row.cells[12] = "0.0";
        row.cells[13] = "0.0";
        row.flags = flags;
        rows.push_back(row);
    }
    Row* At(int gridRow) {
        const int index = gridRow - 2;
        return index >= 0 && index < static_cast<int>(rows.size()) ? &rows[index] : nullptr;
    }

    bool IsSetupLoaded() const override { return loaded; }
    bool HasSetup() const override { return loaded; }
    bool IsScanning() const override { return scanning; }
    int GetSetupCount() const override { return static_cast<int>(rows.size()); }
    bool HasRecordedData() const override { return recorded; }
    bool SetupDiffersFromData() const override { return recorded && changed; }
    int GetUndoBufferCount() const override { return undoCount; }
    int GetCopyBufferCount() const override { return copyCount; }
    long GetMonitorChannel() const override { return monitor; }
    int GetGridRow(long channel) const override {
        for (std::size_t i = 0; i < rows.size(); ++i)
            if (rows[i].cells[0] == std::to_string(channel))
                return static_cast<int>(i) + 2;
        return 0;
    }
    void UpdateScanStatus() override { calls.push_back("UpdateScanStatus"); }
    void NotifySetupChanged() override { calls.push_back("NotifySetupChanged"); }
    void MarkLayoutChanged() override { calls.push_back("MarkLayoutChanged"); }

    bool GetSetupCellText(int row, int col, std::string& text) override {
        Row* r = At(row);
        if (r == nullptr || col > 16)
            return false;
        text = r->cells[col];
        return true;
    }
    bool GetRowFlags(int row, std::uint32_t& flags) override {
        Row* r = At(row);
        if (r != nullptr)
            flags = r->flags;
        return r != nullptr;
    }
    void StoreSetupCellValue(int row, int col, const std::string& text) override {
        calls.push_back("Store " + std::to_string(row) + "," + std::to_string(col) + "=" + text);
        if (Row* r = At(row))
            r->cells[col] = text;
    }
    void RecomputeRowFlags(int row) override {
        calls.push_back("RecomputeRowFlags " + std::to_string(row));
        if (Row* r = At(row); r && recomputed.count(row))
            r->flags = recomputed[row];
    }
    bool CanChangeFunction(int row, const std::string&) override {
        return At(row) != nullptr && allowFunctionChange;
    }
    bool ApplyRowChange(int row, int& partnerRow) override {
        calls.push_back("ApplyRowChange " + std::to_string(row));
        partnerRow = partnerOf[row];
        if (Row* partner = At(partnerRow))
            partner->flags = 0xFFFFFFFF;
        return At(row) != nullptr;
    }
    bool ApplyResolutionChange(int row, const std::string& text) override {
        calls.push_back("ApplyResolutionChange " + std::to_string(row) + "=" + text);
        if (Row* r = At(row))
            r->cells[5] = text;
        return At(row) != nullptr;
    }
    bool FillFunctionList(int row, std::string& list) override {
        list = functionList;
        return At(row) != nullptr && !functionList.empty();
    }
    bool FillRangeList(int row, std::string& list) override {
        list = "Auto\n10V\n1V\n";
        return At(row) != nullptr;
    }
    bool FillResolutionList(int, std::string&) override { return false; }
    bool IsMeasurementRow(int row) override { return At(row) && !At(row)->cells[3].empty(); }
    bool IsActiveRow(int row) override { return At(row) && At(row)->cells[1] == "1"; }
    bool IsType5RowAt(int row) override { return At(row) && At(row)->flags == 0xFFFFFFFF; }
    int FindNearestMeasurementRow(int row) override { return Nearest(row, true); }
    int FindNearestActiveRow(int row) override { return Nearest(row, false); }
    void GetLastRowPerSlot(int& a, int& b, int& c) override {
        a = lastRows[0];
        b = lastRows[1];
        c = lastRows[2];
    }

    bool CopySelection(const tvane::GridRange& range) override {
        calls.push_back("Copy " + Text(range));
        copyCount = range.RowCount();
        return copyResult;
    }
    bool PasteSelection(const tvane::GridRange& range, tvane::GridRange& partners) override {
        calls.push_back("Paste " + Text(range));
        partners = pastePartners;
        return pasteResult;
    }
    bool UndoSetupEdit(tvane::GridRange& range, tvane::GridRange& partners) override {
        calls.push_back("Undo");
        range = undoRange;
        partners = pastePartners;
        return undoCount > 0;
    }
    bool ResetSelectionDefaults(const tvane::GridRange& range,
                                tvane::GridRange& partners) override {
        calls.push_back("ResetDefaults " + Text(range));
        partners = pastePartners;
        return true;
    }
    bool SelectionHasComputedRow(const tvane::GridRange& range) override {
        for (int row = range.top; row <= range.bottom; ++row)
            if (At(row) && At(row)->cells[3] == "Computed")
                return true;
        return false;
    }
    bool CanDeleteSelection(const tvane::GridRange& range) override {
        for (int row = range.top; row <= range.bottom; ++row)
            if (!At(row) || At(row)->cells[3] != "Computed")
                return false;
        return range.RowCount() > 0;
    }
    bool DeleteComputedChannels(const tvane::GridRange& range) override {
        calls.push_back("Delete " + Text(range));
        if (!CanDeleteSelection(range))
            return false;
        rows.erase(rows.begin() + (range.top - 2), rows.begin() + (range.bottom - 1));
        return true;
    }
    bool ShowChannelProperties(const tvane::GridRange& range, int startPage,
                               int& partnerRow) override {
        calls.push_back("Properties " + Text(range) + " page " + std::to_string(startPage));
        partnerRow = propertiesPartner;
        return true;
    }
    bool AddComputedChannel(int number) override {
        calls.push_back("AddComputed " + std::to_string(number));
        AddRow(number, "Computed", 0x407);
        return true;
    }

    static std::string Text(const tvane::GridRange& r) {
        return (r.wholeRows ? "rows " : "cells ") + std::to_string(r.top) + "," +
               std::to_string(r.left) + "-" + std::to_string(r.bottom) + "," +
               std::to_string(r.right);
    }

    std::vector<Row> rows;
    std::vector<std::string> calls;
    std::map<int, int> partnerOf;
    std::map<int, std::uint32_t> recomputed;
    std::string functionList = "DC volts\nAC volts\n2w ohms\n4w ohms\n";
    std::array<int, 3> lastRows{};
    bool loaded = true;
    bool scanning = false;
    bool recorded = false;
    bool changed = false;
    bool allowFunctionChange = true;
    bool copyResult = true;
    bool pasteResult = true;
    int undoCount = 0;
    int copyCount = 0;
    long monitor = 0;
    int propertiesPartner = 0;
    tvane::GridRange pastePartners;
    tvane::GridRange undoRange;

private:
    int Nearest(int row, bool measurement) {
        const auto ok = [&](int r) { return measurement ? IsMeasurementRow(r) : IsActiveRow(r); };
        const int last = GetSetupCount() + 1;
        if (row > last)
            return 0;
        for (int r = row + 1; r <= last; ++r)
            if (ok(r))
                return r;
        for (int r = row - 1; r >= 2; --r)
            if (ok(r))
                return r;
        return -1;
    }
};
