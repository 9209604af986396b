// A multi-line note with multilineSubmit and a link, typed into and clicked in a real window.
#include "ChildProcess.h"
#include "ScopedEnvironment.h"
#include "VirtualScreen.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <sstream>
#include <string>

namespace {

using NoteWindowScreen = testing_support::VirtualScreenFixture;

void xdotool(std::vector<std::string> arguments) {
    testing_support::ChildProcess tool(testing_support::findProgram("xdotool").value_or("xdotool"),
                                       arguments);
    tool.readAll(std::chrono::seconds(20));
    tool.finish(std::chrono::seconds(5));
}

std::pair<std::string, std::string> pointFrom(const std::optional<std::string>& line) {
    std::istringstream in(line.value_or(""));
    std::string name, x, y;
    in >> name >> x >> y;
    return {x, y};
}

} // namespace

TEST_F(NoteWindowScreen, TypingAndReturnSubmitOnceAndAClickOpensTheLink) {
    ASSERT_TRUE(testing_support::findProgram("xdotool")) << "xdotool is in scripts/install-deps";
    testing_support::ScopedEnvironment display("DISPLAY", displayName().c_str());
    testing_support::ScopedEnvironment platform("QT_QPA_PLATFORM", "xcb");
    testing_support::ChildProcess window(VIEWKIT_NOTE_WINDOW_PATH, {});
    const auto note = pointFrom(window.readLine(std::chrono::seconds(30)));
    const auto link = pointFrom(window.readLine(std::chrono::seconds(10)));
    ASSERT_FALSE(note.first.empty());
    ASSERT_FALSE(link.first.empty());

    xdotool({"mousemove", "--sync", note.first, note.second});
    xdotool(
        {"search", "--sync", "--onlyvisible", "--classname", "viewkit_note_window", "windowfocus", "--sync"});
    xdotool({"click", "1"});
    xdotool({"type", "--delay", "20", "Buy milk"});
    xdotool({"key", "Return"});
    xdotool({"mousemove", "--sync", link.first, link.second, "click", "1"});
    window.signal(SIGUSR1);
    const std::string output = window.readAll(std::chrono::seconds(30));
    ASSERT_EQ(window.finish(), 0) << output;

    std::istringstream lines(output);
    int submits = 0;
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("submit ", 0) == 0) {
            ++submits;
            EXPECT_EQ(line, "submit Buy milk");
        }
    }
    EXPECT_EQ(submits, 1) << output;
    EXPECT_NE(output.find("opened https://x.org/a)b\n"), std::string::npos) << output;
    EXPECT_NE(output.find("focused 0\n"), std::string::npos) << output;
    EXPECT_NE(output.find("text Buy milk\n"), std::string::npos) << output;
}
