#pragma once
#include <memory>

#include "driver/CInstStateModel.h"
#include "driver/sheet/CSettingsPage.h"

class QListWidget;
class QPushButton;
class QRadioButton;

namespace tvane::driver {

// "Store/Recall": stores, recalls and names the instrument's states and resets
// its module slots.
class CInstStatePage final : public CSettingsPage {
public:
    explicit CInstStatePage(CKXQT7100& driver);
    ~CInstStatePage() override;

    QListWidget* StateList() const { return m_states; }
    QListWidget* SlotList() const { return m_slots; }
    QPushButton* StoreButton() const { return m_store; }
    QPushButton* RecallButton() const { return m_recall; }
    QPushButton* EditButton() const { return m_edit; }
    QPushButton* ResetButton() const { return m_reset; }
    QPushButton* ApplyButton() const { return m_apply; }
    QRadioButton* StoreChoice() const { return m_storeChoice; }
    QRadioButton* RecallChoice() const { return m_recallChoice; }
    QRadioButton* RenameChoice() const { return m_renameChoice; }

protected:
    void BuildPage() override;

private:
    void ShowList();
    void ShowButtons();
    void ChooseMode(CInstStateModel::Mode mode);
    void EditName();

    std::unique_ptr<CInstStateModel> m_model;
    QListWidget* m_states = nullptr;
    QListWidget* m_slots = nullptr;
    QPushButton* m_store = nullptr;
    QPushButton* m_recall = nullptr;
    QPushButton* m_edit = nullptr;
    QPushButton* m_reset = nullptr;
    QPushButton* m_apply = nullptr;
    QRadioButton* m_storeChoice = nullptr;
    QRadioButton* m_recallChoice = nullptr;
    QRadioButton* m_renameChoice = nullptr;
};

} // namespace tvane::driver
