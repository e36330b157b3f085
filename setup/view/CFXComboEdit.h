#pragma once
#include <QObject>

class QLineEdit;

// The units combo's edit field: a label starts with a letter and goes on with
// letters, digits and "_"; other characters are dropped without a word.
class CFXComboEdit final : public QObject {
public:
    explicit CFXComboEdit(QLineEdit& edit);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit& m_edit;
};
