#include "Views/GoalListBurn.h"

#include "Views/Utilities.h"

#include "foundation/DispatchQueue.h"
#include "foundation/Task.h"
#include "store/StoreError.h"
#include "ui/AnyShapeStyle.h"
#include "ui/AnyTransition.h"
#include "ui/Button.h"
#include "ui/EnvironmentKeys.h"
#include "ui/HierarchicalShapeStyle.h"
#include "ui/Label.h"
#include "ui/Rectangle.h"
#include "ui/ShaderLibrary.h"
#include "ui/Transaction.h"
#include "ui/VisualEffect.h"

#include <random>
#include <utility>

namespace quoril {

namespace {

// The overlay's dark grey, which the burn leaves behind.
const ui::Color& overlayColor() {
    static const auto* color =
        new ui::Color(ui::Color::black.mix(ui::Color::white, 0.2, ui::GradientColorSpace::perceptual));
    return *color;
}

} // namespace

GoalListBurn GoalListBurn::make(ui::ViewContext& ctx, GoalListActions list) {
    return GoalListBurn{
        .list = std::move(list),
        .burningTime = ctx.state<float>("burningTime", 0),
        .burnSeed = ctx.state<int>("burnSeed", randomSeed()),
        .isBurning = ctx.state<bool>("isBurning", false),
        .completedItemsHeight = ctx.state<graphics::CGFloat>("completedItemsHeight", 0),
        .undoManager = ctx.environment<ui::UndoManagerKey>(),
        .alive = ctx.element().slot<int>("burnLifetime", [] { return std::make_shared<int>(0); }),
    };
}

int GoalListBurn::randomSeed() {
    static std::mt19937 generator{std::random_device{}()};
    return std::uniform_int_distribution<int>(0, 9998)(generator) + 1;
}

store::Predicate<Item> GoalListBurn::burnPredicate(const std::shared_ptr<ItemCollection>& collection) {
    std::optional<store::PersistentIdentifier> identifier;
    if (collection) identifier = collection->persistentModelID();
    return store::Predicate<Item>::relationshipEquals("collection", identifier) &&
           store::Predicate<Item>::equals("completed", true);
}

void GoalListBurn::saveIfChanged(const std::shared_ptr<store::ModelContext>& context) {
    if (!context || !context->hasChanges()) return;
    try {
        context->save();
    } catch (const store::StoreError&) {
        // The list goes on showing what the context holds.
    }
}

graphics::CGFloat GoalListBurn::completedRowsHeight() const {
    const auto shown = list.displayOrder();
    graphics::CGFloat height = 0;
    for (const auto& element : *list.itemSizes) {
        if (element.index < 0 || std::size_t(element.index) >= shown.size()) continue;
        if (shown[std::size_t(element.index)]->completed()) height += element.size.height;
    }
    return height;
}

void GoalListBurn::burnCompletedItems() const {
    foundation::Task([context = list.modelContext] { saveIfChanged(context); });
    completedItemsHeight.set(completedRowsHeight());
    isBurning.set(true);
    if (undoManager) undoManager->removeAllActions();

    // What burns is what the overlay covers now; the predicate is checked again at the end.
    std::set<foundation::UUID> burning;
    for (const auto& item : list.items)
        if (item->completed()) burning.insert(item->id());
    auto predicate = burnPredicate(list.selectedCollection);
    foundation::DispatchQueue::main().asyncAfter(
        foundation::DispatchTime::now() + duration,
        [burn = *this, predicate = std::move(predicate), burning = std::move(burning)] {
            if (burn.alive.expired()) return;
            burn.burnTimerFired(predicate, burning);
        });
}

void GoalListBurn::isBurningChanged(bool burning) const {
    if (burning) {
        ui::withAnimation(ui::Animation::linear(duration), [&] { burningTime.set(1.0f); });
    } else {
        burningTime.set(0);
        burnSeed.set(randomSeed());
    }
}

void GoalListBurn::burnTimerFired(const store::Predicate<Item>& predicate,
                                  const std::set<foundation::UUID>& burning) const {
    ui::withAnimation([&] { deleteBurnedItems(predicate, burning); });
}

void GoalListBurn::deleteBurnedItems(const store::Predicate<Item>& predicate,
                                     const std::set<foundation::UUID>& burning) const {
    isBurning.set(false);
    if (const auto& context = list.modelContext) {
        try {
            for (const auto& item : context->fetch(store::FetchDescriptor<Item>{predicate}))
                if (burning.contains(item->id())) context->deleteModel(item);
        } catch (const store::StoreError&) {
            // As with a failed save: the list shows what the context holds.
        }
    }
    foundation::Task([context = list.modelContext] { saveIfChanged(context); });
}

ui::View GoalListBurn::burnOverlay() const {
    const bool burning = *isBurning;
    const float time = *burningTime;
    const int seed = *burnSeed;
    return ui::View(ui::Rectangle().fill(overlayColor()))
        .opacity(burning ? 1.0 : 0.0)
        .allowsHitTesting(false)
        .frame(std::nullopt, *completedItemsHeight)
        .visualEffect([burning, time, seed](ui::VisualEffect content, const ui::GeometryProxy& proxy) {
            using Argument = ui::Shader::Argument;
            const auto size = proxy.size();
            return content.colorEffect(
                ui::ShaderLibrary::default_().shader(
                    "burn", {Argument::float2(float(size.width), float(size.height)), Argument::float_(0.0),
                             Argument::float_(time), Argument::float_(float(seed))}),
                burning);
        })
        .transition(ui::AnyTransition::opacity());
}

ui::View GoalListBurn::burnButton(bool anyCompleted) const {
    auto label =
        ui::View(ui::Label("Burn", "flame"))
            .symbolVariant(ui::SymbolVariant::fill)
            .foregroundStyle(anyCompleted ? ui::AnyShapeStyle(Utilities::accentColor())
                                          : ui::AnyShapeStyle(ui::HierarchicalShapeStyle::secondary));
    return ui::View(ui::Button([burn = *this] { burn.burnCompletedItems(); }, label))
        .keyboardShortcut(ui::KeyEquivalent(U'b'), ui::EventModifiers::command)
        .disabled(!anyCompleted);
}

} // namespace quoril
