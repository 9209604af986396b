#pragma once

#include "ChildProcess.h"

#include <sys/types.h>

#include <memory>
#include <string>

namespace testing_support {

// A running announcing_program (it stands in for the goal-list program, announcing its bundle
// identifier) and its process id, once it said it is ready.
struct AnnouncingProgram {
    std::unique_ptr<ChildProcess> process;
    pid_t pid = 0;

    static AnnouncingProgram start() {
        AnnouncingProgram program;
        program.process = std::make_unique<ChildProcess>(ANNOUNCING_PROGRAM_PATH, std::vector<std::string>{});
        const auto line = program.process->readLine();
        if (line && line->starts_with("ready ")) program.pid = pid_t(std::stol(line->substr(6)));
        return program;
    }
};

} // namespace testing_support
