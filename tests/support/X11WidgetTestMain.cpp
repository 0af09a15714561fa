// GoogleTest entry point with a QApplication. When an X display is there
// (scripts/test runs everything under Xvfb) the application uses it, so that
// tests can exchange real X events with their widgets; otherwise it runs on
// Qt's offscreen platform and the tests that need X skip.
#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", qEnvironmentVariableIsEmpty("DISPLAY") ? "offscreen" : "xcb");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
