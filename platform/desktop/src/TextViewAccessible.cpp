#include "TextViewAccessible.h"

#include "desktop/TextView.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPlainTextEdit>

namespace desktop::detail {

namespace {

class TextViewAccessible final : public QAccessibleWidget {
public:
    explicit TextViewAccessible(TextView& view)
        : QAccessibleWidget(&view, QAccessible::EditableText) {}

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Value) return QString::fromStdString(view().string());
        return QAccessibleWidget::text(kind);
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.editable = true;
        state.focusable = true;
        state.focused = state.focused || view().isFirstResponder();
        return state;
    }

private:
    TextView& view() const { return static_cast<TextView&>(*widget()); }
};

QAccessibleInterface* textViewInterface(const QString& className, QObject* object) {
    if (className != QLatin1String(TextView::staticMetaObject.className())) return nullptr;
    auto* view = qobject_cast<TextView*>(object);
    return view ? new TextViewAccessible(*view) : nullptr;
}

} // namespace

void installTextViewAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(textViewInterface);
        return true;
    }();
    (void)installed;
}

} // namespace desktop::detail
