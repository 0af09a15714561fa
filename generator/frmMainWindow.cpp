#include "frmMainWindow.h"

#include "AppInfo.h"
#include "MainWindowAccessibility.h"
#include "StepPanel.h"
#include "automation/AutomationError.h"
#include "automation/ClassRegistry.h"
#include "automation/PropertyBag.h"
#include "tarvo/TypeLibrary.h"
#include "ui/Fonts.h"
#include "ui/OleColor.h"
#include "ui/OptionGroup.h"
#include "ui/ProgressBar.h"
#include "ui/Twips.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

#include <algorithm>

namespace {

constexpr double kFontPoints = 8.4;
constexpr double kStepCountFontPoints = 15.6;
const char* const kFontFace = "Tahoma";

// Gives a control its name, place (twips, relative to its container) and
// place in the tab order.
template <typename Control>
Control* place(Control* control, const char* name, double left, double top, double width, double height,
               int tabIndex)
{
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(ui::twipsRect(left, top, width, height));
    control->setProperty("TabIndex", tabIndex);
    return control;
}

QLabel* label(QWidget* container, const QString& caption)
{
    auto* control = new QLabel(caption, container);
    control->setTextFormat(Qt::PlainText);
    control->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    control->setFocusPolicy(Qt::NoFocus);
    return control;
}

QGroupBox* frame(QWidget* container, const QString& caption)
{
    auto* control = new QGroupBox(caption, container);
    control->setFocusPolicy(Qt::NoFocus);
    return control;
}

void setColours(QWidget* control, std::uint32_t background, std::uint32_t foreground)
{
    QPalette palette = control->palette();
    palette.setColor(QPalette::Window, ui::oleColorToQColor(background).value_or(QColor()));
    palette.setColor(QPalette::WindowText, ui::oleColorToQColor(foreground).value_or(QColor()));
    control->setPalette(palette);
    control->setAutoFillBackground(true);
}

// The 15 x 15 pictures of the step buttons: a small black triangle.
QIcon trianglePicture(bool pointsRight)
{
    QPixmap picture(15, 15);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    const QPolygon triangle = pointsRight ? QPolygon({QPoint(5, 3), QPoint(10, 7), QPoint(5, 11)})
                                          : QPolygon({QPoint(9, 3), QPoint(4, 7), QPoint(9, 11)});
    painter.drawPolygon(triangle);
    painter.end();
    return QIcon(picture);
}

frmMainWindow::StoredSettingsSource& storedSettingsSource()
{
    static frmMainWindow::StoredSettingsSource source;
    return source;
}

// The stored design settings of a Tarvo control of the window.
automation::PropertyBag storedSettings(const QString& name)
{
    if (storedSettingsSource())
        return automation::PropertyBag::fromBytes(storedSettingsSource()(name));
    QFile file(QStringLiteral(":/frmMain/") + name + QStringLiteral(".bag"));
    if (!file.open(QIODevice::ReadOnly))
        automation::raiseError(automation::ErrorNumber::FileNotFound,
                               QStringLiteral("The window's stored settings of %1 are missing").arg(name));
    return automation::PropertyBag::fromBytes(file.readAll());
}

void reportUnreadSettings(const char* control, const automation::AutomationError& error)
{
    qWarning("frmMain: the stored settings of %s could not be read (error %d: %s); "
             "what was not read keeps its default.",
             control, error.number(), qUtf8Printable(error.description()));
}

// A control whose stored settings cannot be read still takes its place with
// its defaults: the window must show whatever its stored data holds.
void loadStoredSettings(ui::UserControl& control, const char* controlName, const QString& settingsName)
{
    automation::PropertyBag bag;
    try {
        bag = storedSettings(settingsName);
    } catch (const automation::AutomationError& error) {
        reportUnreadSettings(controlName, error);
        control.initNew();
        return;
    }
    if (const auto failure = control.loadKeepingDefaults(bag))
        reportUnreadSettings(controlName, *failure);
}

QPushButton* graphicalButton(QWidget* container, bool pointsRight, const QString& toolTip)
{
    auto* button = new QPushButton(container);
    button->setIcon(trianglePicture(pointsRight));
    button->setIconSize(QSize(15, 15));
    button->setToolTip(toolTip);
    return button;
}

} // namespace

frmMainWindow::frmMainWindow()
    : QDialog(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                           | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QString::fromLatin1(kAppTitle));
    setWindowIcon(programIcon());
    setFont(ui::designFont(QString::fromLatin1(kFontFace), kFontPoints));
    m_font = automation::StdFont::create(QString::fromLatin1(kFontFace), kFontPoints);
    setFixedSize(ui::twipsToPixelsX(5664), ui::twipsToPixelsY(5220));
    setSizeGripEnabled(false);
    setAttribute(Qt::WA_DeleteOnClose, false);
    createControls();
    createTarvoControls();
    applyTabOrder();
    nameControlsForScreenReaders(*this);
}

void frmMainWindow::createTarvoControls()
{
    struct Placed {
        const char* name;
        const char* settings;
        QUuid classId;
        double left, top, width, height;
        int tabIndex;
    };
    const Placed controls[] = {
        {"XGlowLabel1", "XGlowLabel1", tarvo::kXGlowLabelClassId, 4320, 4800, 1212, 372, 31},
        {"slbSteps(0)", "slbSteps0", tarvo::kXShpLabelClassId, 240, 1440, 255, 495, 26},
        {"slbSteps(1)", "slbSteps1", tarvo::kXShpLabelClassId, 120, 3000, 255, 495, 27},
        {"slbSteps(2)", "slbSteps2", tarvo::kXShpLabelClassId, 4320, 120, 255, 375, 28},
        {"slbSteps(3)", "slbSteps3", tarvo::kXShpLabelClassId, 4320, 600, 255, 255, 29},
        {"slbSteps(4)", "slbSteps4", tarvo::kXShpLabelClassId, 4320, 960, 255, 495, 30},
    };
    std::vector<automation::ObjectRef> created;
    for (const Placed& placed : controls) {
        automation::ObjectRef object = automation::ClassRegistry::instance().createObject(placed.classId);
        auto* control = dynamic_cast<ui::UserControl*>(object.get());
        if (!control)
            automation::raiseError(automation::ErrorNumber::TypeMismatch);
        control->setParent(this);
        place(control, placed.name, placed.left, placed.top, placed.width, placed.height, placed.tabIndex);
        loadStoredSettings(*control, placed.name, QString::fromLatin1(placed.settings));
        created.push_back(std::move(object));
    }
    XGlowLabel1 = created[0];
    std::copy(created.begin() + 1, created.end(), slbSteps.begin());
    // The indicator of the last step stays hidden.
    dynamic_cast<QWidget*>(slbSteps[4].get())->hide();
}

void frmMainWindow::createControls()
{
    cmdHelp = place(new QPushButton(QStringLiteral("&Help"), this), "cmdHelp", 4596, 2160, 975, 375, 22);
    cmdSave = place(new QPushButton(QStringLiteral("Save"), this), "cmdSave", 4596, 1515, 975, 375, 24);
    cmdAbout = place(new QPushButton(QStringLiteral("&About"), this), "cmdAbout", 4596, 2616, 975, 375, 23);

    fraMiscellaneous = place(frame(this, QStringLiteral("Miscellaneous")), "fraMiscellaneous", 480, 4200, 3735, 855, 19);
    chkNonPrintChars = place(new QCheckBox(QStringLiteral("Allow &non-printable characters"), fraMiscellaneous),
                             "chkNonPrintChars", 240, 240, 3135, 255, 21);
    chkSymbolChars = place(new QCheckBox(QStringLiteral("Allow &symbol characters"), fraMiscellaneous),
                           "chkSymbolChars", 240, 495, 3135, 255, 20);

    auto* panel = new StepPanel(this);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    // Like a picture box, the step panel takes the focus in its tab place.
    panel->setFocusPolicy(Qt::StrongFocus);
    setColours(panel, ui::SystemColor::InfoBackground, ui::SystemColor::WindowText);
    Picture1 = place(panel, "Picture1", 120, 120, 4095, 1095, 13);
    cmdPrevStep = place(graphicalButton(Picture1, false, QStringLiteral("Display previous step")), "cmdPrevStep",
                        3450, 720, 255, 255, 15);
    cmdPrevStep->setEnabled(false);
    cmdNextStep = place(graphicalButton(Picture1, true, QStringLiteral("Display next step")), "cmdNextStep", 3690,
                        720, 255, 255, 14);
    lblNumSteps = place(label(Picture1, QStringLiteral("# steps")), "lblNumSteps", 120, 660, 540, 225, 25);
    lblNumSteps->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    lblStepCount = place(label(Picture1, QStringLiteral("1")), "lblStepCount", 120, 300, 540, 360, 18);
    lblStepCount->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    lblStepCount->setFont(ui::designFont(QString::fromLatin1(kFontFace), kStepCountFontPoints));
    setColours(lblStepCount, ui::SystemColor::ActiveCaption, ui::SystemColor::CaptionText);
    Label3 = place(label(Picture1, QStringLiteral("STEP")), "Label3", 120, 120, 540, 195, 17);
    Label3->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    setColours(Label3, ui::SystemColor::ActiveCaption, ui::SystemColor::CaptionText);
    lblTips = place(label(Picture1, QStringLiteral("(Tips)")), "lblTips", 810, 120, 3015, 615, 16);
    lblTips->setWordWrap(true);

    cmdClose = place(new QPushButton(QStringLiteral("Close"), this), "cmdClose", 4590, 990, 975, 375, 11);
    cmdCopy = place(new QPushButton(QStringLiteral("&Copy"), this), "cmdCopy", 4590, 555, 975, 375, 10);
    cmdCopy->setEnabled(false);
    cmdGenerate = place(new QPushButton(QStringLiteral("&Generate"), this), "cmdGenerate", 4590, 120, 975, 375, 9);

    Frame2 = place(frame(this, QStringLiteral("Password")), "Frame2", 480, 1920, 3735, 975, 6);
    barGenProgress = place(new ui::ProgressBar(Frame2), "barGenProgress", 120, 360, 3495, 375, 12);
    barGenProgress->setFocusPolicy(Qt::NoFocus);
    barGenProgress->hide();
    lblPassword = place(label(Frame2, QString::fromLatin1(kPasswordDesignText)), "lblPassword", 240, 360, 3375, 375, 7);
    lblPassword->setWordWrap(true);
    lblPassword->setTextInteractionFlags(Qt::NoTextInteraction);

    fraSeed = place(frame(this, QStringLiteral("Seed")), "fraSeed", 480, 3000, 3735, 1095, 3);
    optSeed[0] = place(new QRadioButton(QStringLiteral("&Use current system time (recommended)"), fraSeed),
                       "optSeed(0)", 240, 360, 3372, 255, 8);
    optSeed[0]->setChecked(true);
    txtSeed = place(new QLineEdit(QStringLiteral("0"), fraSeed), "txtSeed", 1680, 600, 855, 315, 5);
    txtSeed->setEnabled(false);
    optSeed[1] = place(new QRadioButton(QStringLiteral("Let &me specify"), fraSeed), "optSeed(1)", 240, 615, 1455,
                       255, 4);
    ui::makeOptionGroup({optSeed[0], optSeed[1]});

    txtPassLen = place(new QLineEdit(QStringLiteral("10"), this), "txtPassLen", 2280, 1530, 735, 285, 1);
    lblStep1Labels[1] = place(label(this, QStringLiteral("characters")), "lblStep1Labels(1)", 3120, 1560, 975, 255, 2);
    lblStep1Labels[0] = place(label(this, QStringLiteral("Password &length:")), "lblStep1Labels(0)", 600, 1560, 1575,
                              255, 0);
    // The label's access key passes the focus on to the next control in the tab order.
    lblStep1Labels[0]->setBuddy(txtPassLen);

    // Every control has the window's font, set on it so that a container's
    // bold caption never passes to what it contains.
    const QFont windowFont = font();
    for (QWidget* control : findChildren<QWidget*>()) {
        if (control != lblStepCount && control->property("TabIndex").isValid())
            control->setFont(windowFont);
    }
}

QList<QWidget*> frmMainWindow::tabOrder() const
{
    QList<QWidget*> controls;
    for (QWidget* control : findChildren<QWidget*>()) {
        if (control->property("TabIndex").isValid() && (control->focusPolicy() & Qt::TabFocus))
            controls << control;
    }
    std::sort(controls.begin(), controls.end(), [](QWidget* a, QWidget* b) {
        return a->property("TabIndex").toInt() < b->property("TabIndex").toInt();
    });
    return controls;
}

void frmMainWindow::applyTabOrder()
{
    const QList<QWidget*> order = tabOrder();
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order.at(i - 1), order.at(i));
}

void frmMainWindow::setStoredSettingsSource(StoredSettingsSource source)
{
    storedSettingsSource() = std::move(source);
}

void frmMainWindow::centreOnScreen()
{
    const QScreen* target = screen();
    if (!target)
        return;
    QRect area = frameGeometry();
    area.moveCenter(target->availableGeometry().center());
    move(area.topLeft());
}

void frmMainWindow::closeEvent(QCloseEvent* event) { emit closeRequested(event); }

void frmMainWindow::reject() { emit cancelKeyPressed(); }
