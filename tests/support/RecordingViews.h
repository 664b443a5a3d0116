#pragma once
// Status labels and progress bars that keep every report a worker made, from
// any thread.
#include "toolkit/StatusView.h"

#include <QList>
#include <QStringList>

#include <atomic>
#include <mutex>

struct Shown {
    QString text;
    TColor colour;
};

class RecordingStatus : public IStatusLabel {
public:
    void ShowStatus(const QString &text, TColor colour) override
    {
        std::lock_guard lock(m_);
        shown_.append({text, colour});
    }
    QList<Shown> shown() const
    {
        std::lock_guard lock(m_);
        return shown_;
    }
    QStringList texts() const
    {
        QStringList t;
        for (const Shown &s : shown())
            t << s.text;
        return t;
    }
    Shown last() const { return shown().value(shown().size() - 1); }

private:
    mutable std::mutex m_;
    QList<Shown> shown_;
};

class RecordingProgress : public IProgressBar {
public:
    void SetMax(int max) override { max_ = max; }
    void SetPosition(int position) override
    {
        std::lock_guard lock(m_);
        positions_ << position;
    }
    int max() const { return max_; }
    QList<int> positions() const
    {
        std::lock_guard lock(m_);
        return positions_;
    }

private:
    std::atomic<int> max_{-1};
    mutable std::mutex m_;
    QList<int> positions_;
};
