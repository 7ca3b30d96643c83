#pragma once
#include "app/error_statistics.h"

namespace harmik {

// What the tutor adds to the task cycle while it is switched on: it introduces each task and
// gives its number of exercises, and it takes over the end of the task (results with its
// recommendation, the move to the next task or level, the top-ten check and the next start).
class TaskTutor {
public:
    virtual ~TaskTutor() = default;
    virtual bool tutorActive() const = 0;
    // The task is about to start: shows the task's message; returns the exercises of the task.
    virtual int tutorTaskStarting() = 0;
    // The task has ended and stopped: `sorted` is its sorted error statistics.
    virtual void tutorTaskEnded(const ErrorStatistics& sorted, int module, int score) = 0;
};

} // namespace harmik
