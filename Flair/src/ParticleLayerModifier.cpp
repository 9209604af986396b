#include "Flair/ParticleLayerModifier.h"

#include "Flair/ParticleLayerPreferenceKey.h"
#include "ui/AnyView.h"
#include "ui/ForEach.h"
#include "ui/GeometryReader.h"
#include "ui/Stack.h"

#include <iterator>
#include <utility>
#include <vector>

namespace Flair {

namespace {

using Entry = std::pair<foundation::UUID, ParticleLayerContents>;

// Each entry for the layer over the rectangle of its publisher, in identifier order (the map's).
ui::View layerContents(const foundation::AnyHashable& name,
                       const ParticleLayerPreferenceKey::Value& entries) {
    std::vector<Entry> selected;
    std::copy_if(entries.begin(), entries.end(), std::back_inserter(selected),
                 [&](const auto& entry) { return entry.second.name == name; });
    if (selected.empty()) return ui::View();
    return ui::GeometryReader([selected = std::move(selected)](const ui::GeometryProxy& proxy) {
        return ui::View(ui::ZStack({ui::ForEach(
            selected, [](const Entry& entry) { return entry.first; },
            [proxy](const Entry& entry) {
                const graphics::CGRect rect = proxy[entry.second.bounds];
                return ui::View(ui::AnyView(entry.second.content))
                    .frame(rect.width(), rect.height())
                    .position(rect.midX(), rect.midY());
            })}));
    });
}

} // namespace

ui::View ParticleLayerModifier::body(ui::ViewContext&, ui::View content) const {
    return content
        .transformEnvironment(ParticleLayerNames{},
                              [name = name](ParticleLayerNames::Value& names) { names.insert(name); })
        .overlayPreferenceValue(ParticleLayerPreferenceKey{},
                                [name = name](const ParticleLayerPreferenceKey::Value& entries) {
                                    return layerContents(name, entries);
                                })
        .transformPreference(
            ParticleLayerPreferenceKey{}, [name = name](ParticleLayerPreferenceKey::Value& entries) {
                std::erase_if(entries, [&](const auto& entry) { return entry.second.name == name; });
            });
}

} // namespace Flair
