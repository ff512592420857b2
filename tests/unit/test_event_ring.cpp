// The backends' fixed-size event queue: order across the wrap, what a full
// queue does with more, and events put in front of the rest.
#include <gtest/gtest.h>

#include "platform/event_ring.h"

namespace {
OsEvent numbered(int n) {
    OsEvent ev;
    ev.type = OsEventType::Wake;
    ev.param = n;
    return ev;
}

int next(EventRing<3>& ring) {
    OsEvent ev;
    return ring.pop(ev) ? ev.param : -1;
}
}  // namespace

TEST(EventRing, KeepsOrderAcrossTheWrapAndDropsWhatDoesNotFit) {
    EventRing<3> ring;
    EXPECT_EQ(next(ring), -1);
    ring.push_back(numbered(1));
    ring.push_back(numbered(2));
    for (int n = 3; n <= 10; ++n) {
        EXPECT_TRUE(ring.push_back(numbered(n)));
        EXPECT_EQ(next(ring), n - 2);
    }
    EXPECT_TRUE(ring.push_back(numbered(11)));
    EXPECT_FALSE(ring.push_back(numbered(12)));
    EXPECT_FALSE(ring.push_front(numbered(13)));
    EXPECT_EQ(next(ring), 9);
    EXPECT_EQ(next(ring), 10);
    EXPECT_EQ(next(ring), 11);
    EXPECT_EQ(next(ring), -1);
}

TEST(EventRing, PushFrontGoesAheadInTheOrderGiven) {
    EventRing<3> ring;
    ring.push_back(numbered(1));
    next(ring);  // the head is no longer at the start of the storage
    ring.push_back(numbered(3));
    ring.push_front(numbered(2));
    ring.push_front(numbered(1));
    EXPECT_TRUE(ring.full());
    EXPECT_EQ(next(ring), 1);
    EXPECT_EQ(next(ring), 2);
    EXPECT_EQ(next(ring), 3);
    ring.push_back(numbered(7));
    ring.clear();
    EXPECT_TRUE(ring.empty());
}

TEST(EventRing, TakingAndDroppingFromTheMiddleKeepsTheOrderAcrossTheWrap) {
    EventRing<3> ring;
    ring.push_back(numbered(0));
    next(ring);  // the next three wrap round the end of the storage
    for (int n = 1; n <= 3; ++n) ring.push_back(numbered(n));
    OsEvent ev;
    ASSERT_TRUE(ring.take_first_if([](const OsEvent& e) { return e.param % 2 == 1; }, ev));
    EXPECT_EQ(ev.param, 1);
    EXPECT_FALSE(ring.take_first_if([](const OsEvent& e) { return e.param > 3; }, ev));
    ring.push_back(numbered(4));
    ring.remove_if([](const OsEvent& e) { return e.param == 3; });
    EXPECT_EQ(ring.size(), 2);
    EXPECT_EQ(next(ring), 2);
    EXPECT_EQ(next(ring), 4);
    EXPECT_EQ(next(ring), -1);
}
