#include "ui/SubmitAction.h"
#include "ui/SubmitLabel.h"
#include "ui/View.h"

namespace ui {

View View::onSubmit(std::function<void()> action) const {
    return transformEnvironment(SubmitActionKey{}, [action = std::move(action)](SubmitAction& submit) {
        submit = submit.adding(action);
    });
}

View View::submitLabel(SubmitLabel label) const {
    return environment<SubmitLabelKey>(label);
}

} // namespace ui
