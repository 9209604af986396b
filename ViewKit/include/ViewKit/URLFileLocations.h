#pragma once

#include "foundation/FileManager.h"
#include "foundation/URL.h"

#include <memory>
#include <optional>
#include <string_view>

namespace ViewKit {

// `url` when no file is at its path; else the first of stem<separator>1.ext, stem<separator>2.ext,
// … that is free ("report.txt" with "-" gives "report-1.txt"; "archive.tar.gz" gives
// "archive.tar-1.gz"). It only looks: nothing reserves the name, so another writer may take it
// before the caller does.
foundation::URL uniqueFileUrl(
    const foundation::URL& url, std::string_view separator = "-",
    const std::shared_ptr<foundation::FileManager>& fileManager = foundation::FileManager::defaultManager());

// The default cloud container; none where there is no cloud storage (always, on this system).
std::optional<foundation::URL> ubiquityContainerUrl(
    const std::shared_ptr<foundation::FileManager>& fileManager = foundation::FileManager::defaultManager());
// Its "Documents" folder; none without a container.
std::optional<foundation::URL> ubiquityDocumentsUrl(
    const std::shared_ptr<foundation::FileManager>& fileManager = foundation::FileManager::defaultManager());
// The user's documents folder; none when the system names none.
std::optional<foundation::URL> documentDirectoryUrl(
    const std::shared_ptr<foundation::FileManager>& fileManager = foundation::FileManager::defaultManager());

} // namespace ViewKit
