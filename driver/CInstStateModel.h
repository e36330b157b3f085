#pragma once
#include <string>
#include <vector>

namespace tvane::driver {

class CKXQT7100;

// What the "Store/Recall" page of the settings sheet shows and sends: the list
// of states and recall choices, which buttons are usable, and the store,
// recall, rename and slot reset actions. The lists live in the driver so that
// they outlast the sheet.
class CInstStateModel {
public:
    // The radio choice; None until the user picks one.
    enum class Mode { None, Store, Recall, Rename };

    explicit CInstStateModel(CKXQT7100& driver);

    // The rows of the state list and the selected one (-1: none).
    std::vector<std::string> Entries() const;
    int Selection() const { return m_selection; }
    void Select(int row);
    const std::string& CurrentName() const { return m_currentName; }

    bool CanEdit() const { return m_canEdit; }
    bool CanStore() const { return m_canStore; }
    bool CanRecall() const { return m_canRecall; }

    Mode GetMode() const { return m_mode; }
    // Refills the list for the choice and selects its first row.
    void SetMode(Mode mode);

    void StoreCurrentState();
    void RecallStoredState();
    // The name the rename dialog opens with; true when a stored state was renamed.
    // The name must have passed NameError.
    bool Rename(const std::string& name);
    void Apply();

    // "Slot 1" .. "Slot 3"; row 0-2 resets that slot's module.
    static std::vector<std::string> SlotEntries();
    void ResetSlot(int row);

    // Longest name the instrument keeps.
    static constexpr std::size_t kMaxNameLength = 12;
    // The message that refuses name, or empty when the instrument takes it.
    static std::string NameError(const std::string& name);

private:
    struct Row {
        std::string text;
        int state = 0; // 1-based stored state, 0 for the other recall choices
    };
    void Fill();
    void UpdateButtons();
    int SelectedState() const;
    void Recall(bool lastPowerDown);
    void Store();

    CKXQT7100& m_driver;
    Mode m_mode = Mode::None;
    std::vector<Row> m_rows;
    int m_selection = -1;
    std::string m_currentName;
    bool m_canEdit = false;
    bool m_canStore = false;
    bool m_canRecall = false;
};

} // namespace tvane::driver
