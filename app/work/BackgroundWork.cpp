#include "app/work/BackgroundWork.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QPointer>
#include <QProgressDialog>
#include <QTimer>
#include <exception>
#include <utility>
#include <vector>

namespace {
// Swallows what a user does to any window but open (if any), closing one included.
class InputHold : public QObject {
  public:
    void Allow(QWidget* open) { m_open = open; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (m_open && watched->isWidgetType()) {
            auto* widget = static_cast<QWidget*>(watched);
            if (widget == m_open || m_open->isAncestorOf(widget)) return false;
        }
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

  private:
    QWidget* m_open = nullptr;
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

BackgroundWork::BackgroundWork()
    : m_runner(std::make_unique<JobRunner>([](std::function<void()> handBack) {
          QMetaObject::invokeMethod(qApp, std::move(handBack), Qt::QueuedConnection);
      })) {}

BackgroundWork::~BackgroundWork() = default;

QString BackgroundWork::Run(QWidget* parent, const QString& what, const std::function<void()>& work,
                            const void* document) {
    return Run(parent, what, document ? document : this, false, [&work](JobControl&) { work(); });
}

namespace {
// The progress dialog: hidden for the first half second, then the job's progress as it goes.
void ShowProgress(QProgressDialog& progress, const JobControl& control, const QString& what) {
    if (!progress.isVisible()) return;  // a value set earlier would show it at once
    const JobControl::Progress now = control.Read();
    if (now.fraction >= 0) {
        progress.setRange(0, 1000);
        progress.setValue(static_cast<int>(now.fraction * 1000));
    }
    progress.setLabelText(now.text.empty() ? what : QString::fromStdString(now.text));
}

std::unique_ptr<QProgressDialog> MakeProgress(QWidget* parent, const QString& what,
                                              bool cancellable) {
    auto progress = std::make_unique<QProgressDialog>(
        what, cancellable ? QStringLiteral("Cancel") : QString(), 0, 0, parent);
    progress->setWindowTitle(QStringLiteral("Korvane"));
    progress->setWindowModality(Qt::ApplicationModal);
    progress->setMinimumDuration(0);
    progress->setAutoReset(false);
    return progress;
}
}  // namespace

QString BackgroundWork::Run(QWidget* parent, const QString& what, const void* document,
                            bool cancellable, const std::function<void(JobControl&)>& work) {
    InputHold hold;
    qApp->installEventFilter(&hold);
    ++m_running;
    QApplication::setOverrideCursor(Qt::WaitCursor);

    QEventLoop loop;
    std::unique_ptr<QProgressDialog> progress;
    std::exception_ptr failure;
    bool done = false;
    try {
        auto control = m_runner->Submit<bool>(
            document, [&work](JobControl& c) { return work(c), true; },
            [&](JobOutcome<bool> outcome) {
                failure = outcome.failure;
                done = true;
                loop.quit();
            });
        // Made only for work that lasts: most ends before anyone could read it.
        QTimer later;
        later.setSingleShot(true);
        QObject::connect(&later, &QTimer::timeout, [&, control] {
            progress = MakeProgress(parent, what, cancellable);
            if (cancellable) hold.Allow(progress.get());
            QObject::connect(progress.get(), &QProgressDialog::canceled,
                             [control] { control->Cancel(); });
            progress->show();
        });
        later.start(500);
        QTimer ticks;
        QObject::connect(&ticks, &QTimer::timeout, [&] {
            if (progress) ShowProgress(*progress, *control, what);
        });
        ticks.start(100);
        if (!done) loop.exec();
    } catch (...) {
        failure = std::current_exception();  // no thread could be started for the work
    }

    QApplication::restoreOverrideCursor();
    qApp->removeEventFilter(&hold);
    progress.reset();
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
