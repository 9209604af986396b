#pragma once

#include "ui/Shader.h"
#include "ui/ShaderFunction.h"

#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

// Shader functions found by name, as a program registers them. A name that is not there gives
// the empty function (and says so once in the log), whose effects leave content as it is.
class ShaderLibrary {
public:
    // The program's own library.
    static ShaderLibrary& default_();

    // Registers `function` under its name, replacing one of the same name.
    void add(ShaderFunction function);
    ShaderFunction function(std::string_view name) const;
    bool contains(std::string_view name) const;
    // The named function with `arguments`.
    Shader shader(std::string_view name, std::vector<Shader::Argument> arguments = {}) const {
        return Shader(function(name), std::move(arguments));
    }

private:
    mutable std::mutex mutex_;
    std::map<std::string, ShaderFunction, std::less<>> functions_;
    mutable std::map<std::string, bool, std::less<>> reportedMissing_;
};

} // namespace ui
