#pragma once
#include <QDialog>

#include "platform/grid/GridCore.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tvane {

// The modeless Find dialog of a grid: a text, Match case and the direction.
// Every Find Next is handed to the grid through findNext; Cancel closes it
// (and the dialog deletes itself when closed).
class GridFindDialog final : public QDialog {
    Q_OBJECT
public:
    explicit GridFindDialog(const QString& text, QWidget* parent = nullptr);

    GridCore::FindOptions Options() const;
    QLineEdit* FindText() const { return m_text; }
    QCheckBox* MatchCase() const { return m_matchCase; }
    QRadioButton* Up() const { return m_up; }
    QRadioButton* Down() const { return m_down; }
    QPushButton* FindNextButton() const { return m_findNext; }

signals:
    void findNext(const tvane::GridCore::FindOptions& options);

private:
    QLineEdit* m_text;
    QCheckBox* m_matchCase;
    QRadioButton* m_up;
    QRadioButton* m_down;
    QPushButton* m_findNext;
};

} // namespace tvane
