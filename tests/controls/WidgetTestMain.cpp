// GoogleTest entry point with a QApplication, for tests of widgets. They run
// on Qt's offscreen platform (96 DPI: 15 twips to the pixel) unless the
// caller asks for another.
#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
