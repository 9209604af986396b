#include "reactive/CurrentValueSubject.h"
#include "reactive/ObservableObject.h"
#include "reactive/Published.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace reactive;

namespace {

class Counter : public ObservableObject {
public:
    Published<int> count{this, 0};
    Published<std::vector<int>> items{this};
};

} // namespace

TEST(Published, SendsObjectWillChangeBeforeEachWriteThenEmitsTheNewValue) {
    Counter counter;
    std::vector<std::string> log;
    auto will =
        counter.objectWillChange().sink([&] { log.push_back("will@" + std::to_string(counter.count)); });
    auto values = counter.count.publisher().sink([&](int v) {
        log.push_back("value " + std::to_string(v) + " reads " + std::to_string(counter.count.get()));
    });
    EXPECT_EQ(log, (std::vector<std::string>{"value 0 reads 0"})); // the current value at once

    counter.count = 5;
    counter.count = 5; // an equal write is a change too
    counter.items.modify([](auto& v) { v.push_back(1); });
    EXPECT_EQ(log, (std::vector<std::string>{"value 0 reads 0", "will@0", "value 5 reads 5", "will@5",
                                             "value 5 reads 5", "will@5"}));
    EXPECT_EQ(counter.items->size(), 1u);
}

TEST(Published, ItsPublisherOutlivesTheProperty) {
    AnyPublisher<int> publisher = [] {
        Counter counter;
        counter.count = 3;
        return counter.count.publisher();
    }();
    std::vector<int> out;
    auto c = publisher.sink([&](int v) { out.push_back(v); });
    EXPECT_EQ(out, (std::vector<int>{3}));
}

TEST(CurrentValueSubject, GivesTheCurrentValueToEachNewSubscriberThenEveryValue) {
    CurrentValueSubject<std::string> subject("a");
    std::vector<std::string> first, second;
    auto a = subject.sink([&](const std::string& s) { first.push_back(s); });
    subject.send("b");
    auto b = subject.sink([&](const std::string& s) { second.push_back(s); });
    subject.setValue("c");
    EXPECT_EQ(subject.value(), "c");
    subject.send(Subscribers::Completion<Never>::finished());
    subject.send("d"); // ignored after completion
    EXPECT_EQ(subject.value(), "c");
    EXPECT_EQ(first, (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(second, (std::vector<std::string>{"b", "c"}));
}
