#include "clock_privilege.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Records the calls; each step fails where the test says so.
class FakePrivilegePlatform : public PrivilegePlatform {
public:
    bool openWorks = true, lookupWorks = true, enableWorks = true;
    std::string calls;
    uint64_t enabled = 0;

    bool OpenToken(HANDLE& token) override
    {
        calls += "open ";
        token = openWorks ? reinterpret_cast<HANDLE>(0x44) : nullptr;
        return openWorks;
    }
    bool LookupSystemTimePrivilege(uint64_t& privilege) override
    {
        calls += "lookup ";
        privilege = 0x0000000100000022;
        return lookupWorks;
    }
    bool EnablePrivilege(HANDLE token, uint64_t privilege) override
    {
        calls += token == reinterpret_cast<HANDLE>(0x44) ? "enable " : "enable(wrong token) ";
        enabled = privilege;
        return enableWorks;
    }
    void CloseToken(HANDLE token) override
    {
        calls += token == reinterpret_cast<HANDLE>(0x44) ? "close " : "close(wrong token) ";
    }
    void WarnNoPrivilege() override { calls += "warn "; }
};

TEST(ClockPrivilegeTest, EveryFailingStepWarnsOnceAndLeavesWatchingMode)
{
    struct Case {
        const char* what;
        bool open, lookup, enable;
        std::string calls;
        bool setTime;
    } cases[] = {
        {"granted", true, true, true, "open lookup enable close ", true},
        {"no token", false, true, true, "open warn ", false},
        {"no such privilege", true, false, true, "open lookup close warn ", false},
        {"refused or not assigned", true, true, false, "open lookup enable close warn ", false},
    };
    for (const Case& c : cases) {
        FakePrivilegePlatform platform;
        platform.openWorks = c.open;
        platform.lookupWorks = c.lookup;
        platform.enableWorks = c.enable;
        bool setTime = true;
        AcquireClockPrivilege(platform, setTime);
        EXPECT_EQ(c.calls, platform.calls) << c.what;
        EXPECT_EQ(c.setTime, setTime) << c.what;
    }
}

TEST(ClockPrivilegeTest, WatchingModeTouchesNothing)
{
    FakePrivilegePlatform platform;
    bool setTime = false;
    AcquireClockPrivilege(platform, setTime);
    EXPECT_EQ("", platform.calls);
    EXPECT_FALSE(setTime);
}

}  // namespace
