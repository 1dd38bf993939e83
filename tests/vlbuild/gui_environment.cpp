// Text documents and SVG rendering need a GUI application object.
#include <QGuiApplication>
#include <gtest/gtest.h>

namespace {

class GuiEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        static int argc = 1;
        static char name[] = "test_vlbuild";
        static char *argv[] = {name, nullptr};
        if (!QGuiApplication::instance())
            app_ = new QGuiApplication(argc, argv);
    }

private:
    QGuiApplication *app_ = nullptr;
};

const auto *registered = ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

}  // namespace
