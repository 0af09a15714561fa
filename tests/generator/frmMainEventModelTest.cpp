// The window inside its own waits: what arrives while Generate pauses (the
// close box, a glow tick) waits for the generation, which keeps its length.
#include "MainWindowFixture.h"

#include "tarvo/TypeLibrary.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

#include <set>
#include <vector>

namespace {

class WaitsTest : public ShownMainWindow {
protected:
    // Generation's pauses are real in these tests.
    void SetUp() override
    {
        ShownMainWindow::SetUp();
        services::setPauseHandler({});
    }
};

TEST_F(WaitsTest, ACloseDuringGenerationsPauseIsTakenUpAfterTheGeneration)
{
    w().txtPassLen->setText(QStringLiteral("20"));
    bool closedDuringGeneration = false;
    QTimer::singleShot(30, &w(), [&] {
        w().close();
        closedDuringGeneration = !form.isLoaded();
    });
    dialogs.answerMessageBox(ui::MessageResult::No); // the unsaved password

    QElapsedTimer clock;
    clock.start();
    const QString password = form.Generate();
    EXPECT_GE(clock.elapsed(), 5 * 20 + 200);
    EXPECT_EQ(password.size(), 20);
    EXPECT_FALSE(closedDuringGeneration);
    EXPECT_TRUE(form.isLoaded());
    EXPECT_TRUE(dialogs.messageBoxes().empty()) << "the close asked its question inside the generation";

    EXPECT_TRUE(waitFor([&] { return !form.isLoaded(); }));
    ASSERT_EQ(dialogs.messageBoxes().size(), 1u);
    EXPECT_TRUE(dialogs.messageBoxes().front().text.startsWith(QStringLiteral("You have not save")));
}

// The glow goes on while the window generates.
TEST_F(WaitsTest, TheGlowTicksDuringAGeneration)
{
    w().txtPassLen->setText(QStringLiteral("60"));
    const auto colour = [&] {
        std::vector<automation::Variant> none;
        return w().XGlowLabel1->invoke(tarvo::XGlowLabelDispId::ForeColor, automation::MemberKind::PropertyGet, none).toLong();
    };
    std::set<std::int32_t> colours;
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, &w(), [&] { colours.insert(colour()); });
    sampler.start(20);
    form.Generate();
    EXPECT_GE(colours.size(), 3u);
}

} // namespace
