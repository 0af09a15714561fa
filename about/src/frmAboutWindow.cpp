#include "frmAboutWindow.h"

#include "ui/Fonts.h"
#include "ui/OleColor.h"
#include "ui/Twips.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QTimer>

namespace quorrel {
namespace {

constexpr double kFontPoints = 8.4;
constexpr double kHyperlinkFontPoints = 7.8;
const QString kFontFace = QStringLiteral("Tahoma");
// The caption property of a label, kept as the form set it (with its
// carriage returns), beside the text the widget shows.
const char* const kCaptionProperty = "Caption";

template <typename Control>
Control* place(Control* control, const char* name, double left, double top, double width, double height)
{
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(ui::twipsRect(left, top, width, height));
    control->setFont(ui::designFont(kFontFace, kFontPoints));
    return control;
}

QLabel* label(QWidget* container, const QString& caption, bool wordWrap = true)
{
    auto* control = new QLabel(container);
    control->setTextFormat(Qt::PlainText);
    control->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    control->setWordWrap(wordWrap);
    control->setFocusPolicy(Qt::NoFocus);
    frmAboutWindow::setCaption(control, caption);
    return control;
}

void setTextColour(QWidget* control, const QColor& colour)
{
    QPalette palette = control->palette();
    palette.setColor(QPalette::WindowText, colour);
    control->setPalette(palette);
}

QLabel* pictureBox(QWidget* container)
{
    auto* control = new QLabel(container);
    control->setFrameShape(QFrame::NoFrame);
    control->setFocusPolicy(Qt::NoFocus);
    control->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return control;
}

QPixmap designIcon()
{
    return QApplication::style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32);
}

} // namespace

frmAboutWindow::frmAboutWindow()
    : QDialog(nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About"));
    setFont(ui::designFont(kFontFace, kFontPoints));
    setFixedSize(ui::twipsToPixelsX(5736), ui::twipsToPixelsY(4308));
    move(ui::twipsToPixelsX(2340), ui::twipsToPixelsY(1932));

    picIcon = place(pictureBox(this), "picIcon", 240, 240, 384, 384);
    setPicture(picIcon, designIcon());

    lblProductName = place(label(this, QStringLiteral("Application Title")), "lblProductName", 1050, 240, 3885, 480);
    setTextColour(lblProductName, Qt::black);
    lblCopyrightMsg = place(label(this, QStringLiteral("Copyright Message")), "lblCopyrightMsg", 1050, 780, 3885, 225);
    lblDescription = place(label(this, QString()), "lblDescription", 1050, 1125, 3885, 1170);
    setTextColour(lblDescription, Qt::black);

    lblHyperlink = place(label(this, QString(), false), "lblHyperlink", 1080, 2520, 624, 192);
    QFont linkFont = ui::designFont(kFontFace, kHyperlinkFontPoints);
    linkFont.setUnderline(true);
    lblHyperlink->setFont(linkFont);
    setTextColour(lblHyperlink, ui::oleColorToQColor(ui::SystemColor::Highlight).value_or(QColor(Qt::blue)));
    lblHyperlink->setCursor(Qt::PointingHandCursor);
    setHyperlinkCaption(QStringLiteral("Hyperlink"));

    lblDisclaimer = place(label(this, QStringLiteral("Warning: ...")), "lblDisclaimer", 252, 2988, 3876, 1188);
    setTextColour(lblDisclaimer, Qt::black);

    cmdOK = place(new QPushButton(QStringLiteral("OK"), this), "cmdOK", 4245, 2988, 1260, 345);
    cmdOK->setToolTip(QStringLiteral("Closes the window"));
    cmdOK->setDefault(true);
    cmdOK->setAutoDefault(true);
    cmdSysInfo = place(new QPushButton(QStringLiteral("&System Info..."), this), "cmdSysInfo", 4260, 3432, 1245, 345);
    cmdSysInfo->setToolTip(QStringLiteral("Retrieves information about your system"));
    cmdSysInfo->setAutoDefault(false);
    setTabOrder(cmdOK, cmdSysInfo);

    picAuthor = place(pictureBox(this), "picAuthor", 4200, 120, 1395, 1935);
    picAuthor->setPixmap(QPixmap(QStringLiteral(":/quorrel/author.jpg")));
    picAuthor->hide();

    timTimer = new QTimer(this);
    timTimer->setObjectName(QStringLiteral("timTimer"));
    timTimer->setTimerType(Qt::PreciseTimer);
    timTimer->setInterval(500);

    cmdOK->setFocus();
}

void frmAboutWindow::setCaption(QLabel* label, const QString& caption)
{
    label->setProperty(kCaptionProperty, caption);
    QString shown = caption;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    label->setText(shown);
}

QString frmAboutWindow::caption(const QLabel* label) { return label->property(kCaptionProperty).toString(); }

void frmAboutWindow::setHyperlinkCaption(const QString& caption)
{
    setCaption(lblHyperlink, caption);
    const QFontMetrics metrics(lblHyperlink->font());
    const int width = caption.isEmpty() ? 0 : metrics.horizontalAdvance(lblHyperlink->text());
    lblHyperlink->resize(width, metrics.height());
}

void frmAboutWindow::setPicture(QLabel* pictureBox, const QPixmap& picture)
{
    pictureBox->setPixmap(picture);
    pictureBox->resize(picture.isNull() ? QSize(0, 0) : picture.deviceIndependentSize().toSize());
}

void frmAboutWindow::keyPressEvent(QKeyEvent* event)
{
    // OK is the cancel button too: Esc presses it, like Enter.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        cmdOK->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmAboutWindow::closeEvent(QCloseEvent* event)
{
    event->accept();
    emit closeBoxPressed();
    QDialog::closeEvent(event);
}

void frmAboutWindow::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    QPainter painter(this);
    // The etched separator: a grey line with a white one of 2 pixels below.
    painter.setPen(QPen(QColor(0x80, 0x80, 0x80), 1));
    painter.drawLine(ui::twipsToPixelsX(96), ui::twipsToPixelsY(2808), ui::twipsToPixelsX(5666),
                     ui::twipsToPixelsY(2808));
    painter.setPen(QPen(Qt::white, 2));
    painter.drawLine(ui::twipsToPixelsX(108), ui::twipsToPixelsY(2820), ui::twipsToPixelsX(5663),
                     ui::twipsToPixelsY(2820));
}

} // namespace quorrel
