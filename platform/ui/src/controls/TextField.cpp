#include "ui/TextField.h"

#include "TextFieldKinds.h"
#include "ui/EnvironmentKeys.h"
#include "ui/StyleContext.h"
#include "ui/SubmitAction.h"
#include "ui/TextEnvironment.h"

#include <QKeyEvent>

namespace ui {

void TextFieldWidget::keyPressEvent(QKeyEvent* event) {
    QLineEdit::keyPressEvent(event);
    const int key = event->key();
    // The line edit lets these go on after handling them; here they end.
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) event->accept();
}

View TextField::body(ViewContext&) const {
    if (axis_ == Axis::vertical) return View(detail::VerticalTextField(prompt_, text_));
    return View(detail::LineTextField(prompt_, text_));
}

namespace detail {

std::shared_ptr<LineTextField::Coordinator> LineTextField::makeCoordinator() const {
    return std::make_shared<Coordinator>(Coordinator{text_, {}});
}

std::unique_ptr<TextFieldWidget> LineTextField::makeWidget(const Context& context) const {
    auto field = std::make_unique<TextFieldWidget>();
    std::weak_ptr<Coordinator> coordinator = context.coordinator;
    QObject::connect(field.get(), &QLineEdit::textEdited, field.get(), [coordinator](const QString& text) {
        if (auto c = coordinator.lock()) c->text.set(text.toStdString());
    });
    QObject::connect(field.get(), &QLineEdit::returnPressed, field.get(), [coordinator] {
        auto c = coordinator.lock();
        if (c && c->submit) c->submit();
    });
    return field;
}

void LineTextField::updateWidget(TextFieldWidget& field, const Context& context) const {
    auto& coordinator = *context.coordinator;
    coordinator.text = text_;
    const SubmitAction submit = context.environment.get<SubmitActionKey>();
    coordinator.submit = [submit] { submit(); };
    field.setPlaceholderText(QString::fromStdString(prompt_));
    field.setEnabled(context.environment.get<IsEnabledKey>());
    field.setFont(context.environment.get<FontKey>().value_or(Font::body()).resolveForWidget(fontContext(context.environment)));
    const QString wanted = QString::fromStdString(text_.get());
    if (field.text() != wanted) field.setText(wanted); // setText is no edit: the binding is not written back
}

} // namespace detail

} // namespace ui
