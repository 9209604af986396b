#pragma once

#include <string>
#include <vector>

namespace foundation {

// The user's languages, most preferred first, as string-table folder names ("de_DE", "de"),
// read from the environment on each call: the colon-separated LANGUAGE list, then the first
// set of LC_ALL, LC_MESSAGES and LANG. Codesets and modifiers are dropped and each regional
// name is followed by its language ("de_DE.UTF-8@euro" gives "de_DE", "de"); "C" and "POSIX"
// mean English. Ends with "en", the language of the program's own texts. Malformed entries are
// skipped.
std::vector<std::string> preferredLanguages();

} // namespace foundation
