#pragma once
#include <QString>
#include <QWidget>

namespace tvane {

class PropertySheet;

// One page of a PropertySheet. A page builds its controls in OnInitPage, which
// the sheet calls the first time the page is shown, so that pages never looked
// at cost nothing and ask the instrument nothing.
class PropertyPage : public QWidget {
    Q_OBJECT
public:
    explicit PropertyPage(const QString& title, unsigned helpId = 0);

    const QString& Title() const { return m_title; }
    unsigned HelpId() const { return m_helpId; }
    // Pages whose help follows what they edit set it once they know.
    void SetHelpId(unsigned helpId) { m_helpId = helpId; }
    // The sheet the page is in; null before it is added.
    PropertySheet* Sheet() const { return m_sheet; }
    bool IsCreated() const { return m_created; }

protected:
    friend class PropertySheet;
    // Builds the page's controls; called once.
    virtual void OnInitPage() {}
    // The page becomes the active one.
    virtual void OnSetActive() {}
    // The page is to be left (another tab or OK); false keeps it active.
    virtual bool OnKillActive() { return true; }
    // The sheet closes with OK or Cancel; only pages that were created hear it.
    virtual void OnOK() {}
    virtual void OnCancel() {}

private:
    QString m_title;
    unsigned m_helpId;
    PropertySheet* m_sheet = nullptr;
    bool m_created = false;
};

} // namespace tvane
