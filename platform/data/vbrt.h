// The current run-time error and the one exit point of the program.
#pragma once

#include "adodb.h"

#include <QString>
#include <functional>

struct ErrObject {
    long Number = 0;
    QString Description;
    ado::Fault Fault = ado::Fault::None;  // what the failure means, for the message
    void Clear() { Number = 0; Description.clear(); Fault = ado::Fault::None; }
    void Set(long number, const QString& description, ado::Fault fault = ado::Fault::None)
    {
        Number = number;
        Description = description;
        Fault = fault;
    }
};

// The error last raised; handlers set it from what they caught and the
// error check reads and clears it.
extern ErrObject Err;

// Ends the program at once: no close handler runs, no question is asked.
// Tests replace the ending with a hook that records it and returns.
void EndProgram(int code = 1);
void SetEndProgramHook(std::function<void(int)> hook);

// Runs f and turns any layer failure into Err; returns true when none.
template <class F>
bool Trap(F&& f);

#include "vbrt_impl.h"
