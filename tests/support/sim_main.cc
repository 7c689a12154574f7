// Native test program: gtest's main, with suites in tests/platform/ running on the
// simulated Windows.
#include <gtest/gtest.h>

#include "platform/sim/sim_windows.h"
#include "tests/support/test_platform.h"

namespace testsupport {
namespace {

class SimTestPlatform : public TestPlatform {
public:
    SimTestPlatform() {
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = info ? std::string(info->test_suite_name()) + "." + info->name() : "Test";
        scratch_ = "C:\\T\\";
        regScratch_ = "Software\\TavrelTests\\" + name;
        sim_.AddFolder("C:\\T");
        sim_.RegPutKey(plat::RegRoot::CurrentUser, regScratch_);
    }
    plat::Platform& Sys() override { return sim_; }
    bool IsSimulated() const override { return true; }
    plat::SimWindows* Sim() override { return &sim_; }
    void QueueMessageBoxAnswer(int answer) override { sim_.QueueMessageBoxAnswer(answer); }
    std::vector<MessageBoxRecord> MessageBoxes() override {
        std::vector<MessageBoxRecord> out;
        for (const auto& b : sim_.MessageBoxes()) out.push_back({b.owner, b.text, b.caption, b.style, b.answer});
        return out;
    }
    void ClearMessageBoxes() override { sim_.ClearMessageBoxes(); }
    void QueueEnterKey() override { sim_.QueueEnterKey(); }
    bool SetAttributes(const std::string& path, uint32_t attributes) override {
        return sim_.SetAttributes(path, attributes);
    }

private:
    plat::SimWindows sim_;
};

}  // namespace

std::unique_ptr<TestPlatform> MakeTestPlatform() { return std::make_unique<SimTestPlatform>(); }

}  // namespace testsupport

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
