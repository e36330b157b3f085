#include "platform/gridview/GridEditControl.h"

#include <QLineEdit>
#include <QValidator>

#include "platform/gridview/GridView.h"

namespace tvane {

class GridEditControl::Validator final : public QValidator {
public:
    Validator(const GridEditControl& control, QObject* parent)
        : QValidator(parent), m_control(control) {}
    State validate(QString& text, int&) const override {
        return m_control.AcceptsText(text) ? Acceptable : Invalid;
    }

private:
    const GridEditControl& m_control;
};

GridEditControl::GridEditControl(GridView& view)
    : GridWidgetControl(view), m_edit(new QLineEdit(view.viewport())) {
    m_edit->setFrame(false);
    m_edit->setValidator(new Validator(*this, m_edit));
    QObject::connect(m_edit, &QLineEdit::textEdited, m_edit,
                     [this](const QString& text) { TextEdited(text.toUtf8().toStdString()); });
    AttachEditor(m_edit);
}

void GridEditControl::ApplyStyle(const GridStyle& style) {
    m_edit->setMaxLength(style.maxLength.value_or(32767));
    m_edit->setFont(View().CellFont(style));
}

void GridEditControl::ShowText(const QString& text) {
    // Set past the validator: a stored value is shown as it is.
    const QSignalBlocker block(m_edit);
    m_edit->setText(text);
}

} // namespace tvane
