// GoogleTest entry point with a QApplication, for tests of windows and
// controls. They run on Qt's offscreen platform unless the caller asks for
// another, with the fonts the forms ask for registered.
#include "ui/Fonts.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ui::FontPreparation fonts;
    QApplication app(argc, argv);
    fonts.wait();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
