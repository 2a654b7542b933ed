// Auto-size measures text with the fonts' real metrics, which needs a QGuiApplication: one
// headless application serves the whole test program.
#include <QGuiApplication>
#include <gtest/gtest.h>
#include <memory>

namespace {

class PptxGuiEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        if (QGuiApplication::instance())
            return;
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app_ = std::make_unique<QGuiApplication>(argc_, argv_);
    }
    void TearDown() override { app_.reset(); }

private:
    int argc_ = 1;
    char name_[10] = "test_pptx";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QGuiApplication> app_;
};

[[maybe_unused]] const ::testing::Environment* const environment = ::testing::AddGlobalTestEnvironment(new PptxGuiEnvironment);

} // namespace
