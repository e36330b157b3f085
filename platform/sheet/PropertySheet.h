#pragma once
#include <vector>

#include <QDialog>
#include <QString>

class QPushButton;
class QStackedWidget;
class QTabBar;

namespace tvane {

class PropertyPage;

// A modal tabbed dialog of pages with OK, Cancel and Help (no Apply). A page is
// built when it is first shown; a page may refuse being left, which keeps it
// active on a tab change and keeps the sheet open on OK. Help shows the active
// page's help id. The sheet opens on its start page and, when it closes,
// records the page that was active so the caller can open there next time.
class PropertySheet : public QDialog {
    Q_OBJECT
public:
    explicit PropertySheet(const QString& caption, QWidget* parent = nullptr);
    ~PropertySheet() override;

    // The sheet owns the page.
    void AddPage(PropertyPage* page);
    int PageCount() const { return static_cast<int>(m_pages.size()); }
    PropertyPage* Page(int index) const;

    // The page shown when the sheet opens (out of range: the first).
    void SetStartPage(int index) { m_startPage = index; }
    int ActiveIndex() const { return m_active; }
    PropertyPage* ActivePage() const { return Page(m_active); }
    // Moves to another page; false when the active page refuses to be left.
    bool SetActivePage(int index);
    // The page that was active when the sheet last closed (-1 before).
    int LastActiveIndex() const { return m_lastActive; }

    QPushButton* OkButton() const { return m_ok; }
    QPushButton* CancelButton() const { return m_cancel; }
    QPushButton* HelpButton() const { return m_help; }
    QTabBar* Tabs() const { return m_tabs; }

    void accept() override;
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    void Activate(int index);
    void ShowHelp();
    void UpdateHelp();

    std::vector<PropertyPage*> m_pages;
    QTabBar* m_tabs = nullptr;
    QStackedWidget* m_stack = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_help = nullptr;
    int m_startPage = 0;
    int m_active = -1;
    int m_lastActive = -1;
};

} // namespace tvane
