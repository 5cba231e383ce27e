#pragma once
// Runs a piece of work on a thread of its own while the window goes on painting. When the
// work takes longer than a moment, a progress window appears over parent and offers to
// cancel, which sets cancelled; the work is expected to look at it now and then.

#include <QString>

#include <atomic>
#include <functional>

class QWidget;

// How long the work may run before the progress window shows.
constexpr int kProgressDelayMs = 600;

void RunAside(QWidget* parent, const QString& label, const std::function<void()>& work,
              std::atomic<bool>& cancelled);
