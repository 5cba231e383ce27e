#include "RunAside.h"

#include <QEventLoop>
#include <QProgressDialog>
#include <QThread>

#include <memory>

void RunAside(QWidget* parent, const QString& label, const std::function<void()>& work,
              std::atomic<bool>& cancelled) {
    const std::unique_ptr<QThread> thread(QThread::create(work));
    QEventLoop loop;
    QObject::connect(thread.get(), &QThread::finished, &loop, &QEventLoop::quit);
    QProgressDialog progress(label, "Cancel", 0, 0, parent);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(kProgressDelayMs);
    // The dialog's own timer runs from its creation with its default delay of four seconds;
    // a first value restarts it with the delay set above.
    progress.setValue(0);
    QObject::connect(&progress, &QProgressDialog::canceled, [&cancelled] { cancelled = true; });
    thread->start();
    loop.exec();
    thread->wait();
}
