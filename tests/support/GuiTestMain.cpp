// GoogleTest entry point with a QGuiApplication, for tests that touch fonts,
// pixmaps or icons. They run on Qt's offscreen platform unless the caller
// asks for another, also when CTest lists the tests at build time.
#include <QGuiApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
