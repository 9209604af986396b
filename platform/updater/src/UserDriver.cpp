#include "updater/UserDriver.h"

namespace updater {

UserDriver::~UserDriver() = default;

} // namespace updater
