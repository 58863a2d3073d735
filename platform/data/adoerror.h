// What a failure of the data layer carries, and the numbers it is known by.
#pragma once

#include <QString>

namespace ado {

// What a failure means for the work at hand, whatever engine raised it.
// Changed: the row was changed or removed on another connection since it was
// read. Damaged: a store of the program that cannot be read whole; the
// description names the file and what to do. Unreachable: no connection to
// the server could be made. NoAnswer: the server let a statement's whole
// time limit pass, and nothing of the work was stored. Unconfirmed: the
// same at the commit, so that the unit may or may not have been stored.
enum class Fault {
    None,
    ConnectionLost,
    Busy,
    DiskFull,
    ReadOnly,
    MissingRelated,
    TooLong,
    Changed,
    Damaged,
    Unreachable,
    NoAnswer,
    Unconfirmed
};

// The numbers the layer and the program give their failures, as the error
// check knows them; any other number is the engine's own.
namespace err {
enum Number : long {
    OpenFailed = -2147467259,
    Overflow = 6,
    NoMemory = 7,
    ReadOnlyFile = 8,
    PathFileAccess = 75,
    PathNotFound = 76,
    InvalidNull = 94,
    NoControl = 340,
    NoDriver = 429,
    ServerGone = 2006,  // the server's own number for a dropped connection
    Deadlock = 1213,    // the server's own: a deadlock, or a cluster's certification conflict
    NoCurrentRow = 3021,
    Duplicate = 3022,
    MissingFile = 3024,
    UnitAborted = 3034,
    NoTable = 3078,
    TooLong = 3163,
    AutoNumbered = 3164,
    Conflict = 3197,
    Related = 3200,
    NotUpdatable = 3251,
    NoItem = 3265,
    TypeMismatch = 3421,
    Closed = 3704,
    AlreadyOpen = 3705,
};
}  // namespace err

// Every failure of the layer reaches callers as this, with a number of
// err::Number or the engine's own.
struct Error {
    long number = 0;
    QString description;
    Fault fault = Fault::None;
};

}  // namespace ado
