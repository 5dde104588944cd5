#include <gtest/gtest.h>

#include "platform/display/LoopSources.h"

#include <unistd.h>

#include <chrono>
#include <utility>

namespace platform {
namespace {

// A library's event source: one descriptor and, when set, a deadline of its own.
struct PipeSource final : LoopSource {
    int fd = -1;
    int deadlineMs = -1;
    int prepared = 0;
    int served = 0;
    short revents = -1;

    int Prepare(std::vector<pollfd>& fds) override {
        ++prepared;
        fds.push_back(pollfd{fd, POLLIN, 0});
        return deadlineMs;
    }
    void Dispatch(std::span<const pollfd> fds) override {
        ++served;
        revents = fds.size() == 1 ? fds[0].revents : -1;
        char byte;
        if (revents & POLLIN) {
            ASSERT_EQ(read(fd, &byte, 1), 1);
        }
    }
};

struct Pipe {
    int ends[2];
    Pipe() { EXPECT_EQ(pipe(ends), 0); }
    ~Pipe() {
        close(ends[0]);
        close(ends[1]);
    }
    void Write() { ASSERT_EQ(write(ends[1], "x", 1), 1); }
};

long MsSince(std::chrono::steady_clock::time_point start) {
    using namespace std::chrono;
    return long(duration_cast<milliseconds>(steady_clock::now() - start).count());
}

// The display's wait watches the sources too: it ends as soon as one has work or its deadline
// comes, serves it with what is ready, and still says whether the display itself is readable.
TEST(LoopSources, TheWaitEndsForASourceAndServesIt) {
    Pipe display, library;
    PipeSource source;
    source.fd = library.ends[0];
    AddLoopSource(source);

    library.Write();
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(WaitForDescriptor(display.ends[0], 5000));
    EXPECT_LT(MsSince(start), 2000);
    EXPECT_EQ(source.served, 1);
    EXPECT_TRUE(source.revents & POLLIN);

    source.deadlineMs = 30;
    start = std::chrono::steady_clock::now();
    EXPECT_FALSE(WaitForDescriptor(display.ends[0], 5000));
    EXPECT_GE(MsSince(start), 25);
    EXPECT_LT(MsSince(start), 2000);
    EXPECT_EQ(source.served, 2);
    EXPECT_EQ(source.revents, 0); // served at its deadline with nothing ready

    source.deadlineMs = -1;
    display.Write();
    EXPECT_TRUE(WaitForDescriptor(display.ends[0], 5000));
    EXPECT_EQ(source.served, 3);

    RemoveLoopSource(source);
    EXPECT_TRUE(WaitForDescriptor(display.ends[0], 0)); // the display's byte is still unread
    EXPECT_EQ(source.prepared, 3);
}

// A source made during the first wait (the accessibility module's bus watch) is watched by that
// same wait: otherwise the wait sleeps with nothing watched and its answer never comes.
TEST(LoopSources, ASourceAddedWhilePreparingIsWatchedAtOnce) {
    Pipe display, library;
    PipeSource added;
    added.fd = library.ends[0];
    struct Starter final : LoopSource {
        LoopSource* toAdd = nullptr;
        int Prepare(std::vector<pollfd>&) override {
            if (toAdd)
                AddLoopSource(*std::exchange(toAdd, nullptr));
            return -1;
        }
        void Dispatch(std::span<const pollfd>) override {}
    } starter;
    starter.toAdd = &added;
    AddLoopSource(starter);
    library.Write();
    auto start = std::chrono::steady_clock::now();
    WaitForDescriptor(display.ends[0], 5000);
    EXPECT_LT(MsSince(start), 2000);
    EXPECT_EQ(added.served, 1);
    RemoveLoopSource(added);
    RemoveLoopSource(starter);
}

} // namespace
} // namespace platform
