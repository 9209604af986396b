#pragma once

#include "foundation/Bundle.h"
#include "foundation/URL.h"

#include <memory>
#include <optional>
#include <string_view>
#include <vector>

// How a library finds its own resource bundle, a folder "<name>.bundle" installed with it.
namespace foundation {

// The folders a library's resource bundle is looked for in, in order: the main bundle's
// resources, the folder holding the shared object that contains `libraryCode` (any address in
// the library, such as a function of its own), and the main bundle's folder. An entry is absent
// when no loaded object holds `libraryCode`.
std::vector<std::optional<URL>> resourceBundleCandidates(const void* libraryCode);

// The bundle "<name>.bundle" in the first candidate that holds it; absent candidates are
// skipped, and later ones are not looked at once one is found. nullptr when none holds it.
std::shared_ptr<Bundle> findResourceBundle(std::string_view name,
                                           const std::vector<std::optional<URL>>& candidates);

// As findResourceBundle; a missing bundle is a packaging fault and stops the program with
// "unable to find bundle named <name>".
std::shared_ptr<Bundle> requireResourceBundle(std::string_view name,
                                              const std::vector<std::optional<URL>>& candidates);

} // namespace foundation
