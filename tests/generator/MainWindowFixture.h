#pragma once

#include "frmMain.h"
#include "frmMainWindow.h"

#include "ScriptedDialogs.h"
#include "services/Pause.h"
#include "support/QtPrinters.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

// Pauses of the code under test return at once while one of these lives.
class InstantPauses {
public:
    InstantPauses() : m_previous(services::setPauseHandler([](std::int32_t) {})) {}
    ~InstantPauses() { services::setPauseHandler(m_previous); }
    InstantPauses(const InstantPauses&) = delete;
    InstantPauses& operator=(const InstantPauses&) = delete;

private:
    services::PauseHandler m_previous;
};

// A main window loaded and shown as the program shows it, with the focus on
// its first control; dialogs are answered by script and pauses are instant.
class ShownMainWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        form.Show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form.window()));
    }

    frmMainWindow& w() { return form.window(); }
    QString focusName() const
    {
        return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
    }
    // A key pressed where the keyboard focus is.
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &w();
        QTest::keyClick(target, key, modifiers);
    }

    // Lets queued work run (a button's animated click, deferred events)
    // until `done` holds or a second has passed.
    template <typename Predicate>
    bool waitFor(Predicate done)
    {
        for (int i = 0; i < 100 && !done(); ++i)
            QTest::qWait(10);
        return done();
    }

    InstantPauses instantPauses;
    ScriptedDialogs dialogs;
    frmMain form;
};
