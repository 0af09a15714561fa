// The loaded main window against its design: every standard control with its
// kind, container, caption, place in twips, TabIndex and initial state.
#include "frmMain.h"
#include "frmMainWindow.h"

#include "ui/ProgressBar.h"
#include "ui/Twips.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <ostream>

namespace {

struct ControlRow {
    const char* name;
    const char* container;
    const char* kind; // Qt class
    const char* caption;
    int left, top, width, height;
    int tabIndex;
    bool enabled;
    bool visible;
};

void PrintTo(const ControlRow& row, std::ostream* out) { *out << row.name; }

// Left, top, width, height in twips, relative to the container.
const ControlRow kControls[] = {
    {"cmdHelp", "frmMain", "QPushButton", "&Help", 4596, 2160, 975, 375, 22, true, true},
    {"cmdSave", "frmMain", "QPushButton", "Save", 4596, 1515, 975, 375, 24, true, true},
    {"cmdAbout", "frmMain", "QPushButton", "&About", 4596, 2616, 975, 375, 23, true, true},
    {"fraMiscellaneous", "frmMain", "QGroupBox", "Miscellaneous", 480, 4200, 3735, 855, 19, true, true},
    {"chkNonPrintChars", "fraMiscellaneous", "QCheckBox", "Allow &non-printable characters", 240, 240, 3135, 255, 21,
     true, true},
    {"chkSymbolChars", "fraMiscellaneous", "QCheckBox", "Allow &symbol characters", 240, 495, 3135, 255, 20, true, true},
    {"Picture1", "frmMain", "QFrame", "", 120, 120, 4095, 1095, 13, true, true},
    {"cmdPrevStep", "Picture1", "QPushButton", "", 3450, 720, 255, 255, 15, false, true},
    {"cmdNextStep", "Picture1", "QPushButton", "", 3690, 720, 255, 255, 14, true, true},
    {"lblNumSteps", "Picture1", "QLabel", "of 5", 120, 660, 540, 225, 25, true, true},
    {"lblStepCount", "Picture1", "QLabel", "1", 120, 300, 540, 360, 18, true, true},
    {"Label3", "Picture1", "QLabel", "STEP", 120, 120, 540, 195, 17, true, true},
    {"lblTips", "Picture1", "QLabel",
     "Type the length of the password you want to generate in the number of characters.", 810, 120, 3015, 615, 16,
     true, true},
    {"cmdClose", "frmMain", "QPushButton", "Close", 4590, 990, 975, 375, 11, true, true},
    {"cmdCopy", "frmMain", "QPushButton", "&Copy", 4590, 555, 975, 375, 10, false, true},
    {"cmdGenerate", "frmMain", "QPushButton", "&Generate", 4590, 120, 975, 375, 9, true, true},
    {"Frame2", "frmMain", "QGroupBox", "Password", 480, 1920, 3735, 975, 6, true, true},
    {"barGenProgress", "Frame2", "QProgressBar", "", 120, 360, 3495, 375, 12, true, false},
    {"lblPassword", "Frame2", "QLabel", "Click the Generate button to generate a new password.", 240, 360, 3375, 375,
     7, true, true},
    {"fraSeed", "frmMain", "QGroupBox", "Seed", 480, 3000, 3735, 1095, 3, true, true},
    {"optSeed(0)", "fraSeed", "QRadioButton", "&Use current system time (recommended)", 240, 360, 3372, 255, 8, true,
     true},
    {"txtSeed", "fraSeed", "QLineEdit", "0", 1680, 600, 855, 315, 5, false, true},
    {"optSeed(1)", "fraSeed", "QRadioButton", "Let &me specify", 240, 615, 1455, 255, 4, true, true},
    {"txtPassLen", "frmMain", "QLineEdit", "10", 2280, 1530, 735, 285, 1, true, true},
    {"lblStep1Labels(1)", "frmMain", "QLabel", "characters", 3120, 1560, 975, 255, 2, true, true},
    {"lblStep1Labels(0)", "frmMain", "QLabel", "Password &length:", 600, 1560, 1575, 255, 0, true, true},
};

QString captionOf(const QWidget* control)
{
    if (auto* button = qobject_cast<const QAbstractButton*>(control))
        return button->text();
    if (auto* label = qobject_cast<const QLabel*>(control))
        return label->text();
    if (auto* box = qobject_cast<const QGroupBox*>(control))
        return box->title();
    if (auto* edit = qobject_cast<const QLineEdit*>(control))
        return edit->text();
    return {};
}

class ControlTable : public ::testing::TestWithParam<ControlRow> {
protected:
    static void SetUpTestSuite() { form = new frmMain; form->Load(); }
    static void TearDownTestSuite() { delete form; }
    static frmMain* form;
};
frmMain* ControlTable::form = nullptr;

TEST_P(ControlTable, MatchesTheDesign)
{
    const ControlRow& row = GetParam();
    QWidget* control = form->window().findChild<QWidget*>(QString::fromLatin1(row.name));
    ASSERT_NE(control, nullptr);
    EXPECT_TRUE(control->inherits(row.kind)) << control->metaObject()->className();
    EXPECT_EQ(control->parentWidget()->objectName(), QString::fromLatin1(row.container));
    EXPECT_EQ(captionOf(control), QString::fromUtf8(row.caption));
    EXPECT_EQ(control->geometry(), ui::twipsRect(row.left, row.top, row.width, row.height));
    EXPECT_EQ(control->property("TabIndex").toInt(), row.tabIndex);
    EXPECT_EQ(control->isEnabled(), row.enabled);
    EXPECT_EQ(!control->isHidden(), row.visible);
}

INSTANTIATE_TEST_SUITE_P(Design, ControlTable, ::testing::ValuesIn(kControls));

TEST(MainWindowDesign, WindowSettings)
{
    frmMain form;
    frmMainWindow& w = form.window();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Vexlo 1.1"));
    // 15 twips a pixel at 96 DPI: 5664 x 5220 twips.
    EXPECT_EQ(w.size(), QSize(ui::twipsToPixelsX(5664), ui::twipsToPixelsY(5220)));
    EXPECT_EQ(w.minimumSize(), w.maximumSize());
    EXPECT_FALSE(w.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(w.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(w.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(w.windowIcon().availableSizes(), (QList<QSize>{QSize(32, 32), QSize(16, 16)}));
    EXPECT_EQ(w.font().family(), QStringLiteral("Tahoma"));
    EXPECT_DOUBLE_EQ(w.font().pointSizeF(), 8.4);
    EXPECT_DOUBLE_EQ(w.lblStepCount->font().pointSizeF(), 15.6);
    EXPECT_DOUBLE_EQ(w.lblTips->font().pointSizeF(), 8.4);
    EXPECT_EQ(w.cmdPrevStep->toolTip(), QStringLiteral("Display previous step"));
    EXPECT_EQ(w.cmdNextStep->toolTip(), QStringLiteral("Display next step"));
    EXPECT_TRUE(w.optSeed[0]->isChecked());
    EXPECT_FALSE(w.chkNonPrintChars->isChecked());
    EXPECT_EQ(w.barGenProgress->minimum(), 0);
    EXPECT_EQ(w.barGenProgress->maximum(), 100);
}

} // namespace
