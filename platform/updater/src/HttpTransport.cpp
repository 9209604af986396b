#include "HttpTransport.h"

#include <fmt/format.h>

#include <dlfcn.h>

#include <filesystem>

namespace updater {

namespace {

struct LoadedModule {
    HttpTransportFactory* factory = nullptr;
    std::string error;
};

LoadedModule load() {
    Dl_info self{};
    if (dladdr(reinterpret_cast<const void*>(&makeHttpTransport), &self) == 0 || !self.dli_fname)
        return {nullptr, "The updater library could not find its own folder."};
    const auto path = std::filesystem::path(self.dli_fname).parent_path() / httpTransportModuleName;
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module) return {nullptr, fmt::format("The network module could not be loaded: {}", dlerror())};
    auto* factory = reinterpret_cast<HttpTransportFactory*>(dlsym(module, httpTransportFactoryName));
    if (!factory)
        return {nullptr,
                fmt::format("The network module {} lacks {}.", path.string(), httpTransportFactoryName)};
    return {factory, {}};
}

const LoadedModule& loaded() {
    static const LoadedModule module = load();
    return module;
}

} // namespace

std::string httpTransportError() {
    return loaded().error;
}

std::unique_ptr<HttpTransport> makeHttpTransport(std::string& error) {
    const LoadedModule& module = loaded();
    if (!module.factory) {
        error = module.error;
        return nullptr;
    }
    return std::unique_ptr<HttpTransport>(module.factory());
}

} // namespace updater
