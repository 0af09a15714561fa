// The baseline for the start-up benchmark: a Qt Widgets program that shows
// one empty window.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Baseline"));
    window.resize(378, 348);
    window.show();
    return QApplication::exec();
}
