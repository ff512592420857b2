// Every test starts with the environment the run started with: a fixture
// that points TALUNE_HOME or a log at its own temporary directory and does
// not put it back cannot hand that to the next test of the same process
// (the Windows run puts a whole file's tests in one process).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "system_support.h"

namespace {
class EnvironmentGuard : public ::testing::EmptyTestEventListener {
public:
    void OnTestStart(const ::testing::TestInfo&) override { saved_ = sys_environment(); }

    void OnTestEnd(const ::testing::TestInfo&) override {
        std::vector<std::string> now = sys_environment();
        for (const std::string& entry : now) {
            std::string name = entry.substr(0, entry.find('='));
            // Windows keeps per-drive directories as "=C:=C:\\..." entries.
            if (!name.empty() && !find(name, saved_)) sys_unset_env(name.c_str());
        }
        for (const std::string& entry : saved_) {
            size_t eq = entry.find('=');
            if (eq == 0 || eq == std::string::npos) continue;
            std::string name = entry.substr(0, eq);
            const std::string* current = find(name, now);
            if (!current || *current != entry) sys_set_env(name.c_str(), entry.substr(eq + 1));
        }
    }

private:
    std::vector<std::string> saved_;

    static const std::string* find(const std::string& name, const std::vector<std::string>& in) {
        for (const std::string& entry : in)
            if (entry.size() > name.size() && entry.compare(0, name.size(), name) == 0 && entry[name.size()] == '=')
                return &entry;
        return nullptr;
    }
};

// Registered before main runs the tests (the main is GoogleTest's own).
const bool registered = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new EnvironmentGuard);
    return true;
}();
}  // namespace

// Run in this order in one process, the second sees what the first left.
TEST(EnvironmentGuard, ATestLeavesItsVariablesBehind) {
    sys_set_env("FUGA_GUARD_PROBE", "left behind");
    sys_set_env("TALUNE_HOME", "/no/such/home");
}

TEST(EnvironmentGuard, TheNextTestDoesNotSeeThem) {
    EXPECT_EQ(std::getenv("FUGA_GUARD_PROBE"), nullptr);
    const char* home = std::getenv("TALUNE_HOME");
    EXPECT_TRUE(home == nullptr || std::string(home) != "/no/such/home");
}
