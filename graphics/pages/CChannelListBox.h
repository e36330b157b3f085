#pragma once
#include <QListWidget>

// The slot list of the channel pages: one 23-pixel row per channel slot, a
// numbered cell at the left and the text after the row's first tab beside it.
// Alt+Down hands the user over to the page's companion combo box.
class CChannelListBox final : public QListWidget {
    Q_OBJECT
public:
    static constexpr int kItemHeight = 23;
    static constexpr int kCellWidth = 24;

    explicit CChannelListBox(QWidget* parent = nullptr);
    void SetComboId(class QComboBox* combo) { m_combo = combo; }
    QComboBox* Combo() const { return m_combo; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QComboBox* m_combo = nullptr;
};
