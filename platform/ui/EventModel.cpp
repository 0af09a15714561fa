#include "ui/EventModel.h"

#include <QDialog>
#include <QPointer>
#include <QThread>
#include <QTimer>

#include <exception>
#include <utility>
#include <vector>

namespace ui {
namespace {

struct DeferredAction {
    QPointer<QObject> context;
    std::function<void()> action;
};

// An untracked nested loop reports no end; actions waiting for it look again
// after this long.
constexpr int kUntrackedLoopRetryMs = 10;

int g_waitDepth = 0;
bool g_waitsEnded = false;
std::vector<DeferredAction> g_deferred;
std::vector<QPointer<QDialog>> g_modalDialogs;

void attempt(DeferredAction deferred);

void post(DeferredAction deferred)
{
    QObject* context = deferred.context.data();
    if (!context)
        return;
    QMetaObject::invokeMethod(
        context, [deferred = std::move(deferred)]() mutable { attempt(std::move(deferred)); }, Qt::QueuedConnection);
}

void postDeferred()
{
    std::vector<DeferredAction> ready = std::exchange(g_deferred, {});
    for (DeferredAction& deferred : ready)
        post(std::move(deferred));
}

void attempt(DeferredAction deferred)
{
    if (!deferred.context)
        return;
    if (atTopLevel()) {
        // Nothing an action lets through may reach Qt's event loop.
        try {
            deferred.action();
        } catch (const std::exception& error) {
            qWarning("An action of the top level failed: %s", error.what());
        } catch (...) {
            qWarning("An action of the top level failed");
        }
        return;
    }
    const bool untracked = g_waitDepth == 0;
    g_deferred.push_back(std::move(deferred));
    if (untracked && g_deferred.size() == 1)
        QTimer::singleShot(kUntrackedLoopRetryMs, Qt::PreciseTimer, [] {
            if (g_waitDepth == 0)
                postDeferred();
        });
}

} // namespace

WaitScope::WaitScope() { ++g_waitDepth; }

WaitScope::~WaitScope()
{
    if (--g_waitDepth == 0 && !g_deferred.empty())
        postDeferred();
}

bool atTopLevel() { return g_waitDepth == 0 && QThread::currentThread()->loopLevel() <= 1; }

void runAtTopLevel(QObject* context, std::function<void()> action)
{
    post(DeferredAction{context, std::move(action)});
}

int runModal(QDialog& dialog)
{
    if (g_waitsEnded)
        return QDialog::Rejected;
    WaitScope wait;
    g_modalDialogs.emplace_back(&dialog);
    const int result = dialog.exec();
    std::erase_if(g_modalDialogs, [&dialog](const QPointer<QDialog>& open) { return !open || open == &dialog; });
    return result;
}

void endWaits()
{
    g_waitsEnded = true;
    for (const QPointer<QDialog>& dialog : g_modalDialogs) {
        if (dialog)
            dialog->reject();
    }
}

bool waitsEnded() { return g_waitsEnded; }

} // namespace ui
