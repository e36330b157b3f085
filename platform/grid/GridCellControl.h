#pragma once
#include <string>

namespace tvane {

class GridCore;

// A cell editor registered with a grid under a control id; one object edits
// whichever cell is current whose style names its id. Unlike a plain item
// delegate it answers the grid's whole edit protocol: it is loaded from a cell
// (Init), may refuse its text when the cell is left (OnValidate, with a warning
// text handed to the grid), writes the text into the cell (Store) or drops it
// (Discard), and tells whether it is active and modified. The text lives here,
// so the protocol runs without a window; a window subclass shows the text and
// reports what the user types through TextEdited.
class GridCellControl {
public:
    explicit GridCellControl(GridCore& grid) : m_grid(grid) {}
    virtual ~GridCellControl() = default;
    GridCellControl(const GridCellControl&) = delete;
    GridCellControl& operator=(const GridCellControl&) = delete;

    GridCore& Grid() const { return m_grid; }
    // The cell the control was last loaded from; 0, 0 before the first.
    int Row() const { return m_row; }
    int Col() const { return m_col; }

    // Loads the cell's value; the edit is then not modified.
    virtual void Init(int row, int col);
    const std::string& GetControlText() const { return m_text; }
    // Replaces the text without marking the edit modified.
    void SetControlText(const std::string& text);
    // Replaces the text as if the user had typed it.
    void SetCurrentText(const std::string& text);

    bool IsActive() const { return m_active; }
    virtual void SetActive(bool active) { m_active = active; }
    bool IsModified() const { return m_modified; }
    void SetModify(bool modified) { m_modified = modified; }

    // Whether the text may be stored; a refusal hands the grid its warning
    // text (GridCore::SetWarningText). Everything passes unless overridden.
    virtual bool OnValidate() { return true; }
    // Writes a modified text into the cell (through the grid's store hook);
    // false when the grid refuses it. An unmodified edit writes nothing.
    virtual bool Store();
    // Drops the edit and shows the cell's stored value again.
    virtual void Discard();
    // A text edit empties on Delete.
    virtual bool IsTextEdit() const { return false; }

protected:
    // The text was replaced by the program (Init, SetControlText, Discard...):
    // a window shows it.
    virtual void OnTextReplaced() {}
    // A window reports the text the user typed.
    void TextEdited(const std::string& text);

private:
    GridCore& m_grid;
    int m_row = 0;
    int m_col = 0;
    std::string m_text;
    bool m_active = false;
    bool m_modified = false;
};

} // namespace tvane
