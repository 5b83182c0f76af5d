// COM on a thread this library does not own: the caller's thread may have no
// apartment yet, or one of either kind.
#pragma once

#include <windows.h>

class ComApartment
{
public:
    // Joins or enters a single-threaded apartment. When the thread is already
    // in the multithreaded one, CoInitializeEx answers RPC_E_CHANGED_MODE and
    // the work goes on there: the imaging component runs in either.
    ComApartment();
    // Balances the initialisation when it succeeded (S_OK or S_FALSE), and
    // only then.
    ~ComApartment();
    ComApartment(const ComApartment &) = delete;
    ComApartment &operator=(const ComApartment &) = delete;

    // False when the thread has no apartment COM objects can be made in.
    bool Usable() const { return initialized || joinedCallers; }

private:
    bool initialized;
    bool joinedCallers;
};
