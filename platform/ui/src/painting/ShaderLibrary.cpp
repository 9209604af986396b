#include "ui/ShaderLibrary.h"

#include <foundation/Logger.h>

namespace ui {

ShaderLibrary& ShaderLibrary::default_() {
    static ShaderLibrary library;
    return library;
}

void ShaderLibrary::add(ShaderFunction function) {
    std::lock_guard lock(mutex_);
    std::string name = function.name();
    functions_.insert_or_assign(std::move(name), std::move(function));
}

ShaderFunction ShaderLibrary::function(std::string_view name) const {
    std::lock_guard lock(mutex_);
    if (auto it = functions_.find(name); it != functions_.end()) return it->second;
    if (reportedMissing_.emplace(std::string(name), true).second) {
        static const foundation::Logger log("ui", "Shader");
        log.error("no shader function named \"{}\"; its effects draw the content unchanged", name);
    }
    return ShaderFunction(std::string(name), ShaderFunction::ColorBody{});
}

bool ShaderLibrary::contains(std::string_view name) const {
    std::lock_guard lock(mutex_);
    return functions_.find(name) != functions_.end();
}

} // namespace ui
