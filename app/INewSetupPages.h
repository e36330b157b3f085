#pragma once

// The main window's graphics pages as a new setup starts them, whether made
// through New Setup or from an instrument upload.
class INewSetupPages {
public:
    virtual ~INewSetupPages() = default;
    // Back to one empty graphics page.
    virtual void ResetPages() = 0;
    // A strip chart on the graphics page, as a new setup starts with.
    virtual void InsertStripChart() = 0;
};
