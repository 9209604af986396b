#pragma once

#include <string>

namespace foundation {

// The user's folders by the XDG rules, read from the environment at each call. A relative value
// of a variable counts as unset. Empty when neither the variable nor a home folder is known.

// $XDG_CONFIG_HOME, else ~/.config.
std::string configurationFolder();
// $XDG_DATA_HOME, else ~/.local/share.
std::string dataFolder();
// $XDG_CACHE_HOME, else ~/.cache.
std::string cacheFolder();

} // namespace foundation
