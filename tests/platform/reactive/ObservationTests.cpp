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

TEST(ObservationTracking, ARenewedTrackingWatchesExactlyTheLatestRunsReads) {
    std::vector<Keys> keys(20);
    int first = 0, second = 0, third = 0;
    ObservationTracking tracking;
    auto readAll = [&](std::size_t skip, Keys* extra) {
        for (std::size_t i = 0; i < keys.size(); ++i) {
            if (i == skip) continue;
            keys[i].shift();
            if (i == 10 && extra) extra->shift();
        }
        keys[3].shift(); // read twice: still one registration
    };
    tracking.track([&] { readAll(keys.size(), nullptr); }, [&] { ++first; });
    Keys extra;
    tracking.track([&] { readAll(5, &extra); }, [&] { ++second; });
    keys[5].setShift(true); // no longer read
    EXPECT_EQ(first + second, 0);
    extra.setShift(true);
    EXPECT_EQ(second, 1);
    EXPECT_EQ(first, 0);
    keys[3].setShift(true); // told once, and the tracking has ended
    EXPECT_EQ(second, 1);

    // After a change, and for runs that read something else altogether, it registers afresh.
    tracking.track([&] { readAll(keys.size(), nullptr); }, [&] { ++third; });
    tracking.track(
        [&] {
            for (auto& k : keys)
                k.option();
        },
        [&] { ++third; });
    keys[7].setShift(false);
    EXPECT_EQ(third, 0);
    keys[7].setOption(true);
    EXPECT_EQ(third, 1);

    // Withdrawn with the tracking.
    {
        ObservationTracking dropped;
        dropped.track([&] { keys[0].option(); }, [&] { ++third; });
    }
    keys[0].setOption(true);
    EXPECT_EQ(third, 1);

    // A tracking told of a write made during its own run registers again.
    int during = 0;
    ObservationTracking renewing;
    renewing.track([&] { keys[1].shift(); }, [&] { ++during; });
    renewing.track(
        [&] {
            keys[1].shift();
            keys[1].setShift(true);
        },
        [&] { ++during; });
    EXPECT_EQ(during, 1); // the first run's tracking
    keys[1].setShift(false);
    EXPECT_EQ(during, 2);
}
