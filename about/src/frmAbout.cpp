#include "frmAbout.h"

#include "QuorrelStrings.h"
#include "SystemInformation.h"
#include "frmAboutWindow.h"

#include "services/Shell.h"
#include "ui/EventModel.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QWindow>

#include <exception>
#include <functional>
#include <memory>

namespace quorrel {
namespace {

const QColor kHumorousColour(168, 0, 0); // &H000000A8&

// One statement of the timer tick: a failure is ignored and the tick goes on.
void ignoringErrors(const std::function<void()>& statement)
{
    try {
        statement();
    } catch (const std::exception&) {
    }
}

void setTextColour(QLabel* label, const QColor& colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

} // namespace

frmAbout& frmAbout::instance()
{
    // Apartment-threaded: every thread has a dialog of its own.
    thread_local std::unique_ptr<frmAbout> form(new frmAbout);
    return *form;
}

frmAboutWindow& frmAbout::window()
{
    if (!m_window) {
        m_window = new frmAboutWindow;
        Form_Load();
    }
    return *m_window;
}

void frmAbout::Form_Load()
{
    frmAboutWindow& w = *m_window;
    frmAboutWindow::setCaption(w.lblDisclaimer, loadString(StringId::LegalWarning));
    connect(w.timTimer, &QTimer::timeout, this, [this] { timTimer_Timer(); });
    connect(w.cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(w.cmdSysInfo, &QPushButton::clicked, this, [this] { cmdSysInfo_Click(); });
    w.lblCopyrightMsg->installEventFilter(this);
    w.lblHyperlink->installEventFilter(this);
    w.timTimer->start();
}

void frmAbout::showModal(QWidget* owner)
{
    frmAboutWindow& w = window();
    QPointer<frmAboutWindow> guard(&w);
    // The owner is the dialog's transient parent, not its parent widget: the
    // dialog's life stays the thread's, whatever becomes of the owner.
    w.setWindowModality(Qt::ApplicationModal);
    w.winId();
    if (QWindow* dialogWindow = w.windowHandle()) {
        QWidget* ownerWindow = owner ? owner->window() : nullptr;
        dialogWindow->setTransientParent(ownerWindow ? ownerWindow->windowHandle() : nullptr);
    }
    ui::runModal(w);
    // The OK button unloads the window itself; the close box leaves that to here.
    if (guard && guard == m_window)
        Unload();
}

void frmAbout::Unload()
{
    if (!m_window)
        return;
    frmAboutWindow* window = m_window.data();
    m_window = nullptr;
    window->timTimer->stop();
    window->disconnect(this);
    window->hide();
    // A handler of the window may still be on the stack.
    window->deleteLater();
}

void frmAbout::timTimer_Timer()
{
    frmAboutWindow* w = m_window.data();
    if (!w)
        return;
    ignoringErrors([this] { m_TickCount = static_cast<std::int16_t>(m_TickCount + 1); });
    switch (m_TickCount) {
    case 17: ignoringErrors([w] { w->lblDisclaimer->hide(); }); break;
    case 18:
        ignoringErrors([w] { frmAboutWindow::setCaption(w->lblDisclaimer, loadString(StringId::HumorousWarning)); });
        ignoringErrors([w] { setTextColour(w->lblDisclaimer, kHumorousColour); });
        ignoringErrors([w] { w->lblDisclaimer->show(); });
        break;
    case 37: ignoringErrors([w] { w->lblDisclaimer->hide(); }); break;
    case 38:
        ignoringErrors([w] { frmAboutWindow::setCaption(w->lblDisclaimer, loadString(StringId::LegalWarning)); });
        ignoringErrors([w] { setTextColour(w->lblDisclaimer, Qt::black); });
        ignoringErrors([w] { w->lblDisclaimer->show(); });
        break;
    case 40: m_TickCount = 0; break;
    default: break;
    }
}

void frmAbout::cmdOK_Click()
{
    m_TickCount = 0;
    if (m_window)
        m_window->accept();
    Unload();
}

void frmAbout::cmdSysInfo_Click() { StartSysInfo(m_window.data()); }

void frmAbout::lblCopyrightMsg_DblClick()
{
    QLabel* picture = m_window->picAuthor;
    picture->setVisible(picture->isHidden());
}

void frmAbout::lblHyperlink_Click()
{
    const QString target = frmAboutWindow::caption(m_window->lblHyperlink);
    const std::int32_t showNormal = 1;
    const std::int32_t noWindow = 0;
    const std::int32_t result =
        services::ShellOpen(target, QString(), showNormal, QString(), QStringLiteral("open"), noWindow);
    static_cast<void>(result);
}

bool frmAbout::eventFilter(QObject* watched, QEvent* event)
{
    if (!m_window)
        return false;
    const auto* mouse = event->type() == QEvent::MouseButtonDblClick || event->type() == QEvent::MouseButtonRelease
                            ? static_cast<QMouseEvent*>(event)
                            : nullptr;
    if (!mouse || mouse->button() != Qt::LeftButton)
        return false;
    if (watched == m_window->lblCopyrightMsg && event->type() == QEvent::MouseButtonDblClick) {
        lblCopyrightMsg_DblClick();
        return true;
    }
    if (watched == m_window->lblHyperlink && event->type() == QEvent::MouseButtonRelease &&
        m_window->lblHyperlink->rect().contains(mouse->position().toPoint())) {
        lblHyperlink_Click();
        return true;
    }
    return false;
}

} // namespace quorrel
