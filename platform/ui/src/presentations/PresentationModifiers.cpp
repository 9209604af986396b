#include "ui/Alert.h"
#include "ui/Button.h"
#include "ui/Presentation.h"
#include "ui/View.h"
#include "ui/ViewContext.h"

#include <atomic>

namespace ui {
namespace {

std::uint64_t nextPresentationID() {
    static std::atomic<std::uint64_t> next{1};
    return next++;
}

// Hands a presentation up to the host while the binding is true. The view keeps the same
// shape either way, so the presenting content keeps its state across showing and hiding.
struct PresentingModifier {
    Presentation::Kind kind;
    Binding<bool> isPresented;
    std::function<void()> onDismiss;
    std::function<Alert()> alert;
    std::function<View()> content;

    View body(ViewContext& ctx, View presenter) const {
        const auto id = ctx.state<std::uint64_t>("presentationID", nextPresentationID()).value();
        const bool shown = isPresented.get();
        std::vector<Presentation> presented;
        if (shown) {
            Presentation p;
            p.kind = kind;
            p.id = id;
            if (kind == Presentation::Kind::alert)
                p.alert = std::make_shared<const Alert>(alert ? alert() : Alert(Text(std::string())));
            else
                p.content = content ? content() : View();
            p.environment = std::make_shared<const EnvironmentValues>(ctx.environmentValues());
            p.dismiss = [binding = isPresented] { binding.set(false); };
            presented.push_back(std::move(p));
        }
        return presenter
            .onChange(shown, false,
                      [onDismiss = onDismiss](bool was, bool now) {
                          if (was && !now && onDismiss) onDismiss();
                      })
            // Added to what the content presents: one view may carry several presentations.
            .transformPreference(PresentationsKey{}, [presented = std::move(presented)](auto& values) {
                values.insert(values.end(), presented.begin(), presented.end());
            });
    }
};

// An alert's buttons from the Buttons among `actions`.
std::vector<Alert::Button> alertButtons(const View& actions) {
    std::vector<Alert::Button> buttons;
    if (!actions.node()) return buttons;
    for (const auto& child : actions.enumerateChildren()) {
        const auto* model = detail::buttonModel(child);
        if (!model) continue;
        buttons.emplace_back(model->label, model->role, false, model->action);
    }
    return buttons;
}

} // namespace

View View::alert(Text title, Binding<bool> isPresented, View actions, std::optional<View> message) const {
    auto build = [title = std::move(title), actions = std::move(actions), message = std::move(message)] {
        Alert alert(title, std::nullopt, alertButtons(actions));
        alert.message = message;
        return alert;
    };
    return modifier(PresentingModifier{Presentation::Kind::alert, std::move(isPresented), {}, build, {}});
}

View View::alert(Binding<bool> isPresented, std::function<Alert()> content) const {
    return modifier(PresentingModifier{Presentation::Kind::alert, std::move(isPresented), {}, std::move(content), {}});
}

View View::sheet(Binding<bool> isPresented, std::function<void()> onDismiss, std::function<View()> content) const {
    return modifier(PresentingModifier{Presentation::Kind::sheet, std::move(isPresented), std::move(onDismiss), {},
                                       std::move(content)});
}

View View::fullScreenCover(Binding<bool> isPresented, std::function<void()> onDismiss,
                           std::function<View()> content) const {
    return modifier(PresentingModifier{Presentation::Kind::fullScreenCover, std::move(isPresented),
                                       std::move(onDismiss), {}, std::move(content)});
}

} // namespace ui
