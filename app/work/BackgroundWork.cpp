#include "app/work/BackgroundWork.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QPointer>
#include <QProgressDialog>
#include <QTimer>
#include <exception>
#include <thread>
#include <utility>
#include <vector>

namespace {
// Swallows what a user does to any window, closing one included.
class InputHold : public QObject {
  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
            case QEvent::MouseMove:
            case QEvent::Wheel:
            case QEvent::KeyPress:
            case QEvent::KeyRelease:
            case QEvent::ShortcutOverride:
            case QEvent::Shortcut:
            case QEvent::ContextMenu:
            case QEvent::DragEnter:
            case QEvent::DragMove:
            case QEvent::Drop:
            case QEvent::TouchBegin:
            case QEvent::TouchUpdate:
            case QEvent::TouchEnd:
                event->ignore();
                return true;
            case QEvent::Close:
                if (watched->isWidgetType() && static_cast<QWidget*>(watched)->isWindow()) {
                    event->ignore();
                    return true;
                }
                return false;
            default:
                return false;
        }
    }
};
}  // namespace

QString FailureText(const QString& what, const std::exception_ptr& failure) {
    QString task = what;
    if (task.endsWith(QLatin1String("..."))) task.chop(3);
    try {
        std::rethrow_exception(failure);
    } catch (const std::bad_alloc&) {
        return QStringLiteral("%1 failed: not enough memory.").arg(task);
    } catch (const std::exception& e) {
        return QStringLiteral("%1 failed: %2").arg(task, QString::fromLocal8Bit(e.what()));
    } catch (...) {
    }
    return QStringLiteral("%1 failed.").arg(task);
}

QString BackgroundWork::Run(QWidget* parent, const QString& what,
                            const std::function<void()>& work) {
    InputHold hold;
    qApp->installEventFilter(&hold);
    ++m_running;
    QApplication::setOverrideCursor(Qt::WaitCursor);

    QProgressDialog progress(what, QString(), 0, 0, parent);
    progress.setWindowTitle(QStringLiteral("Korvane"));
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setMinimumDuration(0);
    progress.reset();  // stays hidden until the timer below
    QTimer::singleShot(500, &progress, &QProgressDialog::show);

    QEventLoop loop;
    std::exception_ptr failure;
    try {
        std::thread worker([&] {
            try {
                work();
            } catch (...) {
                failure = std::current_exception();
            }
            QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
        });
        loop.exec();
        worker.join();
    } catch (...) {
        failure = std::current_exception();  // no thread could be started for the work
    }

    progress.hide();
    QApplication::restoreOverrideCursor();
    qApp->removeEventFilter(&hold);
    if (--m_running == 0) {
        for (auto& [context, action] : std::exchange(m_waiting, {})) {
            if (context) QTimer::singleShot(0, context, std::move(action));
        }
    }
    return failure ? FailureText(what, failure) : QString();
}

void BackgroundWork::WhenIdle(QObject* context, std::function<void()> action) {
    if (m_running == 0) {
        action();
    } else {
        m_waiting.emplace_back(context, std::move(action));
    }
}
