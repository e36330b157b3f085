#pragma once
#include <QDialog>

class CGraphView;
class QListWidget;
class QPushButton;

// The Graphics Windows dialog: the page's displays by title, to activate
// (select) or delete one.
class CGraphicsWindowsDialog final : public QDialog {
    Q_OBJECT
public:
    CGraphicsWindowsDialog(CGraphView& view, QWidget* parent = nullptr);

    QListWidget* List() const { return m_list; }
    QPushButton* ActivateButton() const { return m_activate; }
    QPushButton* DeleteButton() const { return m_delete; }

private:
    void OnActivate();
    void OnDelete();

    CGraphView& m_view;
    QListWidget* m_list = nullptr;
    QPushButton* m_activate = nullptr;
    QPushButton* m_delete = nullptr;
};
