#pragma once

#include <QObject>
#include <QPointer>

#include <cstdint>

class QWidget;

namespace quorrel {

class frmAboutWindow;

// The about dialog of a thread. The instance lives as long as the thread;
// its window and controls are loaded when first touched and unloaded when
// the dialog is closed. The one field, the tick count of the warning cycle,
// survives a close by the close box; OK resets it.
class frmAbout : public QObject {
    Q_OBJECT

public:
    // The instance of the calling thread, created on first use.
    static frmAbout& instance();

    // The loaded window, loading it (hidden) when needed: the load handling runs.
    frmAboutWindow& window();
    bool isLoaded() const { return !m_window.isNull(); }
    // Shows the loaded dialog modally over `owner` (nullptr: no owner) and
    // unloads it once it has been closed.
    void showModal(QWidget* owner);
    void Unload();

    std::int16_t tickCount() const { return m_TickCount; }

private:
    frmAbout() = default;

    void Form_Load();
    void timTimer_Timer();
    void cmdOK_Click();
    void cmdSysInfo_Click();
    void lblCopyrightMsg_DblClick();
    void lblHyperlink_Click();

    bool eventFilter(QObject* watched, QEvent* event) override;

    std::int16_t m_TickCount = 0;
    QPointer<frmAboutWindow> m_window;
};

} // namespace quorrel
