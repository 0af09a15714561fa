// The honest floor for the start-up of Vexlo's main window: a plain Qt
// Widgets program that shows a window with the same standard controls,
// captions, places and fonts, and the stand-ins of the six Tarvo controls as
// labels with their captions and fonts. No platform layer, services or
// Tarvo: only what Qt itself costs for this window.
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

#include <cmath>

namespace {

const QString kFace = QStringLiteral("Tahoma");

QFont font(const QString& family, double points, bool bold = false)
{
    QFont result(family);
    result.setPointSizeF(points);
    result.setBold(bold);
    return result;
}

int pixels(double twips, double dpi) { return static_cast<int>(std::lround(twips * dpi / 1440.0)); }

// The step buttons' pictures: a small black triangle.
QIcon triangle(bool pointsRight)
{
    QPixmap picture(15, 15);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawPolygon(pointsRight ? QPolygon({QPoint(5, 3), QPoint(10, 7), QPoint(5, 11)})
                                    : QPolygon({QPoint(9, 3), QPoint(4, 7), QPoint(9, 11)}));
    return QIcon(picture);
}

QPushButton* stepButton(bool pointsRight, const QString& toolTip, QWidget* parent)
{
    auto* button = new QPushButton(parent);
    button->setIcon(triangle(pointsRight));
    button->setIconSize(QSize(15, 15));
    button->setToolTip(toolTip);
    return button;
}

// Places controls given in twips, as the forms give them.
class Placer {
public:
    explicit Placer(double dpiX, double dpiY) : m_dpiX(dpiX), m_dpiY(dpiY) {}
    template <typename Control>
    Control* operator()(Control* control, double left, double top, double width, double height) const
    {
        control->setGeometry(pixels(left, m_dpiX), pixels(top, m_dpiY), pixels(width, m_dpiX),
                             pixels(height, m_dpiY));
        return control;
    }
    QSize size(double width, double height) const { return {pixels(width, m_dpiX), pixels(height, m_dpiY)}; }

private:
    double m_dpiX;
    double m_dpiY;
};

QLabel* label(const QString& caption, QWidget* parent, Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop)
{
    auto* control = new QLabel(caption, parent);
    control->setTextFormat(Qt::PlainText);
    control->setAlignment(alignment);
    return control;
}

void createControls(QDialog& window, const Placer& place)
{
    place(new QPushButton(QStringLiteral("&Help"), &window), 4596, 2160, 975, 375);
    place(new QPushButton(QStringLiteral("Save"), &window), 4596, 1515, 975, 375);
    place(new QPushButton(QStringLiteral("&About"), &window), 4596, 2616, 975, 375);

    auto* miscellaneous = place(new QGroupBox(QStringLiteral("Miscellaneous"), &window), 480, 4200, 3735, 855);
    place(new QCheckBox(QStringLiteral("Allow &non-printable characters"), miscellaneous), 240, 240, 3135, 255);
    place(new QCheckBox(QStringLiteral("Allow &symbol characters"), miscellaneous), 240, 495, 3135, 255);

    auto* panel = place(new QFrame(&window), 120, 120, 4095, 1095);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setAutoFillBackground(true);
    auto* previous = place(stepButton(false, QStringLiteral("Display previous step"), panel), 3450, 720, 255, 255);
    previous->setEnabled(false);
    place(stepButton(true, QStringLiteral("Display next step"), panel), 3690, 720, 255, 255);
    place(label(QStringLiteral("# steps"), panel, Qt::AlignHCenter | Qt::AlignTop), 120, 660, 540, 225);
    auto* stepCount = place(label(QStringLiteral("1"), panel, Qt::AlignHCenter | Qt::AlignTop), 120, 300, 540, 360);
    stepCount->setAutoFillBackground(true);
    auto* step = place(label(QStringLiteral("STEP"), panel, Qt::AlignHCenter | Qt::AlignTop), 120, 120, 540, 195);
    step->setAutoFillBackground(true);
    place(label(QStringLiteral("(Tips)"), panel), 810, 120, 3015, 615)->setWordWrap(true);

    place(new QPushButton(QStringLiteral("Close"), &window), 4590, 990, 975, 375);
    place(new QPushButton(QStringLiteral("&Copy"), &window), 4590, 555, 975, 375)->setEnabled(false);
    place(new QPushButton(QStringLiteral("&Generate"), &window), 4590, 120, 975, 375);

    auto* password = place(new QGroupBox(QStringLiteral("Password"), &window), 480, 1920, 3735, 975);
    place(label(QStringLiteral("Click the Generate button to generate a new password."), password), 240, 360, 3375,
          375)
        ->setWordWrap(true);

    auto* seed = place(new QGroupBox(QStringLiteral("Seed"), &window), 480, 3000, 3735, 1095);
    place(new QRadioButton(QStringLiteral("&Use current system time (recommended)"), seed), 240, 360, 3372, 255)
        ->setChecked(true);
    place(new QLineEdit(QStringLiteral("0"), seed), 1680, 600, 855, 315)->setEnabled(false);
    place(new QRadioButton(QStringLiteral("Let &me specify"), seed), 240, 615, 1455, 255);

    auto* length = place(new QLineEdit(QStringLiteral("10"), &window), 2280, 1530, 735, 285);
    place(label(QStringLiteral("characters"), &window), 3120, 1560, 975, 255);
    place(label(QStringLiteral("Password &length:"), &window), 600, 1560, 1575, 255)->setBuddy(length);

    const QFont windowFont = window.font();
    for (QWidget* control : window.findChildren<QWidget*>())
        control->setFont(windowFont);
    stepCount->setFont(font(kFace, 15.6));
}

// The stand-ins of the glowing label and the five step indicators.
void createTarvoStandIns(QDialog& window, const Placer& place)
{
    place(label(QStringLiteral("Tovin"), &window), 4320, 4800, 1212, 372)->setFont(font(QStringLiteral("Verdana"), 10.8, true));
    struct Indicator {
        double left, top, height;
    };
    const Indicator indicators[] = {{240, 1440, 495}, {120, 3000, 495}, {4320, 120, 375}, {4320, 600, 255},
                                    {4320, 960, 495}};
    int number = 1;
    for (const Indicator& indicator : indicators) {
        QLabel* standIn = place(label(QString::number(number), &window), indicator.left, indicator.top, 255,
                                indicator.height);
        standIn->setFont(font(kFace, 8.4));
        standIn->setEnabled(number == 1);
        if (number == 5)
            standIn->hide();
        ++number;
    }
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QDialog window(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                                | Qt::WindowCloseButtonHint);
    window.setWindowTitle(QStringLiteral("Plain window"));
    window.setFont(font(kFace, 8.4));
    const QScreen* screen = QGuiApplication::primaryScreen();
    const Placer place(screen ? screen->logicalDotsPerInchX() : 96.0, screen ? screen->logicalDotsPerInchY() : 96.0);
    window.setFixedSize(place.size(5664, 5220));
    createControls(window, place);
    createTarvoStandIns(window, place);
    window.show();
    return QApplication::exec();
}
