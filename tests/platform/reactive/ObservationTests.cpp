#include "reactive/ObservationRegistrar.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

using namespace reactive;

namespace {

class Keys {
public:
    bool shift() const {
        registrar_.access(*this, &Keys::shift_);
        return shift_;
    }
    void setShift(bool v) {
        registrar_.withMutation(*this, &Keys::shift_, [&] { shift_ = v; });
    }
    bool option() const {
        registrar_.access(*this, &Keys::option_);
        return option_;
    }
    void setOption(bool v) {
        registrar_.withMutation(*this, &Keys::option_, [&] { option_ = v; });
    }
    bool rawShift() const { return shift_; }

private:
    ObservationRegistrar registrar_;
    bool shift_ = false;
    bool option_ = false;
};

} // namespace

TEST(ObservationTracking, CallsOnChangeOnceBeforeTheFirstWriteOfAPropertyThatWasRead) {
    Keys keys;
    std::vector<std::string> log;
    const bool read = withObservationTracking([&] { return keys.shift(); },
                                              [&] { log.push_back(keys.rawShift() ? "after" : "before"); });
    EXPECT_FALSE(read);

    keys.setOption(true); // not read: not observed
    EXPECT_TRUE(log.empty());
    keys.setShift(false); // an equal write notifies too
    keys.setShift(true);  // once only
    EXPECT_EQ(log, (std::vector<std::string>{"before"}));
}

TEST(ObservationTracking, RecordsOnlyItsOwnThreadsAndItsOwnNestingLevelsReads) {
    Keys a, b, c;
    int outer = 0, inner = 0;
    withObservationTracking(
        [&] {
            a.shift();
            withObservationTracking([&] { b.shift(); }, [&] { ++inner; });
            std::thread([&] { c.shift(); }).join();
        },
        [&] { ++outer; });
    c.setShift(true);
    EXPECT_EQ(outer + inner, 0);
    b.setShift(true);
    EXPECT_EQ(inner, 1);
    EXPECT_EQ(outer, 0);
    a.setShift(true);
    EXPECT_EQ(outer, 1);
}

TEST(ObservationTracking, AWriteDuringApplyDoesNotCountAndAWithdrawnTrackingIsNeverCalled) {
    Keys keys;
    int changes = 0;
    withObservationTracking(
        [&] {
            keys.shift();
            keys.setShift(true);
        },
        [&] { ++changes; });
    EXPECT_EQ(changes, 0);
    keys.setShift(false);
    EXPECT_EQ(changes, 1);

    int withdrawn = 0;
    auto tracking = withCancellableObservationTracking([&] { keys.option(); }, [&] { ++withdrawn; });
    tracking.cancel();
    keys.setOption(true);
    EXPECT_EQ(withdrawn, 0);
}

TEST(ObservationTracking, AWriteOnAnotherThreadCallsOnChangeThere) {
    Keys keys;
    std::atomic<bool> calledOnWriter{false};
    std::thread::id writer;
    withObservationTracking(
        [&] {
            keys.shift();
            keys.option();
        },
        [&] { calledOnWriter = std::this_thread::get_id() == writer; });
    std::thread t([&] {
        writer = std::this_thread::get_id();
        keys.setOption(true);
        keys.setShift(true);
    });
    t.join();
    EXPECT_TRUE(calledOnWriter);
}
