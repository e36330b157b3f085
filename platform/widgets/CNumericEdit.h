#pragma once
#include <array>

#include <QLineEdit>

#include "platform/controls/NumericEditModel.h"

namespace tvane {

// An edit box that takes only what its mode allows (NumericEditModel): a real
// or whole number, digits, or an eight-position bit pattern typed over one
// position at a time, the position moved by Left, Right or a click.
class CNumericEdit final : public QLineEdit {
    Q_OBJECT
public:
    explicit CNumericEdit(QWidget* parent = nullptr);

    void Setup(int mode, const std::string& text);
    void SetText(const std::string& text);
    void SetRange(double minimum, double maximum) { m_model.SetRange(minimum, maximum); }
    // Tells the user and returns false when the text is not acceptable.
    bool Validate() { return m_model.Validate(text().toUtf8().toStdString()); }
    const NumericEditModel& Model() const { return m_model; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void SelectPosition();

    NumericEditModel m_model;
    // Left pixel of each pattern position.
    std::array<int, NumericEditModel::kPatternLength> m_cells{};
};

} // namespace tvane
