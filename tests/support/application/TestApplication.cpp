// Text metrics (and, in some test programs, widgets) need a Qt application object. Each test
// program makes one for all its tests, on the offscreen platform unless the caller chose
// another. The build names the program (ZOV_TEST_PROGRAM, which also keeps settings apart) and
// says whether it needs widgets (ZOV_TEST_WIDGETS) or a fixed 96 dpi (ZOV_TEST_FIXED_DPI).
#ifdef ZOV_TEST_WIDGETS
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#endif

#include <gtest/gtest.h>
#include <memory>

namespace {

class ApplicationEnvironment final : public ::testing::Environment {
public:
    void SetUp() override {
        if (QCoreApplication::instance() != nullptr)
            return;
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
#ifdef ZOV_TEST_FIXED_DPI
        QCoreApplication::setAttribute(Qt::AA_Use96Dpi);
#endif
        app_ = std::make_unique<TestApplication>(argc_, argv_);
    }
    void TearDown() override { app_.reset(); }

private:
    int argc_ = 1;
    char program_[sizeof(ZOV_TEST_PROGRAM)] = ZOV_TEST_PROGRAM;
    char* argv_[2] = {program_, nullptr};
    std::unique_ptr<TestApplication> app_;
};

[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);

} // namespace
